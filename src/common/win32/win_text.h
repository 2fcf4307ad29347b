#pragma once
// The boundary between the launcher's UTF-16 strings and the wide-character
// Windows API, where wchar_t is the same 16-bit code unit.
#include <windows.h>

#include "common/text.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 code units");

inline const wchar_t* wide(const String& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
inline wchar_t* wideBuffer(String& s) { return reinterpret_cast<wchar_t*>(s.data()); }
inline String fromWide(const wchar_t* s) { return s ? String(reinterpret_cast<const char16_t*>(s)) : String(); }
inline String fromWide(const wchar_t* s, size_t length) { return String(reinterpret_cast<const char16_t*>(s), length); }
