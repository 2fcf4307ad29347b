#include "option_lists.h"

#include <windows.h>

namespace test_runtime {

void keepOptionList(jint verdict, int javaVersion, const std::vector<std::string>& options) {
  char folder[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("TEST_JVM_OPTION_LISTS", folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  std::string path = folder;
  if (path.front() == '/') path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  CreateDirectoryA(path.c_str(), nullptr);
  // Process ids come back soon under Wine: the counter and a retry keep names apart.
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const std::string stem = path + "\\" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(now.QuadPart);

  // "end" marks a complete file: a process may end while writing.
  std::string text = "verdict=" + std::to_string(verdict) + "\n";
  if (javaVersion > 0) text += "java-version=" + std::to_string(javaVersion) + "\n";
  for (const std::string& option : options) text += "option=" + option + "\n";
  text += "end\n";
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; file == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
    const std::string name = stem + "-" + std::to_string(attempt) + ".txt";
    file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return;
  }
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace test_runtime
