#pragma once
// A secondary launch's arguments in the shared instance block: each argument
// as UTF-16 code units and a zero unit, the list closed by one more zero.
// Older readers stop at the first empty argument; so the argument count also
// goes into the block's unused area, where this version reads it and so
// delivers empty arguments and everything after them. Portable.
#include "common/text.h"
#include "launcher/instance_block.h"

// Whether the arguments fit in the argument area: each argument's units and
// its zero, and the closing zero, in 1040 bytes.
bool fitsInstanceBlock(const StringList& arguments);

// Fills the argument area and the count; false (the block untouched) when the
// arguments need more than the area's 1040 bytes.
bool encodeInstanceArguments(const StringList& arguments, SharedInstanceBlock& block);

// The arguments of the latest request. Without a count (a writer of an older
// version) the list ends at the first empty argument; no arguments at all
// read as one empty argument.
StringList decodeInstanceArguments(const SharedInstanceBlock& block);
