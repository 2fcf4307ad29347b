// Settings as a shipped application carries them: the INI beside the exe and
// settings embedded in the exe itself.
#include <gtest/gtest.h>

#include <random>

#include "app_folder.h"
#include "settings/win32/embedded_settings_writer.h"

namespace {

const wchar_t kNoMainClass[] = L"Main class was not specified in INI file.";
const char16_t kUpgradeCode[] = u"{5E1D7A40-2C11-4B7E-A0D2-9F4C3B2A1E10}";

String toString(const std::wstring& s) { return String(s.begin(), s.end()); }

// Whether the launch stopped at the missing main class (its one box) or got past it.
bool stoppedAtMainClass(const robot::Outcome& outcome) {
  auto dialogs = outcome.dialogs();
  return dialogs.size() == 1 && dialogs[0].staticText() == kNoMainClass;
}

void expectCleanEnd(const robot::Outcome& outcome) {
  EXPECT_TRUE(outcome.started) << report(outcome);
  EXPECT_FALSE(outcome.timedOut) << report(outcome);
  EXPECT_EQ(outcome.exitCodeSigned(), -1) << report(outcome);
}

// Runs Shop.exe of the folder; it must end with -1, either at the main-class
// check (answering its box) or past it, where no runtime is installed and the
// JRE-not-found dialog is cancelled, and show nothing else.
void runExpectingStop(const AppFolder& folder, bool stops) {
  robot::Outcome outcome = folder.run(L"Shop.exe", L"", {stops ? L"OK" : L"Cancel"});
  expectCleanEnd(outcome);
  EXPECT_EQ(stoppedAtMainClass(outcome), stops) << report(outcome);
  auto dialogs = outcome.dialogs();
  if (!stops) {
    ASSERT_EQ(dialogs.size(), 1u) << report(outcome);
    EXPECT_EQ(dialogs[0].caption, L"JRE Not Found") << report(outcome);
  }
  EXPECT_EQ(outcome.unexpectedCount(), 0) << report(outcome);
}

TEST(EmbeddedSettings, SupplyValuesOnlyWithTheRightUpgradeCode) {
  const struct {
    const char* name;
    const char* ini;
    bool stops;
  } cases[] = {
      {"embedded main class, no key in the INI",
       "[Product Information]\r\nUpgrade Code={5E1D7A40-2C11-4B7E-A0D2-9F4C3B2A1E10}\r\n", false},
      {"an empty key in the INI does not hide it",
       "[Product Information]\r\nUpgrade Code={5E1D7A40-2C11-4B7E-A0D2-9F4C3B2A1E10}\r\n"
       "[Java Runtime Environment]\r\nMain Class=\r\n",
       false},
      {"another upgrade code cannot read them", "[Product Information]\r\nUpgrade Code={other}\r\n", true},
      {"no upgrade code cannot read them", "", true},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AppFolder folder(currentTestName() + std::to_wstring(n++));
    std::wstring exe = folder.installLauncher(L"Shop.exe");
    ASSERT_EQ(writeEmbeddedSettings(toString(exe), u"[Java Runtime Environment]\r\nMain Class=com.shop.Main\r\n",
                                    kUpgradeCode),
              0u);
    folder.writeFile(L"Shop.ini", c.ini);
    runExpectingStop(folder, c.stops);
  }
}

// What the embedded values become once the INI beside the exe has its say,
// read by a program that reads its settings exactly as the launcher does.
TEST(EmbeddedSettings, AreOverriddenByTheFileAndExtendedByItsPlusSection) {
  AppFolder folder(currentTestName());
  std::wstring exe = folder.installProgram(programFromEnvironment("SETTINGS_PROBE_EXE"), L"Shop.exe");
  ASSERT_EQ(writeEmbeddedSettings(toString(exe),
                                  u"[Application]\r\nKept=embedded\r\nReplaced=embedded\r\nExtended=-a\r\n"
                                  u"Emptied=embedded\r\ncmd=lower-case key\r\n",
                                  kUpgradeCode),
            0u);
  folder.writeFile(L"Shop.ini",
                   "[Product Information]\r\nUpgrade Code={5E1D7A40-2C11-4B7E-A0D2-9F4C3B2A1E10}\r\n"
                   "[Application]\r\nReplaced=from file\r\nEmptied=\r\n"
                   "[Application+]\r\nExtended=-b\r\nAdded=-c\r\nReplaced=ignored\r\n");
  robot::Launch launch;
  launch.program = exe;
  launch.commandLine = L"\"" + exe + L"\" Application Kept Replaced Extended Emptied Added Cmd Missing";
  launch.captureOutput = true;
  robot::Outcome outcome = robot::run(launch);
  ASSERT_EQ(outcome.exitCodeSigned(), 0) << report(outcome);
  EXPECT_EQ(outcome.output,
            "Kept=embedded\n"
            "Replaced=from file\n"
            "Extended=-a -b\n"
            "Emptied=embedded\n"
            "Added= -c\n"
            "Cmd=\n"
            "Missing=\n");
}

std::string randomBytes(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& b : bytes) b = static_cast<char>(random());
  return bytes;
}

// Whatever the files hold, the launcher ends with its documented outcome.
TEST(BadSettings, NeverCrashTheLauncher) {
  std::string huge;
  while (huge.size() < 4 * 1024 * 1024) huge += "[Section " + std::to_string(huge.size()) + "]\r\nKey=Value\r\n";
  std::string hugeValue = "[Java Runtime Environment]\r\nMain Class=" + std::string(3 * 1024 * 1024, 'a') + "\r\n";
  const struct {
    const char* name;
    std::string ini;
    bool stops;
  } cases[] = {
      {"binary garbage", randomBytes(64 * 1024, 7), true},
      {"garbage after a UTF-16 byte-order mark", "\xFF\xFE" + randomBytes(4097, 11), true},
      {"truncated UTF-16",
       std::string("\xFF\xFE[\0J\0a\0v\0a\0 \0R\0u\0n\0t\0i\0m\0e\0 \0E\0n\0v\0i\0r\0o\0n\0m\0e\0n\0t\0]\0\r\0\n\0M\0a\0i\0n", 63),
       true},
      {"several megabytes of sections", huge, true},
      {"a main class of three megabytes", hugeValue, false},
      {"quotes and percent signs", "[Java Runtime Environment]\r\nMain Class=\"%PATH%\"\"\r\nJRE Path=%%%\r\n", false},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AppFolder folder(currentTestName() + std::to_wstring(n++));
    folder.installLauncher(L"Shop.exe");
    folder.writeFile(L"Shop.ini", c.ini);
    runExpectingStop(folder, c.stops);
  }
}

TEST(BadSettings, DamagedEmbeddedResourceReadsAsNoSettings) {
  const std::string damaged[] = {"", "JLES", randomBytes(300, 3), std::string("JLES\x01\0\0\0\xFF\xFF\xFF\x7F", 12) + randomBytes(64, 5)};
  int n = 0;
  for (const std::string& bytes : damaged) {
    SCOPED_TRACE(n);
    AppFolder folder(currentTestName() + std::to_wstring(n++));
    std::wstring exe = folder.installLauncher(L"Shop.exe");
    ASSERT_EQ(writeEmbeddedSettingsResource(toString(exe), bytes.data(), static_cast<uint32_t>(bytes.size())), 0u);
    folder.writeFile(L"Shop.ini", "[Product Information]\r\nUpgrade Code=x\r\n");
    runExpectingStop(folder, true);
  }
}

}  // namespace
