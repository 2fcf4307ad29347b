// Damaged, odd and hostile input: settings files, registry entries, files the
// launch needs and VM libraries. Whatever they hold, a launch ends by itself
// with its documented message (or none) and its documented exit code.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "file_tree/file_tree.h"
#include "java_app.h"

namespace {

const std::string kMain = "[Java Runtime Environment]\r\nMain Class=com.example.App\r\n";
const std::string kClassPath = "[Class Path]\r\nClass Path=C:\\x.jar\r\n";
const std::string kDirect = "-Djava.class.path=C:\\x.jar";
const std::string kNoMainClass = "Main class was not specified in INI file.";
const std::string kJreNotFound = "JRE Not Found";

std::string randomBytes(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& b : bytes) b = static_cast<char>(random());
  return bytes;
}

// ASCII text as UTF-16 little-endian bytes.
std::string utf16(const std::string& ascii) {
  std::string out;
  for (char c : ascii) out += std::string{c, '\0'};
  return out;
}

std::string wideBytes(const std::wstring& text, bool terminated) {
  size_t units = text.size() + (terminated ? 1 : 0);
  return std::string(reinterpret_cast<const char*>(text.c_str()), units * sizeof(wchar_t));
}

std::string fileBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
    text.replace(at, from.size(), to);
  }
}

// Every key the launcher reads, each present with an empty value, except the given ones.
std::string everyKeyEmptyExcept(const std::map<std::string, std::string>& values) {
  const std::vector<std::pair<const char*, std::vector<const char*>>> sections = {
      {"Product Information", {"Product Name", "Product Code", "Upgrade Code"}},
      {"Java Runtime Environment",
       {"Main Class", "Minimum Version", "Maximum Version", "Preferred versions", "JRE Path", "JVM Type", "JVM Source",
        "VM Provider", "Virtual Machine Parameters", "System Path", "Library Path"}},
      {"Class Path", {"Class Path"}},
      {"Application",
       {"Application Type", "Single Instance", "Embedded Jar", "Failure Check", "Override WorkingDir", "Cmd",
        "Output File", "Output Append", "Error File", "Error Append", "Pair Product", "Pair Return Code"}},
      {"Display", {"Splash Screen", "Splash Screen Shadow", "Preffer Native Splash Screen"}},
  };
  std::string ini;
  for (const auto& [section, keys] : sections) {
    ini += "[" + std::string(section) + "]\r\n";
    for (const char* key : keys) ini += std::string(key) + "=" + (values.count(key) ? values.at(key) : "") + "\r\n";
  }
  return ini;
}

// What a launch showed: nothing, the JRE Not Found dialog, or its one message box.
std::string shown(const robot::Outcome& outcome) {
  auto dialogs = outcome.dialogs();
  if (dialogs.empty()) return "";
  if (dialogs.size() > 1) return std::to_string(dialogs.size()) + " dialogs";
  return dialogs[0].caption == L"JRE Not Found" ? kJreNotFound : narrow(dialogs[0].staticText());
}

std::vector<std::wstring> answersFor(const std::string& message) {
  if (message.empty()) return {};
  return {message == kJreNotFound ? L"Cancel" : L"OK"};
}

// The launch ended by itself, neither crashed nor hung, with this exit code and this message.
void expectEnd(const robot::Outcome& outcome, int exitCode, const std::string& message) {
  EXPECT_TRUE(outcome.started) << report(outcome);
  EXPECT_FALSE(outcome.timedOut) << report(outcome);
  EXPECT_EQ(outcome.exitCodeSigned(), exitCode) << report(outcome);
  EXPECT_EQ(outcome.unexpectedCount(), 0) << report(outcome);
  EXPECT_EQ(shown(outcome), message) << report(outcome);
}

// Long enough that 500 of them make a class path far beyond 32767 characters.
std::string jarName(int i) { return "a-library-jar-with-a-long-file-name-" + std::to_string(i) + ".jar"; }

