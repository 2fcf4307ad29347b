#pragma once
// %NAME% references replaced by the values of environment variables.
#include <functional>
#include <optional>

#include "common/text.h"

// A variable's value, or nothing when it is not defined.
using VariableLookup = std::function<std::optional<String>(const String& name)>;

// Replaces every %NAME% that names a defined variable. A reference to an
// undefined name stays as written, both '%' included, and the scan goes on
// after it; a last '%' without a partner stays too. This is the system's
// expansion without its limit of 32767 characters.
String expandReferences(StringView text, const VariableLookup& lookup);
