#include "packager/ini_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

// '*' and '?' match within one path component, as a file search does.
bool globMatch(StringView pattern, StringView path) {
  if (pattern.empty()) return path.empty();
  if (pattern[0] == u'*') {
    for (size_t skip = 0; skip <= path.size(); ++skip) {
      if (globMatch(pattern.substr(1), path.substr(skip))) return true;
      if (skip < path.size() && path[skip] == u'\\') break;
    }
    return false;
  }
  if (path.empty() || (pattern[0] != u'?' && pattern[0] != path[0]) || (pattern[0] == u'?' && path[0] == u'\\')) {
    return false;
  }
  return globMatch(pattern.substr(1), path.substr(1));
}

struct FakeFiles : FileProbe {
  std::set<String> paths{u"C:\\App\\app.jar", u"C:\\App\\lib\\a.jar", u"C:\\App\\lib\\b.jar",
                         u"C:\\Shared\\x.jar"};
  bool exists(const String& path) const override { return paths.count(path) != 0; }
  bool anyMatch(const String& pattern) const override {
    for (const String& path : paths) {
      if (globMatch(pattern, path)) return true;
    }
    return false;
  }
};

struct Expected {
  int line;
  Severity severity;
  const char* fragment;  // part of the message
};

std::vector<Finding> check(const std::string& ini) { return checkIni(fromUtf8(ini), u"C:\\App", FakeFiles()); }

// Lines 1 to 4; a case's own lines start at 5, still inside [Java Runtime Environment].
const std::string kBase = "[Class Path]\nClass Path=app.jar\n[Java Runtime Environment]\nMain Class=com.example.App\n";
const std::string kMain = "[Java Runtime Environment]\nMain Class=A\n";

constexpr Severity W = Severity::Warning;
constexpr Severity E = Severity::Error;

TEST(IniCheck, ReportsEachFindingAtItsLine) {
  const struct {
    std::string ini;
    std::vector<Expected> expected;
  } cases[] = {
      {kBase + "JVM Type=Server",
       {{5, W,
         "JVM Type=Server is not recognised, so the launcher takes the first VM a runtime has. Recognised (exact "
         "case): server, favor_server."}}},
      {kBase + "JVM Source=JDK", {{5, W, "so neither JREs nor JDKs are taken from the registry"}}},
      {kBase + "VM Provider=FAVOR_IBM\nJVM Source=only_JDK\nMinimum Version=any\nMaximum Version=1.8", {}},
      {kBase + "Minimum Version=Any", {{5, W, "Minimum Version=Any is not a version: the launcher ignores it"}}},
      {kBase + "Minimum Version=11\nMaximum Version=1.8", {{6, W, "lies above Maximum Version=1.8"}}},
      {kBase + "Preferred versions=1.8;latest", {{5, W, "entry \"latest\" holds no version: it matches every"}}},
      {kBase + "Main Class=other.Main", {{5, W, "\"Main Class\" is set again (first at line 4)"}}},
      {kBase + "Mian Class=x", {{5, W, "Unknown key \"Mian Class\" in [Java Runtime Environment]"}}},
      {kBase + "stray words", {{5, W, "\"stray words\" is neither a [section], a key=value line nor a ; comment"}}},
      {kBase + "[Display]\nPrefer Native Splash Screen=Yes",
       {{6, W,
         "Unknown key \"Prefer Native Splash Screen\" in [Display]; the launcher never reads it. Did you mean "
         "\"Preffer Native Splash Screen\"?"}}},
      {kBase + "[display]\nSplash Screen Shadow=True",
       {{6, W, "Splash Screen Shadow=True is read as off: only \"true\" (exact case) means on"}}},
      {kBase + "[Application]\nSingle Instance=Yes\nFailure Check=YES\nOutput Append=no",
       {{6, W, "Single Instance=Yes is read as off: only \"yes\" (exact case) means on"}}},
      {kBase + "[Application]\nSplash Screen=a.png", {{6, W, "Did you mean \"Splash Screen\" in [Display]?"}}},
      {kBase + "[Aplication]\nCmd=-x", {{5, W, "Unknown section [Aplication]; the launcher never reads it. Did you "
                                               "mean [Application]?"}}},
      {kBase + "[Display+]\nSplash Screen=a.png", {{5, W, "[Display+] is never read"}}},
      {kBase + "[Java Runtime Environment+]\nJVM Type=server\nVirtual Machine Parameters=-Xmx1g",
       {{6, W, "\"JVM Type\" cannot be extended in [Java Runtime Environment+]"}}},
      {kBase + "[Java Runtime Environment+]\nMain Class=B",
       {{6, W, "\"Main Class\" is not read: [Java Runtime Environment] sets it at line 4."}}},
      {kBase + "[java runtime environment]\nCmd=x", {{5, W, "repeats the section begun at line 3"}}},
      {"Cmd=-x\n" + kMain + "[Application]\nEmbedded Jar=Yes", {{1, W, "\"Cmd\" comes before any [section]"}}},
      {"[Application]\nEmbedded Jar=no",
       {{0, E, "Main Class is missing or empty in [Java Runtime Environment]: the launch fails with \"Main class"},
        {0, E, "The class path is empty"}}},
      {"[Java Runtime Environment]\nMain Class=\nModule Path=%MODS%", {{2, E, "Main Class is missing"}}},
      // The executable, or the main jar, names the main class in its manifest.
      {"[Java Runtime Environment]\nMain Class=\n[Application]\nEmbedded Jar=Yes", {}},
      {"[Java Runtime Environment]\nMain Jar=gone.jar",
       {{2, E, "The main jar gone.jar is missing (looked for C:\\App\\gone.jar): the launch fails."}}},
      {kMain + "Main Jar=app.jar", {{3, W, "Main Jar is not used: \"Main Class\" names the main class"}}},
      {kMain + "Module Path=lib\\*.jar;mods", {{3, W, "Module path entry \"mods\" matches no file"}}},
      {kMain + "[Class Path]\nClass Path=app.jar;lib\\*.jar;C:\\Shared\\x.jar;%LIBS%\\y.jar;;", {}},
      {kMain + "[Class Path]\nClass Path=missing.jar;app.jar",
       {{4, W, "Class path entry \"missing.jar\" matches no file (looked for C:\\App\\missing.jar)."}}},
      {kMain + "[Class Path]\nClass Path=ext\\*.jar;D:\\gone.jar",
       {{4, W, "\"ext\\*.jar\" matches no file (looked for C:\\App\\ext\\*.jar)"}, {4, W, "\"D:\\gone.jar\""}}},
      {kMain + "[Class Path]\nClass Path=missing.jar", {{4, W, "missing.jar"}, {4, E, "The class path is empty"}}},
      {kMain, {{0, E, "The class path is empty"}}},
      {kMain + "[Class Path+]\nClass Path=lib\\a.jar", {{4, W, "is added after a blank, not a \";\""}}},
      {kBase + "Virtual Machine Parameters=-Xmx1g --add-opens java.base/java.lang=ALL-UNNAMED -m app/app.Main",
       {{5, E, "holds -m, an option of the java command that the VM refuses: the launch fails. Name the module in "
               "\"Main Class\" (module/class) and its jars in \"Module Path\"."}}},
      {kBase + "Virtual Machine Parameters=-jar app.jar -p",
       {{5, E, "holds -jar, an option of the java command that the VM refuses: the launch fails. Name the jar in "
               "\"Main Jar\""},
        {5, W, "ends with -p and no value after it: the VM refuses it. Write --module-path=<value>."}}},
      {kBase + "Virtual Machine Parameters=@app.jar @missing.txt @@x @%OPTS%",
       {{5, E, "The argument file missing.txt is missing (looked for C:\\App\\missing.txt)"}}},
  };
  for (const auto& c : cases) {
    std::vector<Finding> findings = check(c.ini);
    ASSERT_EQ(findings.size(), c.expected.size()) << c.ini;
    for (size_t i = 0; i < findings.size(); ++i) {
      EXPECT_EQ(findings[i].line, c.expected[i].line) << c.ini;
      EXPECT_EQ(findings[i].severity, c.expected[i].severity) << c.ini;
      EXPECT_NE(toUtf8(findings[i].message).find(c.expected[i].fragment), std::string::npos)
          << c.ini << "\n" << toUtf8(findings[i].message);
    }
  }
}