TEST(BadInput, SettingsFiles) {
  std::string filler = "[Filler]\r\n";
  for (int i = 0; filler.size() < 12 * 1024 * 1024; ++i) {
    filler += "; filler line\r\nKey" + std::to_string(i) + "=Value\r\n";
  }
  const std::string hugeValue(8 * 1024 * 1024, 'v');
  std::string classPath, expectedClassPath = "-Djava.class.path=";
  for (int i = 0; i < 10000; ++i) {
    std::string n = std::to_string(i);
    std::string entry = i % 20 == 0 ? "lib\\" + jarName(i) : i % 20 == 10 ? "C:\\absent\\a" + n + ".jar"
                                                       : i % 2 ? "missing\\m" + n + ".jar" : "lib\\gone" + n + ".jar";
    classPath += entry + ";";
    if (i % 20 == 0) expectedClassPath += "<app>\\" + entry + ";";
    if (i % 20 == 10) expectedClassPath += entry + ";";
  }
  expectedClassPath.pop_back();  // no empty element after the last entry
  const struct {
    const char* name;
    std::string ini;
    int exitCode;
    std::string message;
    std::vector<std::string> options;  // before the hooks, "<app>" the folder, "<Path>" the VM's Path; {} not checked
    const char* loaded = "com.example.App";  // the class the runtime was asked for, null for none
    int jars = 0;                            // lib\<jarName(0)>, lib\<jarName(20)>, ...
  } cases[] = {
      {"binary garbage", randomBytes(64 * 1024, 3), -1, kNoMainClass, {}, nullptr},
      {"UTF-16 cut in the middle of a character",
       "\xFF\xFE" + utf16(kMain + kClassPath + "[Application]\r\nCm") + "d", 0, "", {kDirect}},
      {"12 MB of filler before the keys", filler + kMain + kClassPath, 0, "", {kDirect}},
      {"one line of 8 MB before the keys", ";" + hugeValue + "\r\n" + kMain + kClassPath, 0, "", {kDirect}},
      {"a VM parameter of 8 MB", kMain + "Virtual Machine Parameters=-Dbig=" + hugeValue + "\r\n" + kClassPath, 0, "",
       {kDirect, "-Dbig=" + hugeValue}},
      {"a class path of 10000 entries", kMain + "[Class Path]\r\nClass Path=" + classPath + "\r\n", 0, "",
       {expectedClassPath}, "com.example.App", 500},
      {"every key empty", everyKeyEmptyExcept({}), -1, kNoMainClass, {}, nullptr},
      {"every key empty but the required two",
       everyKeyEmptyExcept({{"Main Class", "com.example.App"}, {"Class Path", "C:\\x.jar"}}), 0, "", {kDirect}},
      {"quotes and percent signs in the main class",
       "[Java Runtime Environment]\r\nMain Class=\"%PATH%\"\"\"\r\n" + kClassPath, -1,
       "Failed to load Main Class: %PATH%\"\".\n", {kDirect}, "%PATH%\"\""},
      {"quotes and percent signs in the VM parameters",
       kMain + "Virtual Machine Parameters=-Da=%%% -Db=\"\"\"\" -Dc=%PATH% -Dd=%NO_SUCH_VAR% -De=100% \"-Df=%%\" "
               "-Dg=\"unbalanced\r\n" + kClassPath,
       // The quote after -Db= opens a part that the quotes further on keep
       // open to the end: one option, a doubled quote leaving one literal.
       0, "", {kDirect, "-Da=%%%", "-Db=\" -Dc=<Path> -Dd=%NO_SUCH_VAR% -De=100% -Df=%% -Dg=unbalanced"}},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    JavaApp app(currentTestName() + std::to_wstring(n++));
    app.addRuntime(L"jre");
    if (c.jars) createTree(app.path() + L"\\lib");
    for (int i = 0; i < c.jars; ++i) {
      std::string name = "lib\\" + jarName(i * 20);
      app.folder().writeFile(std::wstring(name.begin(), name.end()), "");
    }
    app.writeIni(c.ini);
    robot::Outcome outcome = app.launch(L"", answersFor(c.message));
    expectEnd(outcome, c.exitCode, c.message);
    if (!c.options.empty()) {
      std::vector<std::string> expected = c.options;
      std::vector<std::string> path = app.journal("env-Path");
      for (std::string& option : expected) {
        replaceAll(option, "<app>", narrow(app.path()));
        replaceAll(option, "<Path>", path.empty() ? "" : path[0]);
      }
      EXPECT_EQ(optionsBeforeHooks(app), expected);
    }
    EXPECT_EQ(app.journal("check-and-load-main"),
              c.loaded ? std::vector<std::string>{c.loaded} : std::vector<std::string>{});
    EXPECT_EQ(app.journal("main").size(), c.exitCode == 0 ? 1u : 0u) << app.journalText().substr(0, 2000);
  }
}

