#include "app_folder.h"

#include <gtest/gtest.h>

#include "file_tree/file_tree.h"

#include <fstream>

namespace {

// The class path and module path many settings name, so that the runtime
// finds the application's classes there as a real one would.
class SharedEntries : public testing::Environment {
 public:
  void SetUp() override {
    std::ofstream(L"C:\\x.jar", std::ios::binary);
    CreateDirectoryW(L"C:\\mods", nullptr);
  }
};

const testing::Environment* const sharedEntries = testing::AddGlobalTestEnvironment(new SharedEntries);

}  // namespace

std::wstring launcherUnderTest() { return programFromEnvironment("LAUNCHER_EXE"); }

std::wstring programFromEnvironment(const char* variable) {
  const char* value = getenv(variable);
  if (!value) return L"";
  std::wstring path(value, value + strlen(value));
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path[0] == L'\\' ? L"Z:" + path : path;
}

std::wstring currentTestName() {
  const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "-" + info->name();
  for (char& c : name) {
    if (c == '/' || c == '.') c = '-';
  }
  return std::wstring(name.begin(), name.end());
}

AppFolder::AppFolder(const std::wstring& name) : path_(name.find(L'\\') == std::wstring::npos ? L"C:\\e2e\\" + name : name) {
  removeTree(path_);
  createTree(path_);
}

std::wstring AppFolder::installLauncher(const std::wstring& exeName) const {
  return installProgram(launcherUnderTest(), exeName);
}

std::wstring AppFolder::installProgram(const std::wstring& source, const std::wstring& exeName) const {
  std::wstring target = path_ + L"\\" + exeName;
  EXPECT_TRUE(CopyFileW(source.c_str(), target.c_str(), FALSE)) << "cannot copy a program, error " << GetLastError();
  return target;
}

void AppFolder::writeFile(const std::wstring& name, const std::string& content) const {
  std::ofstream((path_ + L"\\" + name).c_str(), std::ios::binary) << content;
}

robot::Outcome AppFolder::run(const std::wstring& exeName, const std::wstring& arguments,
                              std::vector<std::wstring> presses) const {
  robot::Launch launch;
  launch.program = path_ + L"\\" + exeName;
  launch.commandLine = L"\"" + launch.program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  launch.presses = std::move(presses);
  launch.timeoutMs = 30000;
  // Every dialog a test meets is kept as a picture, for a person to look at.
  std::wstring artifacts = programFromEnvironment("ARTIFACTS_DIR");
  if (!artifacts.empty()) {
    launch.screenshotFolder = artifacts + path_.substr(path_.rfind(L'\\'));
    createTree(launch.screenshotFolder);
  }
  return robot::run(launch);
}

std::string report(const robot::Outcome& outcome) {
  std::wstring text = robot::describe(outcome);
  return std::string(text.begin(), text.end());
}
