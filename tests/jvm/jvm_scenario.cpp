// Runs one scenario of the launcher's JNI code against a real HotSpot, in a
// process of its own (a VM can be created once per process):
//   jvm_scenario LIBJVM CLASSES SCENARIO [OUT_FILE ERR_FILE]
//   jvm_scenario LIBJVM CLASSES launch MODE TEXT [ARGUMENT...]
// JVM_SCENARIO_OPTIONS in the environment adds VM options, one a line.
// Reports and results go to standard output as "key=value" lines.
#include <dlfcn.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <atomic>
#include <cstring>
#include <future>
#include <sstream>
#include <string>
#include <thread>

#include "vm/java_session.h"
#include "vm/shutdown_hook.h"

namespace {

void line(const std::string& key, const std::string& value) {
  std::printf("%s=%s\n", key.c_str(), value.c_str());
  std::fflush(stdout);
}

std::atomic<jclass> heldMainClass{nullptr};

class ScenarioHost : public JavaHost {
 public:
  explicit ScenarioHost(bool stop) : stop_(stop) {}
  void report(const Failure& failure) override {
    std::string text;
    for (const String& insert : failure.inserts) {
      if (!text.empty()) text += "|";
      text += toUtf8(insert);
    }
    line("report " + std::to_string(failure.textId), text);
  }
  void mainAboutToRun(jclass mainClass) override {
    heldMainClass = mainClass;
    line("main-about-to-run", "1");
  }
  void mainThrew() override { line("main-threw", "1"); }
  bool askStopOnException(JNIEnv* env, jthrowable thrown) override {
    line("trace", toUtf8(stackTraceText(env, thrown)));
    return stop_;
  }
  void park() override {
    for (;;) pause();
  }
  void endProcess(int32_t code) override {
    line("end-process", std::to_string(code));
    _exit(code);
  }

 private:
  bool stop_;
};

// A secondary launch's delivery taken before the VM began to shut down,
// which attaches 1.3 s into the application's 1.5 s shutdown hook and calls
// a 1.5 s secondaryMain. With "late-delivery" the launcher's own hook waits
// for it; without, the VM ends under it and leaves it blocked for good.
struct LateDelivery {
  std::future<void> done;
  explicit LateDelivery(JavaVM* vm)
      : done(std::async(std::launch::async, [vm] {
          std::this_thread::sleep_for(std::chrono::milliseconds(1300));
          deliverSecondary(vm, heldMainClass, {u"late"}, false, [](int32_t) {});
          line("delivery-ended", "1");
        })) {}
};

void waitForDelivery(void* delivery) {
  line("launcher-hook", "1");
  auto& late = *static_cast<LateDelivery*>(delivery);
  line("launcher-hook-waited", late.done.wait_for(std::chrono::seconds(5)) == std::future_status::ready ? "1" : "0");
}

template <typename T>
T entry(void* library, const char* name) {
  return reinterpret_cast<T>(dlsym(library, name));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: jvm_scenario LIBJVM CLASSES SCENARIO [OUT_FILE ERR_FILE]\n");
    return 2;
  }
  const std::string scenario = argv[3];
  void* library = dlopen(argv[1], RTLD_NOW);
  if (!library) {
    line("load-error", dlerror());
    return 3;
  }
  auto create = entry<CreateJavaVmEntry>(library, "JNI_CreateJavaVM");
  auto defaults = entry<DefaultInitArgsEntry>(library, "JNI_GetDefaultJavaVMInitArgs");
  auto finder = entry<FindClassFromBootLoaderEntry>(library, "JVM_FindClassFromBootLoader");
  line("default-stack", std::to_string(defaultStackSize(defaults)));

  std::vector<std::string> options{std::string("-Djava.class.path=") + argv[2]};
  if (scenario == "bad-option") options.push_back("-Xbogus-option");
  if (scenario == "huge-heap") options.push_back("-Xmx900000g");
  std::istringstream extra(std::getenv("JVM_SCENARIO_OPTIONS") ? std::getenv("JVM_SCENARIO_OPTIONS") : "");
  for (std::string option; std::getline(extra, option);) {
    if (!option.empty()) options.push_back(option);
  }
  JavaVM* vm = nullptr;
  JNIEnv* env = nullptr;
  std::string printed;
  auto fatal = [](const std::string& said) {
    line("fatal", said);
    _exit(5);
  };
  jint status = createVmWithHooks(create, options, &vm, &env, &printed, fatal);
  line("create-status", std::to_string(status));
  if (status != 0) {
    line("reason", std::to_string(vmCreationReason(status)));
    line("printed", printed);
    return 1;
  }

  if (argc >= 6 && scenario == "print") {
    line("redirect-out", redirectJavaStream(env, fromUtf8(argv[4]), false, JavaStream::Out) ? "1" : "0");
    line("redirect-err", redirectJavaStream(env, fromUtf8(argv[5]), true, JavaStream::Err) ? "1" : "0");
  }

  MainInvocation call;
  call.findClassFromBootLoader = scenario.find("plain") == std::string::npos ? finder : nullptr;
  ScenarioHost host(scenario == "throw-stop");
  const struct {
    const char* scenario;
    const char16_t* mainClass;
    StringList arguments;
  } scenarios[] = {
      {"echo", u"com.example.App", {u"first", u"", u"blank in it", u"\u65e5\u672c \U0001F600 \u00fc"}},
      {"missing", u"com.example.Missing", {}},
      {"no-main", u"test.NoMain", {}},
      {"instance-main", u"test.InstanceMain", {u"one", u"two"}},
      {"no-args-main", u"test.NoArgsMain", {}},
      {"instance-no-args-main", u"test.InstanceNoArgsMain", {}},
      {"both-mains", u"test.BothMains", {}},
      {"print", u"test.Print", {}},
      {"exit", u"test.Exit", {u"7"}},
      {"threaded", u"test.Threaded", {}},
      {"late-delivery", u"test.SlowShutdown", {}},
      {"late-delivery-unwaited", u"test.SlowShutdown", {}},
      {"throw", u"test.Throw", {}},
      {"throw-ignore", u"test.Throw", {}},
      {"throw-stop", u"test.Throw", {}},
  };
  const std::string named = scenario.substr(0, scenario.find("-plain"));
  if (scenario == "launch" && argc >= 6) {
    call.main = {static_cast<LaunchMode>(std::atoi(argv[4])), fromUtf8(argv[5])};
    for (int i = 6; i < argc; ++i) call.arguments.push_back(fromUtf8(argv[i]));
  }
  for (const auto& s : scenarios) {
    if (named != s.scenario) continue;
    call.main = {LaunchMode::Class, s.mainClass};
    call.arguments = s.arguments;
  }
  call.failureCheck = named.rfind("throw-", 0) == 0;  // "throw" alone: without "Failure Check"
  if (call.main.text.empty()) {
    line("unknown-scenario", scenario);
    return 2;
  }
  std::fflush(stdout);
  // Never destroyed when the VM leaves its thread blocked: the process ends.
  auto* late = call.main.text == u"test.SlowShutdown" ? new LateDelivery(vm) : nullptr;
  if (scenario == "late-delivery") line("hook-added", addShutdownCallback(env, &waitForDelivery, late) ? "1" : "0");
  bool invoked = invokeMain(vm, env, call, host);
  std::fflush(nullptr);
  line("invoked", invoked ? "1" : "0");
  vm->DestroyJavaVM();
  line("destroyed", "1");
  if (late && late->done.wait_for(std::chrono::seconds(3)) == std::future_status::ready) delete late;
  std::fflush(nullptr);
  _exit(0);
}
