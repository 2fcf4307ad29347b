// An exception that escapes main with "Failure Check=Yes": the dialog shows
// its stack trace and lets the user stop or go on.
#include <gtest/gtest.h>

#include "java_app.h"

namespace {

TEST(ExceptionDialog, ShowsTheTraceAndStopsOrGoesOn) {
  const struct {
    const wchar_t* press;
    int exitCode;
  } cases[] = {
      {L"Ignore", 1},  // the application goes on, and ends as the java command ends a main that threw
      {L"Stop", -1},
      {L"(close)", -1},  // the close box stops like Stop
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(narrow(c.press));
    JavaApp app(currentTestName() + std::to_wstring(n++));
    app.addRuntime(L"jre");
    app.writeIni("[Java Runtime Environment]\r\nMain Class=test.Throw\r\n[Class Path]\r\nClass Path=C:\\x.jar\r\n"
                 "[Application]\r\nFailure Check=yes\r\n");
    robot::Outcome outcome = app.launch(L"", {c.press});
    EXPECT_EQ(outcome.exitCodeSigned(), c.exitCode) << report(outcome);
    auto dialogs = outcome.dialogs();
    ASSERT_EQ(dialogs.size(), 1u) << report(outcome);
    EXPECT_EQ(dialogs[0].caption, L"Java Exception");
    EXPECT_TRUE(dialogs[0].errorIcon) << report(outcome);
    bool trace = false, grip = false;
    for (const robot::Control& control : dialogs[0].controls) {
      if (control.id == 208) {
        trace = control.text.find(L"java.lang.IllegalStateException: thrown by test.Throw: Gr\u00f6\u00dfe \u2713 "
                                  L"\u4e2d\u6587 \U0001F600") == 0;
      }
      if (control.id == 0xE801) grip = _wcsicmp(control.className.c_str(), L"ScrollBar") == 0 && control.visible;
    }
    EXPECT_TRUE(trace) << report(outcome);
    EXPECT_TRUE(grip) << "a size grip in the corner\n" << report(outcome);
    EXPECT_EQ(app.journal("exit").size(), c.exitCode == 1 ? 0u : 1u) << "Stop goes through System.exit";
  }
}

const robot::Control& control(const robot::Window& window, int id) {
  static const robot::Control none;
  for (const robot::Control& c : window.controls) {
    if (c.id == id) return c;
  }
  return none;
}

int width(const RECT& r) { return r.right - r.left; }
int height(const RECT& r) { return r.bottom - r.top; }

// Growing the dialog widens the trace and the texts and moves the buttons
// and the two lower texts down; it cannot shrink below its first size; the
// grip hides while maximised.
TEST(ExceptionDialog, ResizesItsControlsAndKeepsItsMinimumSize) {
  JavaApp app(currentTestName());
  app.addRuntime(L"jre");
  app.writeIni("[Java Runtime Environment]\r\nMain Class=test.Throw\r\n[Class Path]\r\nClass Path=C:\\x.jar\r\n"
               "[Application]\r\nFailure Check=Yes\r\n");
  robot::Outcome outcome = app.launch(L"", {L"resize:900,700", L"resize:100,100", L"maximize", L"restore", L"Ignore"});
  auto seen = outcome.dialogs();
  ASSERT_EQ(seen.size(), 5u) << report(outcome);
  EXPECT_EQ(outcome.exitCodeSigned(), 1);
  const robot::Window &first = seen[0], &grown = seen[1], &shrunk = seen[2];

  const RECT traceBefore = control(first, 208).rect, traceAfter = control(grown, 208).rect;
  const int grewX = width(traceAfter) - width(traceBefore), grewY = height(traceAfter) - height(traceBefore);
  EXPECT_GT(grewX, 0);
  EXPECT_GT(grewY, 0);
  for (int id : {209, 210, 211, 212}) EXPECT_EQ(width(control(grown, id).rect) - width(control(first, id).rect), grewX) << id;
  EXPECT_EQ(height(control(grown, 209).rect) - height(control(first, 209).rect), grewY);
  for (int id : {1, 2}) {
    EXPECT_EQ(control(grown, id).rect.left - control(first, id).rect.left, grewX) << id;
    EXPECT_EQ(control(grown, id).rect.top - control(first, id).rect.top, grewY) << id;
  }
  for (int id : {211, 212}) EXPECT_EQ(control(grown, id).rect.top - control(first, id).rect.top, grewY) << id;
  EXPECT_EQ(control(grown, 204).rect.left, control(first, 204).rect.left) << "the icon stays";
  EXPECT_EQ(control(grown, 204).rect.top, control(first, 204).rect.top);

  EXPECT_EQ(width(control(shrunk, 208).rect), width(traceBefore)) << "no smaller than it opened";
  EXPECT_EQ(height(control(shrunk, 208).rect), height(traceBefore));

  EXPECT_TRUE(control(first, 0xE801).visible);
  EXPECT_FALSE(control(seen[3], 0xE801).visible) << "maximised: no grip";
  EXPECT_TRUE(control(seen[4], 0xE801).visible) << "restored: the grip again";
}

}  // namespace
