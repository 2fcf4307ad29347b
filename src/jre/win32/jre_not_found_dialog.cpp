#include "jre/win32/jre_not_found_dialog.h"

#include "common/path_components.h"
#include "common/win32/string_table.h"
#include "common/win32/win_text.h"
#include "jre/win32/runtime_search.h"
#include "jre/version_number.h"
#include "resources/resource_ids.h"
#include "ui/win32/dialog_centring.h"
#include "ui/win32/dialog_libraries.h"

INT_PTR JreNotFoundDialog::run(HWND owner) {
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_JRE_NOT_FOUND), owner, dialogProc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK JreNotFoundDialog::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    reinterpret_cast<JreNotFoundDialog*>(lParam)->initialise(dialog);
    return TRUE;
  }
  auto self = reinterpret_cast<JreNotFoundDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message != WM_COMMAND || !self) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK:
      // Enter reaches here even while the OK button is disabled.
      if (self->chosenJvmPath_.empty()) return TRUE;
      EndDialog(dialog, IDOK);
      return TRUE;
    case IDCANCEL:  // also Esc and the close box
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    case IDC_JRE_BROWSE:
      self->browse(dialog);
      return TRUE;
    default:
      return FALSE;
  }
}

void JreNotFoundDialog::initialise(HWND dialog) {
  HWND link = GetDlgItem(dialog, IDC_JRE_LINK);
  link_.attach(link, reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0)));
  SetDlgItemTextW(dialog, IDC_JRE_MESSAGE, wide(messageText_));
  // The template names the system's error icon; set it explicitly, since the
  // static control looks for it in this module first.
  SendDlgItemMessageW(dialog, IDC_JRE_ICON, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_ERROR)), 0);
  EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
  centreDialog(dialog);
}

void JreNotFoundDialog::browse(HWND dialog) {
  String title = resourceString(IDS_BROWSE_FOR_JRE);
  BROWSEINFOW info{};
  info.hwndOwner = dialog;
  info.lpszTitle = wide(title);
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
  String path;
  {
    dialog_libraries::ComApartment com;
    PIDLIST_ABSOLUTE picked = dialog_libraries::browseForFolder(&info);
    if (!picked) return;
    path = dialog_libraries::pathFromIdList(picked);
    dialog_libraries::freeTaskMemory(picked);
  }

  SetDlgItemTextW(dialog, IDC_JRE_FOLDER, wide(path));
  chosenFolder_ = path;
  chosenJvmPath_.clear();
  // A pick without a file-system path is no folder: probed, an empty folder
  // would name the current directory.
  chosenFolder_ = withTrailingBackslash(chosenFolder_);
  if (!chosenFolder_.empty()) chosenJvmPath_ = findJvmLibrary(chosenFolder_, jvmType_);
  EnableWindow(GetDlgItem(dialog, IDOK), !chosenJvmPath_.empty());
}

bool askUserForRuntime(const RuntimeFilter& filter, String& home, String& jvmDllPath) {
  String requirement = describeVersionRequirement(filter.minVersion, filter.maxVersion, resourceString);
  const unsigned text = filter.jvmType == JvmType::Server ? IDS_JRE_NOT_FOUND_SERVER : IDS_JRE_NOT_FOUND;
  JreNotFoundDialog dialog(formatText(resourceString(text), {requirement}), filter.jvmType);
  if (dialog.run(GetActiveWindow()) != IDOK) return false;
  home = dialog.chosenFolder();
  jvmDllPath = dialog.chosenJvmPath();
  return true;
}