constexpr DWORD kNoValue = 0xFFFFFFFF;

// A version key below HKLM\Software\JavaSoft\JRE in the launcher's own
// view, with a "JavaHome" of any type (none for kNoValue).
LSTATUS writeVersionKey(const std::wstring& name, DWORD type, const std::string& data) {
  HKEY key;
  LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, (L"Software\\JavaSoft\\JRE\\" + name).c_str(), 0, nullptr, 0,
                                   KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return status;
  if (type != kNoValue) {
    status = RegSetValueExW(key, L"JavaHome", 0, type, reinterpret_cast<const BYTE*>(data.data()),
                            static_cast<DWORD>(data.size()));
  }
  RegCloseKey(key);
  return status;
}

TEST(BadInput, RegistryEntries) {
  struct VersionKey {
    std::wstring name;
    DWORD type;
    std::string data;  // "<other>": the home of a second good runtime, as UTF-16 text
  };
  const std::string nowhere = wideBytes(L"C:\\nowhere", true);
  const std::vector<VersionKey> nonString = {
      {L"18", REG_DWORD, std::string("C\0:\0", 4)}, {L"19", REG_BINARY, randomBytes(64, 5)},
      {L"20", REG_BINARY, randomBytes(5, 9)}, {L"21", REG_MULTI_SZ, std::string(6, '\0')}};
  const struct {
    const char* name;
    std::vector<VersionKey> keys;
    bool good;             // the good runtime registered as 17
    const char* chosen;    // the home taken: "installed" (the 17), "other", or null for none
    std::string ini = "";
  } cases[] = {
      {"non-string JavaHome beside a good runtime", nonString, true, "installed"},
      {"non-string JavaHome alone", nonString, false, nullptr},
      {"empty, zero-byte and missing JavaHome",
       {{L"18", REG_SZ, std::string(2, '\0')}, {L"19", REG_SZ, ""}, {L"20", REG_EXPAND_SZ, ""}, {L"21", kNoValue, ""}},
       true, "installed"},
      {"names without digits beside a good runtime", {{L"latest", REG_SZ, "<other>"}, {L"abc", REG_SZ, nowhere}}, true,
       "installed"},
      {"a name without digits alone reads as 0.0.0.0", {{L"latest", REG_SZ, "<other>"}}, false, "other"},
      {"... and fails a minimum", {{L"latest", REG_SZ, "<other>"}}, false, nullptr, "Minimum Version=1.6\r\n"},
      {"255-character names beside a good runtime",
       {{L"98" + std::wstring(253, L'a'), REG_SZ, nowhere}, {std::wstring(255, L'z'), REG_SZ, nowhere}}, true,
       "installed"},
      {"a 255-character name alone", {{L"99" + std::wstring(253, L'a'), REG_SZ, "<other>"}}, false, "other"},
      {"binary JavaHome holding a path, taken as text", {{L"18", REG_BINARY, "<other>"}}, false, "other"},
  };
  clearRegistryRuntimes();
  EXPECT_NE(writeVersionKey(std::wstring(300, L'x'), REG_SZ, nowhere), ERROR_SUCCESS)
      << "the registry takes no key name over 255 characters";
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clearRegistryRuntimes();
    JavaApp app(currentTestName() + std::to_wstring(n++));
    if (c.good) registerRuntime(L"17", app.addRuntime(L"installed"));
    std::wstring other = app.addRuntime(L"other");
    for (const VersionKey& key : c.keys) {
      std::string data = key.data == "<other>" ? wideBytes(other, key.type != REG_BINARY) : key.data;
      ASSERT_EQ(writeVersionKey(key.name, key.type, data), ERROR_SUCCESS);
    }
    app.writeIni(kMain + c.ini + kClassPath);
    std::string message = c.chosen ? "" : kJreNotFound;
    robot::Outcome outcome = app.launch(L"", answersFor(message));
    expectEnd(outcome, c.chosen ? 0 : -1, message);
    EXPECT_EQ(app.journal("env-QL_JVM_PATH"),
              c.chosen ? std::vector<std::string>{narrow(app.path()) + "\\" + c.chosen + "\\bin\\server\\jvm.dll"}
                       : std::vector<std::string>{});
  }
  clearRegistryRuntimes();
}

