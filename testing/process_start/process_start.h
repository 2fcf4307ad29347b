#pragma once
// Starting the programs under test from the test tools.
#include <windows.h>

// CreateProcessW, tried again when the process dies before it is set up.
// Wine reports that as ERROR_INTERNAL_ERROR, about once in a thousand starts
// under load, before any of the program's code has run; Windows never does.
// Nothing of the program has happened yet, so starting it again changes no
// outcome a test looks at.
BOOL startProcess(const wchar_t* program, wchar_t* commandLine, BOOL inheritHandles, DWORD flags, void* environment,
                  const wchar_t* workingDirectory, STARTUPINFOW* startup, PROCESS_INFORMATION* process);
