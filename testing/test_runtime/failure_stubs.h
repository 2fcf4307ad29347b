#pragma once
// Loud stand-ins for every slot of a JNI function table: a slot the launcher
// calls without the stand-in implementing it ends the process with code 86.
#include <jni.h>

#include <cstring>
#include <string>
#include <utility>

namespace test_runtime {

using Slot = void(JNICALL*)();

[[noreturn]] void unexpectedSlot(const std::string& table, int index);

// Reads no arguments and never returns, so it fits any signature and
// calling convention of the table.
template <int Index, const char* Table>
void JNICALL failingSlot() {
  unexpectedSlot(Table, Index);
}

// Fills every pointer-sized slot of `table` with its own failing stub.
template <const char* Name, typename Table, int... Index>
void fillWithStubs(Table& table, std::integer_sequence<int, Index...>) {
  static_assert(sizeof(Table) == sizeof...(Index) * sizeof(Slot));
  const Slot stubs[] = {&failingSlot<Index, Name>...};
  std::memcpy(static_cast<void*>(&table), stubs, sizeof stubs);
}

template <const char* Name, typename Table>
void fillWithStubs(Table& table) {
  fillWithStubs<Name>(table, std::make_integer_sequence<int, sizeof(Table) / sizeof(Slot)>{});
}

}  // namespace test_runtime
