#include "common/win32/launch_trace.h"

#include <windows.h>

#include "common/c_format.h"
#include "common/win32/environment.h"
#include "common/win32/unique_resource.h"
#include "common/win32/win_text.h"

namespace trace {
namespace {

ULONGLONG fileTimeValue(const FILETIME& time) {
  return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

class TraceFile {
 public:
  TraceFile() {
    const std::optional<String> path = environmentVariable(u"QL_LAUNCHER_TRACE");
    if (!path || path->empty()) return;
    // Appends only: the launches of several processes may share one file.
    file_.reset(CreateFileW(wide(*path), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    FILETIME created, exited, kernel, user;
    if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) start_ = fileTimeValue(created);
  }

  bool open() const { return static_cast<bool>(file_); }

  void write(std::string_view text) const {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG elapsed = start_ ? (fileTimeValue(now) - start_) / 10000 : 0;
    std::string record = formatC("%6llu ms [%lu] ", static_cast<unsigned long long>(elapsed),
                                 static_cast<unsigned long>(GetCurrentProcessId()));
    record.append(text.substr(0, text.find_last_not_of('\n') + 1));
    record += "\r\n";
    DWORD written = 0;
    // One write per line, so that lines of several threads never mix.
    WriteFile(file_.get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  }

 private:
  UniqueFile file_;
  ULONGLONG start_ = 0;
};

const TraceFile& traceFile() {
  static const TraceFile file;
  return file;
}

}  // namespace

bool enabled() { return traceFile().open(); }

void line(std::string_view utf8) {
  if (enabled()) traceFile().write(utf8);
}

void line(StringView text) {
  if (enabled()) traceFile().write(toUtf8(text));
}

}  // namespace trace
