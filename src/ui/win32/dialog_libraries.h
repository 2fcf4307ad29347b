#pragma once
// The functions of comctl32, shell32 and ole32 the launcher calls, all of
// them for the "JRE Not Found" dialog. They are looked up on first use, so a
// launch that shows no such dialog never loads these libraries (together
// the larger part of a launch's own start-up cost). Each fails like its
// system function when its library or entry cannot be had.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include "common/text.h"

namespace dialog_libraries {

BOOL initCommonControls(DWORD classes);
BOOL setWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
BOOL removeWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
LRESULT defSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// ShellExecuteW with the verb "open" and no parameters or folder.
HINSTANCE openDocument(HWND owner, const wchar_t* target);
PIDLIST_ABSOLUTE browseForFolder(BROWSEINFOW* info);
// The folder's whole path, however long; empty when it has none.
String pathFromIdList(PCIDLIST_ABSOLUTE list);
void freeTaskMemory(void* memory);

// COM on the calling thread for as long as it lives (the folder picker
// needs it); a thread that has it already keeps it as it was.
class ComApartment {
 public:
  ComApartment();
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialised_ = false;
};

}  // namespace dialog_libraries
