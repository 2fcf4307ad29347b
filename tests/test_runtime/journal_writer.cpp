// journal_writer COUNT TAG: appends COUNT records "append=TAG-<n>" to the
// journal TEST_JVM_JOURNAL names, through the test runtime's journal code.
#include <cwchar>
#include <string>

#include "journal.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  const int count = static_cast<int>(std::wcstol(argv[1], nullptr, 10));
  std::string tag;
  for (const wchar_t* c = argv[2]; *c; ++c) tag += static_cast<char>(*c);
  for (int i = 0; i < count; ++i) test_runtime::journal("append", tag + "-" + std::to_string(i));
  return 0;
}
