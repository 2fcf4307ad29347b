// The runtime's own splash library, driven by the launcher when preferred.
#include <gtest/gtest.h>

#include "java_app.h"

namespace {

TEST(NativeSplash, IsUsedWhenPreferredAndComplete) {
  const struct {
    const char* name;
    const wchar_t* variant;  // null: the normal test runtime
    const char* display;
    const wchar_t* arguments;
    bool native;
  } cases[] = {
      {"preferred", nullptr, "Preffer Native Splash Screen=yes\r\n", L"", true},
      {"preferred in capitals", nullptr, "Preffer Native Splash Screen=YES\r\n", L"", true},
      {"not preferred", nullptr, "", L"", false},
      {"library without SplashSetFileJarName", L"splash-no-jarname", "Preffer Native Splash Screen=yes\r\n", L"", false},
      {"-nosplash", nullptr, "Preffer Native Splash Screen=yes\r\n", L"-nosplash", false},
      {"/nosplash", nullptr, "Preffer Native Splash Screen=yes\r\n", L"/nosplash", false},
      {"-NOSPLASH does not count", nullptr, "Preffer Native Splash Screen=yes\r\n", L"-NOSPLASH", true},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    JavaApp app(currentTestName() + std::to_wstring(n++));
    app.addRuntime(L"jre", c.variant ? testRuntimeVariant(c.variant) : testRuntime());
    const std::string image = narrow(app.path()) + "\\splash.png";
    app.writeIni("[Java Runtime Environment]\r\nMain Class=com.example.App\r\n[Class Path]\r\nClass Path=C:\\x.jar\r\n"
                 "[Display]\r\nSplash Screen=" + image + "\r\n" + c.display);
    robot::Outcome outcome = app.launch(c.arguments);
    EXPECT_EQ(outcome.exitCodeSigned(), 0) << report(outcome);
    EXPECT_EQ(app.journal("main").size(), 1u) << "main is reached in every case";
    if (c.native) {
      EXPECT_EQ(app.journal("splash-load-file"), std::vector<std::string>{image});
      EXPECT_EQ(app.journal("splash-jar-file"), std::vector<std::string>{image});
      EXPECT_EQ(app.journal("splash-jar-name"), std::vector<std::string>{""});
      std::string journal = app.journalText();
      EXPECT_LT(journal.find("splash-init"), journal.find("splash-load-file")) << journal;
      EXPECT_LT(journal.find("splash-load-file"), journal.find("create-thread")) << "before the VM starts";
      EXPECT_NE(journal.find("splash-close"), std::string::npos) << "closed when the launch ends";
      EXPECT_EQ(journal.find("splash-close"), journal.rfind("splash-close")) << "closed once";
      for (const robot::Window& w : outcome.windows) EXPECT_NE(w.className, L"SplashScreenWindow") << "no own splash too";
    } else {
      EXPECT_TRUE(app.journal("splash-load-file").empty()) << app.journalText();
    }
  }
}

// A Java side that fails after the native splash opened closes it, once,
// although both the failed launch and the teardown ask.
TEST(NativeSplash, ClosesOnceWhenJavaFails) {
  JavaApp app(currentTestName());
  app.addRuntime(L"jre");
  app.writeIni("[Java Runtime Environment]\r\nMain Class=test.Missing\r\n[Class Path]\r\nClass Path=C:\\x.jar\r\n"
               "[Display]\r\nSplash Screen=" + narrow(app.path()) + "\\splash.png\r\nPreffer Native Splash Screen=Yes\r\n");
  robot::Outcome outcome = app.launch(L"", {L"OK"});
  EXPECT_EQ(outcome.exitCodeSigned(), -1) << report(outcome);
  EXPECT_EQ(outcome.dialogs().size(), 1u) << report(outcome);
  EXPECT_EQ(app.journal("splash-load-file").size(), 1u) << app.journalText();
  std::string journal = app.journalText();
  size_t close = journal.find("splash-close");
  EXPECT_NE(close, std::string::npos) << journal;
  EXPECT_EQ(close, journal.rfind("splash-close")) << journal;
}

}  // namespace
