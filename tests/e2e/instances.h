#pragma once
// Launches as real processes, for single-instance and stability tests: Shop.exe
// started without the robot, and a first instance that stays up.
#include <windows.h>

#include <string>

#include "java_app.h"

namespace instances {

extern const std::string kClassPath;

// Starts Shop.exe of `app`; null when it cannot be started.
HANDLE start(const JavaApp& app, const std::wstring& arguments);
// The process's exit code once it has ended (ended by force after the
// timeout); -999 for a launch that never started.
int finish(HANDLE process, DWORD timeoutMs = 20000);
// Waits up to ten seconds for `count` records of `key` in the journal.
bool waitForJournal(const JavaApp& app, const std::string& key, size_t count = 1);

// A single-instance application's first instance, running `mainClass` until
// the test lets it go.
class FirstInstance {
 public:
  FirstInstance(const JavaApp& app, const char* mainClass, const std::string& extra = "");
  ~FirstInstance();
  int secondary(const std::wstring& arguments) { return finish(start(app_, arguments)); }

 private:
  const JavaApp& app_;
  HANDLE stop_ = nullptr;
  HANDLE process_ = nullptr;
};

}  // namespace instances