// Shop.exe with a fresh journal, its standard output and error captured.
robot::Outcome launchCapturing(const JavaApp& app, std::vector<std::wstring> presses,
                               const std::wstring& currentFolder = L"") {
  std::wstring journal = app.path() + L"\\journal.txt";
  DeleteFileW(journal.c_str());
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", journal.c_str());
  robot::Launch launch;
  launch.program = app.path() + L"\\Shop.exe";
  launch.commandLine = L"\"" + launch.program + L"\"";
  launch.presses = std::move(presses);
  launch.timeoutMs = 30000;
  launch.captureOutput = true;
  launch.workingDirectory = currentFolder;
  robot::Outcome outcome = robot::run(launch);
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", nullptr);
  return outcome;
}

TEST(BadInput, Files) {
  enum class Ini { Written, Missing, Locked, Folder };
  const struct {
    const char* name;
    Ini state;
    std::string ini;                       // "<app>" stands for the folder
    std::map<std::wstring, std::string> files;
    int exitCode;
    std::string message;
    std::vector<std::string> errorOutput = {};  // texts on the original standard error
    const wchar_t* runtime = nullptr;           // a variant of the test runtime
    std::wstring currentFolder = L"";           // below the folder, for the launch
    std::vector<std::string> binLibraries = {}; // of the dependency-in-bin runtime, as they loaded
  } cases[] = {
      {"no INI", Ini::Missing, "", {}, -1, kNoMainClass},
      {"INI locked by another process", Ini::Locked, kMain + kClassPath, {}, -1, kNoMainClass},
      {"INI is a folder", Ini::Folder, "", {}, -1, kNoMainClass},
      {"redirection below a file and onto a folder", Ini::Written,
       "[Java Runtime Environment]\r\nMain Class=test.Print\r\n" + kClassPath +
           "[Application]\r\nOutput File=<app>\\blocker\\out.txt\r\nError File=<app>\r\n",
       {{L"blocker", "a file"}}, 0, "",
       {"java.io.FileNotFoundException: <app>\\blocker\\out.txt", "java.io.FileNotFoundException: <app> ",
        "stderr line"}},
      {"splash image missing", Ini::Written, kMain + kClassPath + "[Display]\r\nSplash Screen=<app>\\none.png\r\n",
       {}, 0, ""},
      {"splash image of garbage", Ini::Written, kMain + kClassPath + "[Display]\r\nSplash Screen=<app>\\splash.png\r\n",
       {{L"splash.png", randomBytes(4096, 13)}}, 0, ""},
      // Its C runtime first, by full path; then what jvm.dll imports, from bin
      // rather than the current folder (the planted one ends the process with 77).
      {"a library of the runtime planted in the current folder", Ini::Written, kMain + kClassPath,
       {{L"Downloads\\bin_helper.dll", fileBytes(testRuntimeVariant(L"planted") + L"\\bin_helper.dll")}}, 0, "", {},
       L"dependency-in-bin", L"Downloads", {"msvcr100.dll", "bin_helper.dll"}},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    JavaApp app(currentTestName() + std::to_wstring(n++));
    app.addRuntime(L"jre", c.runtime ? testRuntimeVariant(c.runtime) : testRuntime());
    const std::wstring currentFolder = c.currentFolder.empty() ? L"" : app.path() + L"\\" + c.currentFolder;
    if (!currentFolder.empty()) CreateDirectoryW(currentFolder.c_str(), nullptr);
    for (const auto& [name, content] : c.files) app.folder().writeFile(name, content);
    std::string ini = c.ini;
    replaceAll(ini, "<app>", narrow(app.path()));
    const std::wstring iniPath = app.path() + L"\\Shop.ini";
    if (c.state == Ini::Written || c.state == Ini::Locked) app.writeIni(ini);
    if (c.state == Ini::Folder) CreateDirectoryW(iniPath.c_str(), nullptr);
    // Locked: opened here without sharing for as long as the launch runs.
    HANDLE lock = c.state != Ini::Locked
                      ? INVALID_HANDLE_VALUE
                      : CreateFileW(iniPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (c.state == Ini::Locked) {
      ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    }
    robot::Outcome outcome = launchCapturing(app, answersFor(c.message), currentFolder);
    if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
    expectEnd(outcome, c.exitCode, c.message);
    EXPECT_EQ(app.journal("main").size(), c.exitCode == 0 ? 1u : 0u) << app.journalText();
    EXPECT_EQ(app.journal("bin-library"), c.binLibraries) << app.journalText();
    for (std::string text : c.errorOutput) {
      replaceAll(text, "<app>", narrow(app.path()));
      EXPECT_NE(outcome.output.find(text), std::string::npos) << text << "\n" << outcome.output;
    }
    for (const robot::Window& w : outcome.windows) {
      if (!w.isDialog()) {
        EXPECT_TRUE(w.width() == 0 || w.height() == 0) << "nothing to see of an unreadable splash";
      }
    }
  }
}

TEST(BadInput, VmLibraries) {
  const std::string real = fileBytes(testRuntime() + L"\\bin\\server\\jvm.dll");
  ASSERT_GT(real.size(), 2048u);
  const struct {
    const char* name;
    std::string bytes;   // the jvm.dll, in a copy of the test runtime
    bool configured;     // in "JRE Path" with a paired product (so it is machine-checked), else beside the executable
    bool otherMachine;   // the other machine's runtime instead
  } cases[] = {
      {"text beside the executable", "This is not a library.\r\n", false, false},
      {"text starting with MZ, configured", "MZ but no more than text.\r\n", true, false},
      {"empty beside the executable", "", false, false},
      {"first 1.5 KB beside the executable", real.substr(0, 1536), false, false},
      {"first 1.5 KB, configured", real.substr(0, 1536), true, false},
      {"DOS header only, configured", real.substr(0, 64), true, false},
      {"the other machine's, beside the executable", "", false, true},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.otherMachine && otherMachineRuntime().empty()) {
      std::printf("[  SKIPPED ] %s: the other machine's test runtime is not built\n", c.name);
      continue;
    }
    JavaApp app(currentTestName() + std::to_wstring(n++));
    const std::wstring where = c.configured ? L"rt" : L"jre";
    std::wstring home = app.addRuntime(where, c.otherMachine ? otherMachineRuntime() : testRuntime());
    if (!c.otherMachine) app.folder().writeFile(where + L"\\bin\\server\\jvm.dll", c.bytes);
    app.writeIni(kMain + (c.configured ? "JRE Path=" + narrow(home) + "\r\n" : "") + kClassPath +
                 (c.configured ? "[Application]\r\nPair Product=" + narrow(app.path()) + "\\Shop64.exe\r\n" : ""));
    robot::Outcome outcome = app.launch(L"", {L"OK"});
    // Wine reports 193 for all of them; Windows may report 1006 for the empty file.
    const std::string jvm = narrow(home) + "\\bin\\server\\jvm.dll";
    expectEnd(outcome, -1, "Failed to load Java VM library: " + jvm + " (errno = 193).\n");
    EXPECT_EQ(app.journalText(), "") << "no part of the runtime ran";
  }
}

}  // namespace
