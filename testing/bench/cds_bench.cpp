// Class data sharing, measured natively with the real JDKs (make bench): the
// time from JNI_CreateJavaVM to the return of main of an application of 400
// generated classes, without an archive and, on Java 19 and later, with the
// archive the launcher asks for ("Class Data Sharing=auto"): cold (the first
// launch, which creates it when the VM ends) and warm, and after a launch
// killed while writing it left its header zero: kept, as the runtime keeps it,
// and deleted, as the launcher does, so that the next launch writes it anew.
// Prints Markdown table rows in the columns of the Wine benchmark's table.
// Built without the sanitizers: they break the runtime's archive mapping.
//   cds_bench RUNS
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <jni.h>

#include "jvm/installed_jvms.h"

namespace {

namespace fs = std::filesystem;

// One launch in a child process of its own: milliseconds to main's return,
// or a negative number when it failed.
double timeLaunch(const std::string& jvm, const std::vector<std::string>& options) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return -1;
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[0]);
    std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    void* library = dlopen(jvm.c_str(), RTLD_NOW);
    using CreateVm = jint(JNICALL*)(JavaVM**, void**, void*);
    auto create = library ? reinterpret_cast<CreateVm>(dlsym(library, "JNI_CreateJavaVM")) : nullptr;
    std::vector<std::string> texts = options;
    std::vector<JavaVMOption> array(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) array[i] = JavaVMOption{texts[i].data(), nullptr};
    JavaVMInitArgs args{JNI_VERSION_1_2, static_cast<jint>(array.size()), array.data(), JNI_FALSE};
    double elapsed = -1;
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    const auto start = std::chrono::steady_clock::now();
    if (create && create(&vm, reinterpret_cast<void**>(&env), &args) == JNI_OK) {
      jclass mainClass = env->FindClass("cds/Main");
      jmethodID main = mainClass ? env->GetStaticMethodID(mainClass, "main", "([Ljava/lang/String;)V") : nullptr;
      if (main) {
        env->CallStaticVoidMethod(mainClass, main, nullptr);
        if (!env->ExceptionCheck()) {
          elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        }
      }
    }
    (void)!write(pipeEnds[1], &elapsed, sizeof elapsed);
    // The VM writes the archive as it ends.
    if (vm) vm->DestroyJavaVM();
    _exit(0);
  }
  close(pipeEnds[1]);
  double elapsed = -1;
  if (read(pipeEnds[0], &elapsed, sizeof elapsed) != sizeof elapsed) elapsed = -1;
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return elapsed;
}

struct Row {
  std::string name;
  std::vector<double> samples;
  double baseline = 0;
};

void print(const Row& row) {
  std::vector<double> sorted = row.samples;
  std::sort(sorted.begin(), sorted.end());
  const bool failed = sorted.empty() || sorted.front() < 0;
  const double median = failed ? 0 : sorted[sorted.size() / 2];
  std::printf("| %s | %s | %s | %zu | %s |  |  |\n", row.name.c_str(), failed ? "failed" : (std::to_string(static_cast<int>(median + 0.5)) + " ms").c_str(),
              failed ? "" : (std::to_string(static_cast<int>(sorted.front())) + "-" + std::to_string(static_cast<int>(sorted.back()))).c_str(),
              sorted.size(), !failed && row.baseline > 0 ? (std::to_string(median / row.baseline).substr(0, 4) + "x").c_str() : "");
}

double median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples.empty() ? 0 : samples[samples.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::string classPath = std::string("-Djava.class.path=") + CDS_APP_JAR;
  const fs::path archive = fs::temp_directory_path() / "cds_bench_app.jsa";
  for (const std::string& jvm : installedJvms()) {
    const int version = jvmFeatureVersion(jvm);
    const std::string label = "Native, Java " + std::to_string(version) + ": JNI_CreateJavaVM to main's return, 400 classes";
    Row plain{label + ", no archive", {}, 0};
    for (int run = 0; run <= runs; ++run) {
      const double ms = timeLaunch(jvm, {classPath});
      if (run > 0) plain.samples.push_back(ms);  // the first one warms the file cache
    }
    print(plain);
    if (version < 19) continue;
    const std::vector<std::string> options{classPath, "-XX:SharedArchiveFile=" + archive.string(),
                                           "-XX:+AutoCreateSharedArchive"};
    fs::remove(archive);
    Row cold{label + ", archive, cold (creates it)", {timeLaunch(jvm, options)}, median(plain.samples)};
    Row warm{label + ", archive, warm (ratio: to no archive)", {}, median(plain.samples)};
    for (int run = 0; run < runs; ++run) warm.samples.push_back(timeLaunch(jvm, options));
    print(cold);
    print(warm);
    std::fstream(archive, std::ios::binary | std::ios::in | std::ios::out) << std::string(4096, '\0');
    Row kept{label + ", header zeroed, kept", {}, median(plain.samples)};
    for (int run = 0; run < runs; ++run) kept.samples.push_back(timeLaunch(jvm, options));
    print(kept);
    fs::remove(archive);  // what the launcher's check does with it
    Row rewritten{label + ", header zeroed, deleted by the check (writes it)", {timeLaunch(jvm, options)},
                  median(plain.samples)};
    Row recovered{label + ", header zeroed, the launches after", {}, median(plain.samples)};
    for (int run = 0; run < runs; ++run) recovered.samples.push_back(timeLaunch(jvm, options));
    print(rewritten);
    print(recovered);
    fs::remove(archive);
  }
  return 0;
}
