// Entry point of the launcher executable.
#include <windows.h>

#include <exception>
#include <new>
#include <stdexcept>

#include "common/launch_trace.h"
#include "launcher/launcher_app.h"

namespace {

// The exit codes of an internal failure: HRESULTs, which no ordinary outcome
// of a launch can be.
constexpr int32_t kGeneralFailure = static_cast<int32_t>(0x80004005);   // E_FAIL
constexpr int32_t kInvalidArgument = static_cast<int32_t>(0x80070057);  // E_INVALIDARG: an index or length out of range

// Nothing in the launch catches an internal failure. When one escapes, the
// process ends at once, without a message, and its exit code is the failure's
// HRESULT, so that it can be told apart from every ordinary outcome.
[[noreturn]] void endOnInternalFailure() {
  int32_t code = kGeneralFailure;
  try {
    if (std::exception_ptr failure = std::current_exception()) std::rethrow_exception(failure);
  } catch (const std::out_of_range&) {
    code = kInvalidArgument;
  } catch (const std::length_error&) {
    code = kInvalidArgument;
  } catch (...) {
  }
  ExitProcess(static_cast<UINT>(code));
}

}  // namespace

// The library's own default handler prints the failure with demangled names
// on a console the launcher does not have; this one takes its place, so that
// an internal failure ends the same way however it escapes.
namespace __gnu_cxx {
void __verbose_terminate_handler() { endOnInternalFailure(); }
}  // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::set_terminate(endOnInternalFailure);
  int32_t result = -1;
  {
    LauncherApp app;
    SetThreadLocale(GetSystemDefaultLCID());
    if (app.Init()) result = app.Run();
  }
  if (trace::enabled()) trace::line("exit code " + std::to_string(result));
  return result;
}
