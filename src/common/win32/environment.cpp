#include "common/win32/environment.h"

#include "common/environment_references.h"
#include "common/win32/win_text.h"

namespace {

// The system's expansion handles at most this many characters, text and
// result alike; beyond it the text comes back cut.
const size_t kSystemExpansionLimit = 32767;

}  // namespace

std::optional<String> environmentVariable(const String& name) {
  if (name.empty()) return std::nullopt;
  String value(256, u'\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetEnvironmentVariableW(wide(name), wideBuffer(value), static_cast<DWORD>(value.size()));
    if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    if (length < value.size()) {
      value.resize(length);
      return value;
    }
    value.assign(length, u'\0');
  }
}

String expandEnvironment(const String& value) {
  // Without a '%' there is nothing to replace.
  if (value.find(u'%') == String::npos) return value;
  if (value.size() < kSystemExpansionLimit) {
    String expanded(value.size() + 1, u'\0');
    DWORD needed = ExpandEnvironmentStringsW(wide(value), wideBuffer(expanded), static_cast<DWORD>(expanded.size()));
    if (needed > expanded.size() && needed <= kSystemExpansionLimit) {
      expanded.assign(needed, u'\0');
      needed = ExpandEnvironmentStringsW(wide(value), wideBuffer(expanded), needed);
    }
    if (needed == 0) return value;
    if (needed <= expanded.size()) {
      expanded.resize(needed - 1);  // the count includes the terminator
      return expanded;
    }
  }
  // A class path of many jars, a long VM parameter, or a result beyond the
  // system's limit: the same replacement, without the limit.
  return expandReferences(value, environmentVariable);
}
