#pragma once
// System.out and System.err: print streams over the process's standard
// handles until setOut/setErr install others. Text is written as UTF-8.
#include <string_view>

#include "objects.h"

namespace test_runtime {

inline constexpr std::string_view lineSeparator = "\r\n";

OutputStreamObject* systemOut();
OutputStreamObject* systemErr();
void setSystemOut(OutputStreamObject* stream);
void setSystemErr(OutputStreamObject* stream);

void printLine(OutputStreamObject* stream, std::string_view text);

}  // namespace test_runtime
