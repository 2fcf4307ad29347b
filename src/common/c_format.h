// Formats a C format string, as the Java VM hands its messages over.
#pragma once

#include <cstdarg>
#include <string>

// Knows C99's conversions, flags and lengths (hh h l ll j z t L, and the
// I32/I64/I lengths of Windows' C runtimes). %n writes nothing. Floating
// point is left to the C runtime. On Windows a long double is read as the
// VM's compiler has it, as a double.
std::string vformatC(const char* format, va_list args);

// The same, for the launcher's own formats.
std::string formatC(const char* format, ...) __attribute__((format(printf, 1, 2)));
