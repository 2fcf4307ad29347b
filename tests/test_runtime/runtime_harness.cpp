#include "runtime_harness.h"

#include <sstream>

#include "process_start/process_start.h"

namespace harness {
namespace {

std::wstring moduleFolder() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), 32768));
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring widen(const std::string& text) {
  std::wstring wide(text.size() * 2 + 1, L'\0');
  wide.resize(MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), wide.data(),
                                  static_cast<int>(wide.size())));
  return wide;
}

std::wstring environmentBlock(const std::map<std::wstring, std::wstring>& overrides) {
  std::wstring block;
  wchar_t* strings = GetEnvironmentStringsW();
  for (const wchar_t* entry = strings; *entry; entry += wcslen(entry) + 1) {
    const std::wstring text(entry);
    const std::wstring name = text.substr(0, text.find(L'=', 1));
    bool replaced = false;
    for (const auto& [key, ignored] : overrides) replaced |= _wcsicmp(key.c_str(), name.c_str()) == 0;
    if (!replaced) block += text + L'\0';
  }
  FreeEnvironmentStringsW(strings);
  for (const auto& [key, text] : overrides) block += key + L'=' + text + L'\0';
  return block + L'\0';
}

}  // namespace

std::wstring runtimePath(const std::wstring& relative) { return moduleFolder() + L"test-runtime\\" + relative; }

std::wstring variantPath(const std::wstring& relative) {
  return moduleFolder() + L"test-runtime-variants\\" + relative;
}

std::wstring scratchFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring root = std::wstring(temp) + L"test_runtime_tests";
  CreateDirectoryW(root.c_str(), nullptr);
  const std::wstring folder = root + L"\\" + name + L"-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

std::string readFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "";
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(file);
  return text;
}

std::vector<std::string> readJournal(const std::wstring& path) {
  std::vector<std::string> records;
  std::istringstream lines(readFile(path));
  for (std::string line; std::getline(lines, line);) records.push_back(line);
  return records;
}

bool inOrder(const std::vector<std::string>& records, const std::vector<std::string>& wanted) {
  size_t next = 0;
  for (const std::string& record : records) {
    if (next < wanted.size() && record == wanted[next]) ++next;
  }
  return next == wanted.size();
}

std::string joinLines(const std::vector<std::string>& records) {
  std::string text;
  for (const std::string& record : records) text += record + "\n";
  return text;
}

std::string value(const std::vector<std::string>& records, const std::string& key) {
  for (const std::string& record : records) {
    if (record.rfind(key + "=", 0) == 0) return record.substr(key.size() + 1);
  }
  return "<none>";
}

Child runChild(const std::string& scenario, std::map<std::wstring, std::wstring> environment) {
  static int count = 0;
  const std::wstring folder = scratchFolder(L"child" + std::to_wstring(++count));
  const std::wstring journal = folder + L"\\journal.txt";
  const std::wstring output = folder + L"\\output.txt";
  DeleteFileW(journal.c_str());
  environment.emplace(L"TEST_JVM_JOURNAL", journal);
  environment[L"TEST_RUNTIME_SCENARIO"] = widen(scenario);

  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out;
  startup.hStdError = out;
  std::wstring exe(32768, L'\0');
  exe.resize(GetModuleFileNameW(nullptr, exe.data(), 32768));
  std::wstring commandLine = L"\"" + exe + L"\" --gtest_filter=Child.Run";
  std::wstring block = environmentBlock(environment);
  PROCESS_INFORMATION process{};
  Child child;
  child.exitCode = 9999;
  if (startProcess(exe.c_str(), commandLine.data(), TRUE, CREATE_UNICODE_ENVIRONMENT, block.data(), nullptr, &startup,
                   &process)) {
    WaitForSingleObject(process.hProcess, 60000);
    GetExitCodeProcess(process.hProcess, &child.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(out);
  child.journal = readJournal(environment[L"TEST_JVM_JOURNAL"]);
  child.output = readFile(output);
  return child;
}

std::string environment(const char* name) {
  const char* text = std::getenv(name);
  return text ? text : "";
}

std::string childScenario() { return environment("TEST_RUNTIME_SCENARIO"); }

Entries load(const std::wstring& jvmDll) {
  Entries entries;
  entries.module = LoadLibraryW(jvmDll.c_str());
  if (!entries.module) return entries;
  entries.create = procedure<decltype(entries.create)>(entries.module, "JNI_CreateJavaVM");
  entries.defaultArgs = procedure<decltype(entries.defaultArgs)>(entries.module, "JNI_GetDefaultJavaVMInitArgs");
  entries.bootFinder = procedure<decltype(entries.bootFinder)>(entries.module, "JVM_FindClassFromBootLoader");
  return entries;
}

jint createVm(const Entries& entries, const std::vector<std::string>& options, bool ignoreUnrecognized,
              JavaVM** vm, JNIEnv** env, jint version, void* hook) {
  std::vector<JavaVMOption> records;
  for (const std::string& option : options) {
    const bool hooked = option == "exit" || option == "abort" || option == "vfprintf";
    records.push_back({const_cast<char*>(option.c_str()), hooked ? hook : nullptr});
  }
  JavaVMInitArgs args{};
  args.version = version;
  args.nOptions = static_cast<jint>(records.size());
  args.options = records.data();
  args.ignoreUnrecognized = ignoreUnrecognized ? JNI_TRUE : JNI_FALSE;
  return entries.create(vm, reinterpret_cast<void**>(env), &args);
}

jobjectArray stringArray(JNIEnv* env, const std::vector<std::string>& texts) {
  jobjectArray array = env->NewObjectArray(static_cast<jsize>(texts.size()), env->FindClass("java/lang/String"), nullptr);
  for (size_t i = 0; i < texts.size(); ++i) {
    const std::wstring wide = widen(texts[i]);
    const std::vector<jchar> units(wide.begin(), wide.end());
    env->SetObjectArrayElement(array, static_cast<jsize>(i), env->NewString(units.data(), static_cast<jsize>(units.size())));
  }
  return array;
}

std::string utf8(JNIEnv* env, jstring text) {
  const char* chars = env->GetStringUTFChars(text, nullptr);
  std::string copy = chars ? chars : "<null>";
  if (chars) env->ReleaseStringUTFChars(text, chars);
  return copy;
}

}  // namespace harness
