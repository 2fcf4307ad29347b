#pragma once
#include <windows.h>

#include "common/text.h"
#include "jre/runtime_choice.h"
#include "jre/win32/runtime_search.h"
#include "ui/win32/link_label.h"

// The dialog shown when no Java runtime was found: it says which one is
// needed and lets the user browse for an installed runtime's folder. OK is
// enabled only while the picked folder holds a fitting jvm.dll.
class JreNotFoundDialog {
 public:
  JreNotFoundDialog(String messageText, JvmType jvmType) : messageText_(std::move(messageText)), jvmType_(jvmType) {}

  // Runs the dialog modally; 1 for OK, 2 for Cancel, -1 when it could not be shown.
  INT_PTR run(HWND owner);

  const String& chosenFolder() const { return chosenFolder_; }
  const String& chosenJvmPath() const { return chosenJvmPath_; }

 private:
  static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void initialise(HWND dialog);
  void browse(HWND dialog);

  String messageText_;
  JvmType jvmType_;
  String chosenFolder_;
  String chosenJvmPath_;
  LinkLabel link_;
};

// Shows the dialog for the runtime the filter asks for: true when the user
// picked one, with its home folder and jvm.dll.
bool askUserForRuntime(const RuntimeFilter& filter, String& home, String& jvmDllPath);
