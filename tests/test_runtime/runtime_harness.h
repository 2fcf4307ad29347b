#pragma once
// Loading the built test runtime, reading its journal and re-running this
// test program as a child process (one VM per process).
#include <jni.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace harness {

// <build dir>\test-runtime\<relative> and <build dir>\test-runtime-variants\<relative>.
std::wstring runtimePath(const std::wstring& relative);
std::wstring variantPath(const std::wstring& relative);
// A fresh, empty folder under %TEMP% for this test program.
std::wstring scratchFolder(const std::wstring& name);

std::string readFile(const std::wstring& path);
std::vector<std::string> readJournal(const std::wstring& path);
// True when `wanted` occur in `records` in this order (others may lie between).
bool inOrder(const std::vector<std::string>& records, const std::vector<std::string>& wanted);
std::string joinLines(const std::vector<std::string>& records);
std::string value(const std::vector<std::string>& records, const std::string& key);

struct Child {
  DWORD exitCode = 0;
  std::vector<std::string> journal;
  std::string output;  // stdout and stderr together
};
// Runs the Child.Run test of this program with TEST_RUNTIME_SCENARIO=scenario and
// the given extra environment; TEST_JVM_JOURNAL points at a fresh journal
// unless `environment` sets it.
Child runChild(const std::string& scenario, std::map<std::wstring, std::wstring> environment = {});
// The scenario this process runs as a child, or "" in the parent.
std::string childScenario();
std::string environment(const char* name);

struct Entries {
  HMODULE module = nullptr;
  jint(JNICALL* create)(JavaVM**, void**, void*) = nullptr;
  jint(JNICALL* defaultArgs)(void*) = nullptr;
  jclass(JNICALL* bootFinder)(JNIEnv*, const char*) = nullptr;
};
Entries load(const std::wstring& jvmDll);

// An export as a function of type F (null when absent).
template <typename F>
F procedure(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Calls JNI_CreateJavaVM with the options (an "exit"/"abort"/"vfprintf"
// option gets `hook` as its extraInfo when given).
jint createVm(const Entries& entries, const std::vector<std::string>& options, bool ignoreUnrecognized,
              JavaVM** vm, JNIEnv** env, jint version = JNI_VERSION_1_2, void* hook = nullptr);

// A String[] of the texts (UTF-8).
jobjectArray stringArray(JNIEnv* env, const std::vector<std::string>& texts);
std::string utf8(JNIEnv* env, jstring text);

}  // namespace harness
