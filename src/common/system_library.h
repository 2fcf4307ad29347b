#pragma once
#include <windows.h>

// Loads a Windows DLL from the system folder only, never from the
// application's folder or the current directory. Null on failure.
HMODULE loadSystemLibrary(const wchar_t* fileName);
