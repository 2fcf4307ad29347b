#include "instances.h"

#include <gtest/gtest.h>

#include <algorithm>

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
  if (WaitForSingleObject(process, robot::bound(timeoutMs)) == WAIT_TIMEOUT) TerminateProcess(process, 0xDEAD);
  GetExitCodeProcess(process, &exitCode);
  CloseHandle(process);
  return static_cast<int>(exitCode);
}

bool waitForJournal(const JavaApp& app, const std::string& key, size_t count) {
  for (DWORD i = 0; i < robot::bound(10000) / 50; ++i) {
    if (app.journal(key).size() >= count) return true;
    Sleep(50);
  }
  return false;
}

FirstInstance::FirstInstance(const JavaApp& app, const char* mainClass, const std::string& extra,
                             const char* reachedKey)
    : app_(app) {
  stop_ = CreateEventW(nullptr, TRUE, FALSE, L"test_runtime_stop");
  ResetEvent(stop_);
  app.writeIni(std::string("\xEF\xBB\xBF[Java Runtime Environment]\r\nMain Class=") + mainClass + "\r\n" + kClassPath +
               "[Application]\r\nSingle Instance=yes\r\n" + extra);
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", (app.path() + L"\\journal.txt").c_str());
  const size_t before = app.journal(reachedKey).size();
  process_ = start(app, L"first");
  EXPECT_TRUE(waitForJournal(app, reachedKey, before + 1)) << app.journalText();
}

int FirstInstance::end() {
  if (!stop_) return exitCode_;
  SetEvent(stop_);
  exitCode_ = finish(process_);
  CloseHandle(stop_);
  stop_ = nullptr;
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", nullptr);
  return exitCode_;
}

std::string BurstTally::text() const {
  return "delivered exactly once " + std::to_string(deliveredOnce) + ", ran its own VM " + std::to_string(ranOwnVm) +
         ", ended with -1 " + std::to_string(refused) + ", lost " + std::to_string(lost) + ", duplicated " +
         std::to_string(duplicated) + ", hung " + std::to_string(hung) + ", other " + std::to_string(other);
}

namespace {

bool contains(const std::vector<std::string>& records, const std::string& record) {
  return std::find(records.begin(), records.end(), record) != records.end();
}

// Waits up to a minute until each launch has ended or runs main itself.
void waitUntilAccountedFor(const JavaApp& app, const std::vector<HANDLE>& launches) {
  for (int poll = 0; poll < 600; ++poll) {
    const std::vector<std::string> mains = app.journal("main-args");
    bool all = true;
    for (size_t i = 0; i < launches.size() && all; ++i) {
      all = !launches[i] || WaitForSingleObject(launches[i], 0) != WAIT_TIMEOUT ||
            contains(mains, "request|" + std::to_string(i));
    }
    if (all) return;
    Sleep(100);
  }
}

}  // namespace

BurstTally burstOfSecondaries(const JavaApp& app, const std::string& vmOption, const char* reachedKey, int count,
                              bool duringShutdown) {
  const std::string options =
      vmOption.empty() ? "" : "[Java Runtime Environment+]\r\nVirtual Machine Parameters=" + vmOption + "\r\n";
  FirstInstance first(app, "test.Secondary", options, reachedKey);
  HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, L"test_runtime_stop");  // the first instance's
  if (duringShutdown) {
    SetEvent(stop);
    EXPECT_TRUE(waitForJournal(app, "stopped")) << app.journalText();
  }
  std::vector<HANDLE> launches;
  for (int i = 0; i < count; ++i) launches.push_back(start(app, L"request " + std::to_wstring(i)));
  if (duringShutdown) {
    EXPECT_EQ(first.end(), 0) << "the first instance ends";
    // The launches that take its place stay up for the others.
    ResetEvent(stop);
    waitUntilAccountedFor(app, launches);
    SetEvent(stop);
  }
  std::vector<int> exitCodes;
  // A launch whose request is in the block waits as long as the first
  // instance stalls; the others give up after ten seconds.
  for (HANDLE launch : launches) exitCodes.push_back(finish(launch, 120000));
  EXPECT_EQ(first.end(), 0);
  if (stop) CloseHandle(stop);

  const std::vector<std::string> delivered = app.journal("secondary");
  const std::vector<std::string> mains = app.journal("main-args");
  BurstTally tally;
  size_t accounted = 0;
  for (int i = 0; i < count; ++i) {
    const std::string request = "request|" + std::to_string(i);
    const auto times = static_cast<size_t>(std::count(delivered.begin(), delivered.end(), request));
    const bool ranOwnVm = contains(mains, request);
    accounted += times;
    if (times + ranOwnVm > 1) {
      ++tally.duplicated;
    } else if (exitCodes[i] == 0xDEAD) {
      ++tally.hung;
    } else if (exitCodes[i] == 0) {
      ++(times == 1 ? tally.deliveredOnce : ranOwnVm ? tally.ranOwnVm : tally.lost);
    } else if (exitCodes[i] == -1 && times == 0) {
      ++tally.refused;
    } else {
      ++tally.other;
      ADD_FAILURE() << "request " << i << " ended with " << exitCodes[i] << ", delivered " << times << " times";
    }
  }
  EXPECT_EQ(accounted, delivered.size()) << "only the requests were delivered: " << app.journalText();
  return tally;
}

}  // namespace instances
