// Replays every VM option list that the launcher handed the test runtime
// during the Windows-side tests against each real JVM of this machine:
//   jvm_replay LIST_FOLDER
// The test runtime writes one file per JNI_CreateJavaVM: "verdict=<status>"
// (0 when it accepted the options) and the options in order. A real VM must
// accept what the stand-in accepted and reject what it rejected, with the
// same status; otherwise the stand-in is more forgiving (or stricter) than
// Java and the end-to-end results mean nothing. Exit code 0 when all agree.
#include <dlfcn.h>
#include <jni.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "installed_jvms.h"

namespace {

namespace fs = std::filesystem;

struct OptionList {
  int verdict = 0;
  int javaVersion = 0;  // the version the stand-in played; 0: any
  std::vector<std::string> options;
  bool operator<(const OptionList& other) const {
    return std::tie(verdict, javaVersion, options) < std::tie(other.verdict, other.javaVersion, other.options);
  }
};

std::set<OptionList> readLists(const fs::path& folder) {
  std::set<OptionList> lists;
  for (const auto& file : fs::directory_iterator(folder)) {
    std::ifstream in(file.path(), std::ios::binary);
    OptionList list;
    bool complete = false;
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.rfind("verdict=", 0) == 0) list.verdict = std::stoi(line.substr(8));
      if (line.rfind("java-version=", 0) == 0) list.javaVersion = std::stoi(line.substr(13));
      // The stand-in has no modules to find: a module launch's main module
      // becomes one that every runtime has, so that what is judged is the options.
      if (line.rfind("option=-Djdk.module.main=", 0) == 0) line = "option=-Djdk.module.main=java.base";
      if (line.rfind("option=", 0) == 0) list.options.push_back(line.substr(7));
      if (line == "end") complete = true;
    }
    if (complete) lists.insert(list);
  }
  return lists;
}

void JNICALL exitHook(jint status) { _exit(status == 0 ? 0 : 1); }
void JNICALL abortHook() { _exit(1); }
jint JNICALL quietPrint(FILE*, const char*, va_list) { return 0; }

// What JNI_CreateJavaVM made of the list, in a child process of its own:
// its status, or kEndedProcess when the VM ended the process itself.
constexpr int kEndedProcess = 1000;

int createInChild(const std::string& jvm, const OptionList& list) {
  std::fflush(nullptr);  // the child must not print the parent's buffered lines again
  pid_t child = fork();
  if (child == 0) {
    // The VM's complaints are not the replay's output.
    std::freopen("/dev/null", "w", stderr);
    std::freopen("/dev/null", "w", stdout);
    void* library = dlopen(jvm.c_str(), RTLD_NOW);
    auto create = library ? reinterpret_cast<jint(JNICALL*)(JavaVM**, void**, void*)>(dlsym(library, "JNI_CreateJavaVM"))
                          : nullptr;
    if (!create) _exit(3);
    std::vector<std::string> texts = list.options;
    std::vector<JavaVMOption> options(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
      options[i].optionString = texts[i].data();
      options[i].extraInfo = nullptr;
      if (texts[i] == "exit") options[i].extraInfo = reinterpret_cast<void*>(&exitHook);
      if (texts[i] == "abort") options[i].extraInfo = reinterpret_cast<void*>(&abortHook);
      if (texts[i] == "vfprintf") options[i].extraInfo = reinterpret_cast<void*>(&quietPrint);
    }
    JavaVMInitArgs args{};
    args.version = JNI_VERSION_1_2;
    args.nOptions = static_cast<jint>(options.size());
    args.options = options.data();
    args.ignoreUnrecognized = JNI_FALSE;
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    jint status = create(&vm, reinterpret_cast<void**>(&env), &args);
    _exit(64 - status);  // 0 gives 64, -1 gives 65, ...
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) < 64 || WEXITSTATUS(status) > 80) return kEndedProcess;
  return 64 - WEXITSTATUS(status);
}

std::string describe(const OptionList& list) {
  std::string text;
  for (const std::string& option : list.options) text += "  [" + option + "]\n";
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || !fs::is_directory(argv[1])) {
    std::fprintf(stderr, "usage: jvm_replay LIST_FOLDER (the folder the Windows-side tests filled)\n");
    return 2;
  }
  const std::set<OptionList> lists = readLists(argv[1]);
  const std::vector<std::string> jvms = installedJvms();
  if (lists.empty() || jvms.empty()) {
    std::fprintf(stderr, "jvm_replay: %zu option lists, %zu JVMs: nothing to compare\n", lists.size(), jvms.size());
    return 1;
  }
  int disagreements = 0;
  for (const std::string& jvm : jvms) {
    const int version = jvmFeatureVersion(jvm);
    int accepted = 0, rejected = 0;
    for (const OptionList& list : lists) {
      // A list for a newer Java than this JVM may hold what only that one knows.
      if (list.javaVersion > version) continue;
      ++(list.verdict == 0 ? accepted : rejected);
      const int status = createInChild(jvm, list);
      // A VM that ends the process during creation rejected the list too.
      const bool agrees = status == list.verdict || (status == kEndedProcess && list.verdict != 0);
      if (agrees) continue;
      ++disagreements;
      std::printf("DISAGREE %s: the test runtime said %d, the VM %d, for\n%s", jvm.c_str(), list.verdict,
                  status, describe(list).c_str());
    }
    std::printf("jvm_replay: %s: replayed %d lists the test runtime accepted and %d it rejected\n", jvm.c_str(),
                accepted, rejected);
  }
  std::printf("jvm_replay: %zu distinct option lists, %d disagreements\n", lists.size(), disagreements);
  return disagreements == 0 ? 0 : 1;
}
