#pragma once
#include <windows.h>

// Loads a Windows DLL from the system folder only, never from the
// application's folder or the current directory. Null on failure.
HMODULE loadSystemLibrary(const wchar_t* fileName);

// A function of a loaded module, as the type it is called through; null when
// the module or the function is missing.
template <typename Function>
Function procedureOf(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}
