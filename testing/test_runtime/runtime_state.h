#pragma once
// Process-wide state of the stand-in VM.
#include <jni.h>
#include <windows.h>

#include <atomic>
#include <string>

namespace test_runtime {

using ExitHook = void(JNICALL*)(jint);
using AbortHook = void(JNICALL*)();

struct RuntimeState {
  std::atomic<DWORD> loaderThread{0};
  std::atomic<bool> created{false};
  std::atomic<ExitHook> exitHook{nullptr};
  std::atomic<AbortHook> abortHook{nullptr};
  // -Dtest.jvm.quiet-lookups: a missing method gives null with no exception
  // pending, as some runtimes do, so the launcher's own message shows.
  std::atomic<bool> quietLookups{false};
  // -Dtest.jvm.journal-footprint: every secondaryMain call journals the
  // process's handles and resident memory, for leak checks.
  std::atomic<bool> journalFootprint{false};
  // The Java version this runtime plays: JAVA_VERSION of the release file in
  // its home folder, 0 without one (it then judges options as Java 17).
  std::atomic<int> javaVersion{0};
  // -Dtest.jvm.shutdown-delay=<ms>: an application shutdown hook that takes
  // that long, while the launcher's own hook runs beside it.
  std::atomic<DWORD> shutdownDelayMs{0};
  // -Dtest.jvm.secondary-delay=<ms>: secondaryMain takes that long.
  std::atomic<DWORD> secondaryDelayMs{0};
  // -Djdk.module.main=<module>: the module that is a root of the boot layer.
  // Set while the VM is created, read after.
  std::string mainModule;
  // The class path and module path options' values, as the option bytes came.
  std::string classPath, modulePath;
};

inline RuntimeState runtimeState;

// System.exit: journals, calls the launcher's exit hook, ends the process.
[[noreturn]] void exitRuntime(jint status);
// Ctrl+C, Ctrl+Break and the console's end reach the VM, as HotSpot's
// handler takes them unless -Xrs.
void handleConsoleEvents();

}  // namespace test_runtime
