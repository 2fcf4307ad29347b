#include "app_folder.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <fstream>

namespace {

void removeTree(const std::wstring& path) {
  std::wstring from = path + L'\0';  // the shell wants a double-NUL list
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  SHFileOperationW(&op);
}

void createTree(const std::wstring& path) {
  for (size_t pos = path.find(L'\\', 3); pos != std::wstring::npos; pos = path.find(L'\\', pos + 1)) {
    CreateDirectoryW(path.substr(0, pos).c_str(), nullptr);
  }
  CreateDirectoryW(path.c_str(), nullptr);
}

}  // namespace

std::wstring launcherUnderTest() {
  const char* value = getenv("LAUNCHER_EXE");
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
  std::wstring target = path_ + L"\\" + exeName;
  EXPECT_TRUE(CopyFileW(launcherUnderTest().c_str(), target.c_str(), FALSE)) << "cannot copy the launcher, error " << GetLastError();
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
  return robot::run(launch);
}
