// The module and jar launches, measured natively with the real JDKs (make
// bench): the launcher's JNI sequence (createVmWithHooks, then invokeMain
// through the runtime's launcher class, then DestroyJavaVM) beside the JDK's
// own java command starting the same application. Every launch is a fresh
// process, timed from its spawn to its end; the launcher sequence's row gives
// the ratio of its median to the java command's. Prints Markdown table rows
// in the columns of the Wine benchmark's table. Built without the sanitizers.
//   launch_mode_bench RUNS
//   launch_mode_bench --launch LIBJVM MODE TEXT OPTION...   (one launch)
#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "jvm/installed_jvms.h"
#include "measurement.h"
#include "vm/java_session.h"

namespace {

class BenchHost : public JavaHost {
 public:
  void report(const Failure&) override { _exit(3); }
  void park() override { _exit(4); }
  void endProcess(int32_t code) override { _exit(code); }
};

int launch(int argc, char** argv) {
  void* library = dlopen(argv[2], RTLD_NOW);
  if (!library) return 2;
  auto create = reinterpret_cast<CreateJavaVmEntry>(dlsym(library, "JNI_CreateJavaVM"));
  MainInvocation call;
  call.findClassFromBootLoader = reinterpret_cast<FindClassFromBootLoaderEntry>(dlsym(library, "JVM_FindClassFromBootLoader"));
  call.main = {static_cast<LaunchMode>(std::atoi(argv[3])), fromUtf8(argv[4])};
  const std::vector<std::string> options(argv + 5, argv + argc);
  JavaVM* vm = nullptr;
  JNIEnv* env = nullptr;
  if (createVmWithHooks(create, options, &vm, &env) != JNI_OK) return 2;
  BenchHost host;
  const bool invoked = invokeMain(vm, env, call, host);
  vm->DestroyJavaVM();
  return invoked ? 0 : 1;
}

// Milliseconds from spawning the command to its end, or -1 when it failed.
double timeProcess(const std::vector<std::string>& command) {
  std::vector<char*> argv;
  for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  int status = -1;
  if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) waitpid(child, &status, 0);
  const auto end = std::chrono::steady_clock::now();
  posix_spawn_file_actions_destroy(&actions);
  return status == 0 ? std::chrono::duration<double, std::milli>(end - start).count() : -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 5 && std::string(argv[1]) == "--launch") return launch(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  const std::string apps = LAUNCH_APPS, jar = apps + "/opener.jar";
  const std::string modulePath = apps + "/app.main.jar:" + apps + "/modules/app.lib";
  const std::string self = std::filesystem::read_symlink("/proc/self/exe");
  std::vector<Measurement> rows;
  for (const std::string& jvm : installedJvms()) {
    const std::string java = std::filesystem::path(jvm).parent_path().parent_path().parent_path() / "bin/java";
    const std::string label = "Native, Java " + std::to_string(jvmFeatureVersion(jvm)) + ": ";
    const struct {
      std::string name;
      std::vector<std::string> launcher, command;
    } launches[] = {
        {"module app.main/app.Main",
         {self, "--launch", jvm, "3", "app.main/app.Main", "-Djava.class.path=" + apps + "/cplib",
          "--module-path=" + modulePath, "-Djdk.module.main=app.main", "-Dsun.java.command=app.main/app.Main"},
         {java, "-cp", apps + "/cplib", "--module-path", modulePath, "-m", "app.main/app.Main"}},
        {"executable jar",
         {self, "--launch", jvm, "2", jar, "-Djava.class.path=" + jar, "-Dsun.java.command=" + jar},
         {java, "-jar", jar}},
    };
    for (const auto& l : launches) {
      Measurement ours{label + l.name + ", the launcher's JNI sequence (ratio: to the java command)", "ms", {}};
      Measurement theirs{label + l.name + ", the java command", "ms", {}};
      timeProcess(l.launcher);  // the first ones warm the file cache
      timeProcess(l.command);
      for (int run = 0; run < runs; ++run) {
        if (const double ms = timeProcess(l.launcher); ms >= 0) ours.samples.push_back(ms);
        if (const double ms = timeProcess(l.command); ms >= 0) theirs.samples.push_back(ms);
      }
      ours.baseline = theirs.median();
      rows.push_back(ours);
      rows.push_back(theirs);
    }
  }
  const std::string table = markdownTable(rows);
  std::fputs(table.substr(table.find('\n', table.find('\n') + 1) + 1).c_str(), stdout);  // the rows, no header
  return 0;
}
