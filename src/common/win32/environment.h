#pragma once
// The process environment as the launcher reads it.
#include <optional>

#include "common/text.h"

// The platform's %NAME% expansion of a whole value; references to undefined
// variables stay as written, and a failed expansion leaves the value as it was.
String expandEnvironment(const String& value);

// An environment variable's value; nothing when it is not defined.
std::optional<String> environmentVariable(const String& name);
