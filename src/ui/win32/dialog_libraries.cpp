#include "ui/win32/dialog_libraries.h"

#include <shellapi.h>

#include "common/win32/system_library.h"
#include "common/win32/win_text.h"

namespace dialog_libraries {
namespace {

struct Entries {
  decltype(&InitCommonControlsEx) initCommonControls;
  decltype(&SetWindowSubclass) setWindowSubclass;
  decltype(&RemoveWindowSubclass) removeWindowSubclass;
  decltype(&DefSubclassProc) defSubclassProc;
  decltype(&ShellExecuteW) shellExecute;
  decltype(&SHBrowseForFolderW) browseForFolder;
  decltype(&SHGetPathFromIDListEx) pathFromIdList;
  decltype(&CoTaskMemFree) freeTaskMemory;
  decltype(&CoInitializeEx) comInitialize;
  decltype(&CoUninitialize) comUninitialize;
};
Entries table{};

template <typename Function>
void lookUp(Function& function, HMODULE module, const char* name) {
  function = procedureOf<Function>(module, name);
}

BOOL CALLBACK load(INIT_ONCE*, void*, void**) {
  // comctl32 is loaded by name so that the manifest's request for version 6
  // (the side-by-side copy) applies; otherwise only the system folder is
  // searched. Without that search flag (an old Windows 7) the system
  // folder's own copy is taken.
  HMODULE commonControls = LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!commonControls) commonControls = loadSystemLibrary(L"comctl32.dll");
  lookUp(table.initCommonControls, commonControls, "InitCommonControlsEx");
  lookUp(table.setWindowSubclass, commonControls, "SetWindowSubclass");
  lookUp(table.removeWindowSubclass, commonControls, "RemoveWindowSubclass");
  lookUp(table.defSubclassProc, commonControls, "DefSubclassProc");
  HMODULE shell = loadSystemLibrary(L"shell32.dll");
  lookUp(table.shellExecute, shell, "ShellExecuteW");
  lookUp(table.browseForFolder, shell, "SHBrowseForFolderW");
  lookUp(table.pathFromIdList, shell, "SHGetPathFromIDListEx");
  HMODULE ole = loadSystemLibrary(L"ole32.dll");
  lookUp(table.freeTaskMemory, ole, "CoTaskMemFree");
  lookUp(table.comInitialize, ole, "CoInitializeEx");
  lookUp(table.comUninitialize, ole, "CoUninitialize");
  return TRUE;
}

const Entries& entries() {
  static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
  InitOnceExecuteOnce(&once, load, nullptr, nullptr);
  return table;
}

}  // namespace

BOOL initCommonControls(DWORD classes) {
  INITCOMMONCONTROLSEX request{sizeof request, classes};
  return entries().initCommonControls && entries().initCommonControls(&request);
}

BOOL setWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
  return entries().setWindowSubclass && entries().setWindowSubclass(window, procedure, id, data);
}

BOOL removeWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
  return entries().removeWindowSubclass && entries().removeWindowSubclass(window, procedure, id);
}

LRESULT defSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return entries().defSubclassProc ? entries().defSubclassProc(window, message, wParam, lParam)
                                   : DefWindowProcW(window, message, wParam, lParam);
}

HINSTANCE openDocument(HWND owner, const wchar_t* target) {
  return entries().shellExecute ? entries().shellExecute(owner, L"open", target, nullptr, nullptr, SW_SHOWNORMAL)
                                : nullptr;
}

PIDLIST_ABSOLUTE browseForFolder(BROWSEINFOW* info) {
  return entries().browseForFolder ? entries().browseForFolder(info) : nullptr;
}

String pathFromIdList(PCIDLIST_ABSOLUTE list) {
  // The longest path the system has; the plain form stops at MAX_PATH.
  String path(32768, u'\0');
  if (!entries().pathFromIdList || !entries().pathFromIdList(list, wideBuffer(path), 32768, GPFIDL_DEFAULT)) {
    return String();
  }
  path.resize(path.find(u'\0'));
  return path;
}

void freeTaskMemory(void* memory) {
  if (entries().freeTaskMemory) entries().freeTaskMemory(memory);
}

ComApartment::ComApartment() {
  initialised_ = entries().comInitialize &&
                 SUCCEEDED(entries().comInitialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

ComApartment::~ComApartment() {
  if (initialised_) entries().comUninitialize();
}

}  // namespace dialog_libraries
