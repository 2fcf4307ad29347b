#include "journal.h"

#include <cwctype>
#include <string>

#include "text.h"
// After <windows.h>.
#include <psapi.h>

namespace test_runtime {
namespace {

HMODULE homeModule = nullptr;
int homeLevels = 2;

std::wstring journalPath() {
  std::wstring buffer(32768, L'\0');
  const DWORD length = GetEnvironmentVariableW(L"TEST_JVM_JOURNAL", buffer.data(), 32768);
  if (length > 0 && length < 32768) return buffer.substr(0, length);
  const DWORD moduleLength = GetModuleFileNameW(homeModule, buffer.data(), 32768);
  std::wstring path = buffer.substr(0, moduleLength);
  for (int level = 0; level <= homeLevels; ++level) {
    const size_t cut = path.find_last_of(L"\\/");
    if (cut == std::wstring::npos) return L"journal.txt";
    path.resize(cut);
  }
  return path + L"\\journal.txt";
}

// Appends of several processes to one file are not atomic under Wine: two
// may write at the same end, and one line is lost. A mutex named after the
// journal's path lets one process (and one thread) append at a time.
class JournalLock {
 public:
  explicit JournalLock(const std::wstring& path) {
    unsigned long long hash = 14695981039346656037ull;  // FNV-1a of the path in upper case
    for (wchar_t c : path) hash = (hash ^ static_cast<unsigned>(std::towupper(c))) * 1099511628211ull;
    const std::wstring name = L"test_runtime_journal_" + std::to_wstring(hash);
    mutex_ = CreateMutexW(nullptr, FALSE, name.c_str());
    // An owner that died while it appended leaves the mutex abandoned, and ours.
    const DWORD wait = mutex_ ? WaitForSingleObject(mutex_, 30000) : WAIT_FAILED;
    owned_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
  }
  ~JournalLock() {
    if (owned_) ReleaseMutex(mutex_);
    if (mutex_) CloseHandle(mutex_);
  }
  JournalLock(const JournalLock&) = delete;
  JournalLock& operator=(const JournalLock&) = delete;

 private:
  HANDLE mutex_ = nullptr;
  bool owned_ = false;
};

void append(const std::string& record) {
  const std::wstring path = journalPath();
  const JournalLock lock(path);
  // Another process (the test reading it) may hold the file for a moment.
  for (int attempt = 0; attempt < 50; ++attempt) {
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
      CloseHandle(file);
      return;
    }
    if (GetLastError() != ERROR_SHARING_VIOLATION) return;
    Sleep(10);
  }
}

}  // namespace

void journalSetHome(HMODULE module, int levelsAboveFolder) {
  homeModule = module;
  homeLevels = levelsAboveFolder;
}

void journal(std::string_view key, std::string_view value) {
  std::string record(key);
  record += '=';
  for (char c : value) record += (c == '\r' || c == '\n') ? ' ' : c;
  record += '\n';
  append(record);
}

void journal(std::string_view key, long long value) { journal(key, std::to_string(value)); }

void journalFlag(std::string_view key) { append(std::string(key) + '\n'); }

void journalWorkingSet(std::string_view key) {
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory)) {
    journal(key, static_cast<long long>(memory.WorkingSetSize));
  }
}

}  // namespace test_runtime
