// An internal failure ends the launcher at once, without a message, with the
// failure's HRESULT: an index or length out of range E_INVALIDARG, anything
// else E_FAIL.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "process_start/process_start.h"

namespace {

DWORD probeExitCode(const std::wstring& failure) {
  wchar_t own[MAX_PATH];
  GetModuleFileNameW(nullptr, own, MAX_PATH);
  std::wstring program = own;
  program.replace(program.rfind(L'\\') + 1, std::wstring::npos, L"internal_failure_probe.exe");
  std::wstring commandLine = L"\"" + program + L"\" " + failure;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!startProcess(program.c_str(), commandLine.data(), FALSE, 0, nullptr, nullptr, &startup, &process)) return 1;
  WaitForSingleObject(process.hProcess, 60000);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
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
  for (const auto& c : cases) EXPECT_EQ(probeExitCode(c.failure), c.code) << c.failure;
}

}  // namespace
