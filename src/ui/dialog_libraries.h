#pragma once
// The functions of comctl32, shell32 and ole32 the launcher calls, all of
// them for the "JRE Not Found" dialog. They are looked up on first use, so a
// launch that shows no such dialog never loads these libraries (together
// the larger part of a launch's own start-up cost). Each fails like its
// system function when its library or entry cannot be had.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

namespace dialog_libraries {

BOOL initCommonControls(DWORD classes);
BOOL setWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
BOOL removeWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
LRESULT defSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// ShellExecuteW with the verb "open" and no parameters or folder.
HINSTANCE openDocument(HWND owner, const wchar_t* target);
PIDLIST_ABSOLUTE browseForFolder(BROWSEINFOW* info);
BOOL pathFromIdList(PCIDLIST_ABSOLUTE list, wchar_t* path);
void freeTaskMemory(void* memory);

}  // namespace dialog_libraries
