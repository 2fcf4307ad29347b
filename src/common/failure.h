#pragma once
// What a step of the launch reports when it fails, as a value: the launch
// hands it to the one reporter at its top. Portable.
#include <cstdint>

#include "common/text.h"

struct Failure {
  unsigned textId = 0;          // the message, a text of the string table,
  unsigned appendedTextId = 0;  // and a second text after it (0: none),
  // formatted with these inserts for its %s and %d in turn (numbers in
  // decimal, see decimalInsert). Without inserts the text stands as it is.
  StringList inserts;
};

inline String decimalInsert(int32_t number) { return formatText(u"%d", {number}); }
