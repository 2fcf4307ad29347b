#pragma once
// An opt-in record of the launch's decisions. When the environment variable
// "QL_LAUNCHER_TRACE" names a file, every line is appended to it as UTF-8
// with the milliseconds since the process started. Without the variable no
// file is touched; a trace that cannot be written is dropped quietly and
// never changes the launch.
#include <string>
#include <string_view>

#include "common/text.h"

namespace trace {

// Whether lines are written: callers skip building a line's text otherwise.
bool enabled();

void line(std::string_view utf8);
void line(StringView text);

}  // namespace trace
