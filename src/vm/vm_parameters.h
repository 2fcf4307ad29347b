#pragma once
// The "Virtual Machine Parameters" value turned into VM options: splitting at
// blanks outside quotes, quote removal, memory sizes given as a share of the
// machine's memory, and the Java thread's stack size. Portable.
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "common/text.h"

// Index of the blank that ends the parameter starting at `start`, or the
// text's length. Blanks between double quotes do not end a parameter.
size_t nextParameterEnd(StringView text, size_t start);

// Removes pairs of double quotes; a doubled closing quote leaves one literal
// quote; an unpaired quote stays.
String removeQuotes(StringView text);

// The numbers of a memory or stack parameter: the prefix length (up to the
// first digit or ':') and the numbers separated by ':', never including the
// last character (the unit or kind letter).
struct NumberList {
  size_t prefixLength = 0;
  std::vector<uint32_t> numbers;
};
NumberList parseNumberList(StringView text);

// The machine's memory as the percentage rule needs it, in bytes.
struct MemoryFigures {
  uint64_t totalPhysical = 0;
  uint64_t availableVirtual = 0;
};
using MemoryQuery = std::function<MemoryFigures()>;

// "-Xmx50:256:1024P" and the like: percent[:minimum MB[:maximum MB]] of the
// physical memory (P) or of the available address space (T), as "-Xmx<KB>K".
String applyMemoryPercentage(StringView parameter, const MemoryQuery& memory);

// One parameter as it goes to the VM; `stackSize` is updated by -Xss.
String processVmParameter(StringView parameter, const MemoryQuery& memory, uint32_t& stackSize);

// The java launcher's spellings of the module options joined into the one
// HotSpot takes: "-p x" and "--module-path x" give "--module-path=x",
// "--add-opens x" gives "--add-opens=x", and so on. A spelling without a
// value after it, and everything else, stays as it is.
StringList joinLauncherSpellings(const StringList& options);

// The text of an argument file named by "@name", nothing when it cannot be read.
using ArgumentFileReader = std::function<std::optional<String>(const String& name)>;

// The whole value split and processed, in order, the launcher's spellings
// joined. With `readFile`, a parameter "@name" gives the options of that
// argument file in its place and "@@x" gives "@x"; `unreadable` gets the
// name of the first file that could not be read.
StringList vmParameterOptions(StringView value, const MemoryQuery& memory, uint32_t& stackSize,
                              const ArgumentFileReader& readFile = {}, String* unreadable = nullptr);
