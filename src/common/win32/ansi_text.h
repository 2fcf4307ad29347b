#pragma once
// The thread's ANSI code page at the boundary to the VM, whose option
// strings and class names are narrow.
#include <string>

#include "common/text.h"

std::string toThreadAnsi(StringView text);
String fromThreadAnsi(const std::string& text);
