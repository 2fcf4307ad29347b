#include "instances.h"

#include <gtest/gtest.h>

#include "process_start/process_start.h"

namespace instances {

const std::string kClassPath = "[Class Path]\r\nClass Path=C:\\x.jar\r\n";

HANDLE start(const JavaApp& app, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + app.path() + L"\\Shop.exe\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!startProcess(nullptr, commandLine.data(), FALSE, 0, nullptr, nullptr, &startup, &process)) {
    ADD_FAILURE() << "could not start Shop.exe: error " << GetLastError();
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

int finish(HANDLE process, DWORD timeoutMs) {
  if (!process) return -999;
  DWORD exitCode = 0xDEAD;
  if (WaitForSingleObject(process, timeoutMs) == WAIT_TIMEOUT) TerminateProcess(process, 0xDEAD);
  GetExitCodeProcess(process, &exitCode);
  CloseHandle(process);
  return static_cast<int>(exitCode);
}

bool waitForJournal(const JavaApp& app, const std::string& key, size_t count) {
  for (int i = 0; i < 200; ++i) {
    if (app.journal(key).size() >= count) return true;
    Sleep(50);
  }
  return false;
}

FirstInstance::FirstInstance(const JavaApp& app, const char* mainClass, const std::string& extra) : app_(app) {
  stop_ = CreateEventW(nullptr, TRUE, FALSE, L"test_runtime_stop");
  ResetEvent(stop_);
  app.writeIni(std::string("[Java Runtime Environment]\r\nMain Class=") + mainClass + "\r\n" + kClassPath +
               "[Application]\r\nSingle Instance=yes\r\n" + extra);
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", (app.path() + L"\\journal.txt").c_str());
  process_ = start(app, L"first");
  EXPECT_TRUE(waitForJournal(app, "main")) << app.journalText();
}

FirstInstance::~FirstInstance() {
  SetEvent(stop_);
  finish(process_);
  CloseHandle(stop_);
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", nullptr);
}

}  // namespace instances
