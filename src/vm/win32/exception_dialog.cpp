#include "vm/win32/exception_dialog.h"

#include "common/win32/win_text.h"
#include "resources/resource_ids.h"
#include "ui/win32/dialog_centring.h"
#include "ui/win32/resizing_layout.h"
#include "vm/java_session.h"

namespace {

class ExceptionDialog {
 public:
  explicit ExceptionDialog(String trace) : traceText_(std::move(trace)) {}

  INT_PTR run() {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_JAVA_EXCEPTION), GetActiveWindow(),
                           dialogProc, reinterpret_cast<LPARAM>(this));
  }

 private:
  static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      reinterpret_cast<ExceptionDialog*>(lParam)->initialise(dialog);
      return TRUE;
    }
    auto* self = reinterpret_cast<ExceptionDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self) return FALSE;
    if (self->layout_.handle(message, wParam, lParam)) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
      EndDialog(dialog, LOWORD(wParam));  // Ignore is 1; Stop, Esc and the close box 2
      return TRUE;
    }
    return FALSE;
  }

  void initialise(HWND dialog) {
    SetDlgItemTextW(dialog, IDC_EXC_TRACE, wide(traceText_));
    SendDlgItemMessageW(dialog, IDC_EXC_TRACE, EM_SETREADONLY, TRUE, 0);
    SendDlgItemMessageW(dialog, IDC_EXC_ICON, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_ERROR)), 0);
    centreDialog(dialog);
    using L = ResizingLayout;
    layout_.attach(dialog, {{IDC_EXC_GROUP, L::SizeX | L::SizeY},
                            {IDC_EXC_INTRO, L::SizeX},
                            {IDC_EXC_WARNING, L::SizeX | L::MoveY},
                            {IDC_EXC_ADVICE, L::SizeX | L::MoveY},
                            {IDC_EXC_TRACE, L::SizeX | L::SizeY},
                            {IDOK, L::MoveX | L::MoveY},
                            {IDCANCEL, L::MoveX | L::MoveY}});
  }

  String traceText_;
  ResizingLayout layout_;
};

}  // namespace

bool askStopOnException(JNIEnv* env, jthrowable thrown) {
  String trace = stackTraceText(env, thrown);
  if (trace.empty()) return false;
  ExceptionDialog dialog(trace);
  return dialog.run() != IDOK;
}
