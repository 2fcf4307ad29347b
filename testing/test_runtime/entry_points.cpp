#include "entry_points.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "freeze.h"
#include "vm/jni_init_args_1_1.h"
#include "journal.h"
#include "objects.h"
#include "option_lists.h"
#include "options.h"
#include "runtime_state.h"
#include "streams.h"
#include "text.h"
#include "thread.h"
#include "vm_table.h"

namespace test_runtime {
namespace {

std::string hex(jint value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(value));
  return text;
}

std::string environmentValue(const wchar_t* name) {
  std::wstring buffer(32768, L'\0');
  const DWORD length = GetEnvironmentVariableW(name, buffer.data(), 32768);
  return length < 32768 ? toUtf8(std::wstring_view(buffer.data(), length)) : "";
}

void journalCaller() {
  const DWORD id = GetCurrentThreadId();
  journal("create-thread", static_cast<long long>(id));
  journal("create-thread-is-loader", id == runtimeState.loaderThread.load() ? 1 : 0);
  ULONG_PTR low = 0;
  ULONG_PTR high = 0;
  GetCurrentThreadStackLimits(&low, &high);
  journal("create-stack", static_cast<long long>(high - low));
  journal("code-page", static_cast<long long>(GetACP()));
  journal("env-QL_JVM_PATH", environmentValue(L"QL_JVM_PATH"));
  journal("env-QL_JVM_HOME", environmentValue(L"QL_JVM_HOME"));
  journal("env-Path", environmentValue(L"Path"));
}

// When the VM is asked for: the performance counter (comparable across
// processes, for launch timings) and the process's resident memory.
void journalCreationMoment() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  journal("create-clock", static_cast<long long>(now.QuadPart));
  journalWorkingSet("create-working-set");
}

using VfprintfHook = jint(JNICALL*)(FILE* stream, const char* format, va_list args);

jint callHook(VfprintfHook hook, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const jint result = hook(stderr, format, args);
  va_end(args);
  return result;
}

// What the VM says: through the launcher's hook when it has one, else on
// standard error.
void vmPrint(VfprintfHook hook, const std::string& text) {
  if (hook) {
    callHook(hook, "%s", text.c_str());
  } else {
    printLine(systemErr(), text.substr(0, text.find_last_not_of('\n') + 1));
  }
}

jint finish(jint status) {
  journal("status", static_cast<long long>(status));
  return status;
}

// The runtime's home: three levels above bin\server\jvm.dll.
int playedJavaVersion(HMODULE module) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 0;
  std::string home(path, length);
  for (int level = 0; level < 3; ++level) home.resize(home.find_last_of('\\') == std::string::npos ? 0 : home.find_last_of('\\'));
  HANDLE file = CreateFileA((home + "\\release").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  char text[4096];
  DWORD read = 0;
  ReadFile(file, text, sizeof text, &read, nullptr);
  CloseHandle(file);
  return releaseJavaVersion(std::string_view(text, read));
}

}  // namespace

void onProcessAttach(HMODULE module) {
  runtimeState.javaVersion = playedJavaVersion(module);
  journalSetHome(module, 2);
  runtimeState.loaderThread = GetCurrentThreadId();
  journal("loaded-thread", static_cast<long long>(GetCurrentThreadId()));
}

