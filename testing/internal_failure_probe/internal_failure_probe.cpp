// Commits the internal failure its argument names, built as the launcher is
// (no exceptions, the launcher's own failure handling), so that a test can
// read the exit code each one ends with.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
  const std::wstring what = argc > 1 ? argv[1] : L"";
  volatile size_t huge = SIZE_MAX / 2;
  if (what == L"at") return std::string("x").at(huge);
  if (what == L"substr") return static_cast<int>(std::u16string(u"x").substr(5).size());
  if (what == L"length") return static_cast<int>(std::string(huge * 2, 'x').size());
  if (what == L"memory") return static_cast<int>(std::vector<char>(huge - 1).size());
  if (what == L"optional") return std::optional<int>(huge == 0 ? std::optional<int>(1) : std::nullopt).value();
  return 0;
}
