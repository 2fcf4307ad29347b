#include "failure_stubs.h"

#include <windows.h>

#include "journal.h"

namespace test_runtime {

void unexpectedSlot(const std::string& table, int index) {
  const std::string number = table.empty() ? std::to_string(index) : table + "-" + std::to_string(index);
  journal("unexpected", number);
  const std::string message = std::string("test runtime: unexpected ") + (table.empty() ? "JNI" : "JavaVM") +
                              " function " + std::to_string(index) + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), message.data(), static_cast<DWORD>(message.size()), &written, nullptr);
  ExitProcess(86);
}

}  // namespace test_runtime