jint createJavaVm(JavaVM** vm, void** env, void* args) {
  journalCreationMoment();
  journalCaller();
  // Java takes its standard streams' handles as the VM starts.
  systemOut();
  systemErr();
  const auto* init = static_cast<const JavaVMInitArgs*>(args);
  if (!init || !vm || !env) return finish(JNI_EINVAL);
  journal("version", hex(init->version));
  if (init->version < JNI_VERSION_1_2) return finish(JNI_EVERSION);
  journal("ignore-unrecognized", init->ignoreUnrecognized ? 1 : 0);

  // The first option HotSpot would refuse decides, as it stops there too.
  OptionVerdict verdict;
  std::optional<std::string> rejected;
  std::optional<jint> requested;
  std::vector<std::string> texts;
  // Benchmarks pass huge option lists and need only the timings.
  const bool journalOptions = environmentValue(L"TEST_JVM_JOURNAL_OPTIONS") != "0";
  ExitHook exitHook = nullptr;
  AbortHook abortHook = nullptr;
  bool reduceSignals = false;
  // HotSpot reads its options in order: messages about options before the
  // hook go to standard error.
  VfprintfHook printHook = nullptr;
  VfprintfHook rejectionHook = nullptr;
  std::optional<std::string> heapFailure;
  for (jint i = 0; i < init->nOptions; ++i) {
    const JavaVMOption& option = init->options[i];
    const std::string text = option.optionString ? option.optionString : "";
    if (journalOptions) {
      journal("option", text);
      texts.push_back(text);
    }
    if (option.extraInfo) journal("option-hook", text);
    if (text == "exit") exitHook = reinterpret_cast<ExitHook>(option.extraInfo);
    if (text == "abort") abortHook = reinterpret_cast<AbortHook>(option.extraInfo);
    if (text == "vfprintf") printHook = reinterpret_cast<VfprintfHook>(option.extraInfo);
    if (!requested) requested = requestedStatus(text);
    if (text == "-Dtest.jvm.quiet-lookups") runtimeState.quietLookups = true;
    if (text == "-Xrs") reduceSignals = true;
    if (text.rfind("-Djdk.module.main=", 0) == 0) runtimeState.mainModule = text.substr(18);
    if (text.rfind("-Djava.class.path=", 0) == 0) runtimeState.classPath = text.substr(18);
    if (text.rfind("--module-path=", 0) == 0) runtimeState.modulePath = text.substr(14);
    if (text == "-Dtest.jvm.journal-footprint") runtimeState.journalFootprint = true;
    if (text.rfind("-Dtest.jvm.shutdown-delay=", 0) == 0) runtimeState.shutdownDelayMs = std::atoi(text.c_str() + 26);
    if (text.rfind("-Dtest.jvm.secondary-delay=", 0) == 0) runtimeState.secondaryDelayMs = std::atoi(text.c_str() + 27);
    // A slow VM start, for launches that arrive meanwhile.
    if (text.rfind("-Dtest.jvm.create-delay=", 0) == 0) Sleep(static_cast<DWORD>(std::atoi(text.c_str() + 24)));
    // The whole process stalled, its other threads included.
    if (text.rfind("-Dtest.jvm.freeze=", 0) == 0) freezeOtherThreads(static_cast<DWORD>(std::atoi(text.c_str() + 18)));
    if (!rejected && !init->ignoreUnrecognized) {
      OptionVerdict judged = judgeOption(text, runtimeState.javaVersion);
      if (judged.status != JNI_OK) {
        verdict = judged;
        rejected = text;
        rejectionHook = printHook;
      } else if (text.rfind("-Xmx", 0) == 0) {
        // The last maximum counts.
        heapFailure = judged.unreservableHeap ? std::optional<std::string>(judged.message) : std::nullopt;
      }
    }
  }
  if (journalOptions) {
    keepOptionList(rejected ? verdict.status : heapFailure ? JNI_ERR : JNI_OK, runtimeState.javaVersion, texts);
  }

  if (runtimeState.created) return finish(JNI_EEXIST);
  if (rejected) {
    journal("reject", *rejected);
    vmPrint(rejectionHook, verdict.message + "\n");
    return finish(verdict.status);
  }
  if (requested && *requested != JNI_OK) return finish(*requested);
  if (heapFailure) {
    // As HotSpot: the reason, then the process ends without the exit hook.
    journal("heap-failure", *heapFailure);
    vmPrint(printHook, "Error occurred during initialization of VM\n");
    vmPrint(printHook, *heapFailure + "\n");
    ExitProcess(1);
  }

  runtimeState.created = true;
  if (!reduceSignals) handleConsoleEvents();
  runtimeState.exitHook = exitHook;
  runtimeState.abortHook = abortHook;
  *vm = theVm();
  *env = attachCurrentThread("main").env();
  return finish(JNI_OK);
}

jint defaultInitArgs(void* args) {
  if (!args) return JNI_ERR;
  auto* old = static_cast<Jdk11InitArgs*>(args);
  journal("default-args", hex(old->version));
  // HotSpot on Windows leaves the stack size as it was: its default thread
  // stack size there is 0, "the system's default".
  if (old->version == JNI_VERSION_1_1) return JNI_OK;
  return old->version >= JNI_VERSION_1_2 ? JNI_OK : JNI_EVERSION;
}

jclass findBootClass(JNIEnv*, const char* name) {
  journal("find-class-boot", name ? name : "");
  Class* found = name ? findClass(name) : nullptr;
  return found && found->bootClass ? wrap<_jclass>(found) : nullptr;
}

}  // namespace test_runtime
