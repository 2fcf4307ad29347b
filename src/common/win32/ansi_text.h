#pragma once
// The process's ANSI code page at the boundary to the VM, whose option
// strings are narrow: HotSpot decodes them with this page (GetACP), whatever
// the thread's locale.
#include <optional>
#include <string>

#include "common/text.h"

// Characters the page lacks become its default character.
std::string toAnsi(StringView text);
String fromAnsi(const std::string& text);
// Nothing when a character has no exact form in the page (no best fit).
std::optional<std::string> toAnsiExactly(StringView text);