// The check's catalogue and the launcher's readers share their names: every
// key the launcher reads is known to the check, and no other.
TEST(IniCheck, KnowsEveryKeyTheLauncherReads) {
  for (const SettingKey& key : setting::kAllKeys) {
    const auto& catalogue = settingsCatalogue();
    EXPECT_TRUE(std::any_of(catalogue.begin(), catalogue.end(), [&](const SettingSpec& spec) {
      return StringView(spec.setting.section) == key.section && StringView(spec.setting.name) == key.name;
    })) << toUtf8(key.section) << " / " << toUtf8(key.name);
  }
  EXPECT_EQ(settingsCatalogue().size(), std::size(setting::kAllKeys));
}

TEST(IniCheck, CorrectFullIniHasNoFindings) {
  const std::string ini =
      "\xEF\xBB\xBF; Shop launcher settings\r\n"
      "[Product Information]\r\nProduct Name=Shop\r\nProduct Code={1}\r\nUpgrade Code={2}\r\n\r\n"
      "[Java Runtime Environment]\r\nMain Class = com.example.App\r\nMinimum Version=1.8\r\n"
      "Maximum Version=any\r\nPreferred versions=11;1.8\r\nJVM Type=favor_server\r\nJVM Source=favor_JDK\r\n"
      "VM Provider=Any\r\nJRE Path=jre\r\nSystem Path=bin\r\nLibrary Path=lib\r\n"
      "[Java Runtime Environment+]\r\nVirtual Machine Parameters=-Xmx50:256:1024P\r\n"
      "[application]\r\nApplication Type=Application\r\nSingle Instance=yes\r\nFailure Check=yes\r\n"
      "Override WorkingDir=No\r\nEmbedded Jar=no\r\nPair Product=Shop64.exe\r\nPair Return Code=Yes\r\n"
      "Output File=out.txt\r\nOutput Append=yes\r\nError File=err.txt\r\nError Append=no\r\nCmd=\"-x\"\r\n"
      "[Class Path]\r\nClass Path=app.jar;lib\\*.jar\r\n"
      "[Display]\r\nSplash Screen=splash.png\r\nSplash Screen Shadow=true\r\nPreffer Native Splash Screen=YES\r\n";
  std::vector<Finding> findings = check(ini);
  for (const Finding& f : findings) ADD_FAILURE() << f.line << ": " << toUtf8(f.message);
  EXPECT_EQ(checkExitCode(findings), 0);
}

TEST(IniCheck, ExitCodeFollowsTheWorstFinding) {
  EXPECT_EQ(checkExitCode({}), 0);
  EXPECT_EQ(checkExitCode({{3, W, u"w"}}), 1);
  EXPECT_EQ(checkExitCode({{3, W, u"w"}, {0, E, u"e"}}), 2);
}

}  // namespace
