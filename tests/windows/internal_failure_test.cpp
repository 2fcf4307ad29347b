// An internal failure ends the launcher at once, without a message, with the
// failure's HRESULT: an index or length out of range E_INVALIDARG, anything
// else E_FAIL.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "robot/robot.h"

namespace {

// The probe's exit code, and whether it ended by itself without showing a window.
DWORD probeExitCode(const std::wstring& failure, bool& quiet) {
  wchar_t own[MAX_PATH];
  GetModuleFileNameW(nullptr, own, MAX_PATH);
  robot::Launch launch;
  launch.program = own;
  launch.program.replace(launch.program.rfind(L'\\') + 1, std::wstring::npos, L"internal_failure_probe.exe");
  launch.commandLine = L"\"" + launch.program + L"\" " + failure;
  const robot::Outcome outcome = robot::run(launch);
  quiet = outcome.started && !outcome.timedOut && outcome.windows.empty();
  return outcome.exitCode;
}

TEST(InternalFailure, EndsWithTheFailuresHresult) {
  const struct {
    const wchar_t* failure;
    DWORD code;
  } cases[] = {
      {L"none", 0},
      {L"at", 0x80070057},
      {L"substr", 0x80070057},
      {L"length", 0x80070057},
      {L"memory", 0x80004005},
      {L"optional", 0x80004005},
  };
  for (const auto& c : cases) {
    bool quiet = false;
    EXPECT_EQ(probeExitCode(c.failure, quiet), c.code) << c.failure;
    EXPECT_TRUE(quiet) << c.failure;
  }
}

}  // namespace
