#pragma once
// Stops every other thread of the process for a while, as a debugger, heavy
// paging or a stalled machine would: -Dtest.jvm.freeze=<ms>.
#include <windows.h>

namespace test_runtime {

// Journals freeze=<ms> before the threads stop and thawed=<count of threads
// stopped> once they run again.
void freezeOtherThreads(DWORD milliseconds);

}  // namespace test_runtime
