#pragma once
// The one way the launcher reports a failure to the user: a modal message box
// with the error icon and an OK button.
#include <windows.h>

#include "common/failure.h"
#include "common/text.h"

// A message text or caption: either a literal text or an identifier of the
// executable's string table. Identifier 0 as a caption means "no caption",
// so the system's default caption is shown.
class TextRef {
 public:
  TextRef(unsigned id) : id_(id) {}  // NOLINT: identifiers convert implicitly
  TextRef(String text) : id_(0), text_(std::move(text)), isText_(true) {}  // NOLINT

  // Resolves the text; false when a string-table buffer could not be had.
  bool resolve(String& text, bool& present) const;

 private:
  unsigned id_;
  String text_;
  bool isText_ = false;
};

// Shows one message box and returns its result, or 0 when nothing could be shown.
int showError(HWND owner, const TextRef& text, const TextRef& caption);

// Shows a step's failure; the one route by which the launch reports one.
void report(const Failure& failure);
