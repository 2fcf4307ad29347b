#pragma once
// Launches as real processes, for single-instance and stability tests: Shop.exe
// started without the robot, and a first instance that stays up.
#include <windows.h>

#include <string>
#include <vector>

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
// the test lets it go. The constructor returns once the journal holds one
// more `reachedKey` record than before (the first instance is that far).
class FirstInstance {
 public:
  FirstInstance(const JavaApp& app, const char* mainClass, const std::string& extra = "",
                const char* reachedKey = "main");
  ~FirstInstance() { end(); }
  int secondary(const std::wstring& arguments) { return finish(start(app_, arguments)); }
  // Lets the first instance go; its exit code once it has ended (its
  // deliveries have all run by then).
  int end();

 private:
  const JavaApp& app_;
  HANDLE stop_ = nullptr;
  HANDLE process_ = nullptr;
  int exitCode_ = -999;
};

// What became of a burst of launches "request 0" ... "request N-1": each
// should be delivered exactly once and end with 0, run main in a VM of its
// own once the first instance has ended, or be refused with -1 and never
// delivered.
struct BurstTally {
  int deliveredOnce = 0;
  int ranOwnVm = 0;
  int refused = 0;
  int lost = 0;        // ended with 0, never delivered
  int duplicated = 0;  // delivered more than once
  int hung = 0;        // still running after two minutes
  int other = 0;       // another exit code, or -1 although delivered
  std::string text() const;
};

// Starts `count` launches at once against a first instance of test.Secondary
// run with the VM option `vmOption` (if any), as soon as its journal holds
// `reachedKey`; tallies them once the first instance has ended. With
// `duringShutdown` the first instance is let go first and the launches
// start as its VM shuts down; a launch that then runs its own VM stays up
// until every launch is accounted for.
BurstTally burstOfSecondaries(const JavaApp& app, const std::string& vmOption, const char* reachedKey, int count,
                              bool duringShutdown = false);

}  // namespace instances
