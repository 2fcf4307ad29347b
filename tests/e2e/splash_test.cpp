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
    } else {
      EXPECT_TRUE(app.journal("splash-load-file").empty()) << app.journalText();
    }
  }
}

}  // namespace
