#pragma once
#include "common/text.h"

// Appends the tokens of a command line to `tokens`. Only the blank (U+0020)
// separates tokens; a double quote is special only as the first character of
// a token and there is no escape character, so a quoted token ends at the
// next double quote whatever precedes it. An empty pair of quotes is one
// empty token; runs of blanks produce none.
void splitCommandLine(StringView text, StringList& tokens);

// Index of the first element equal to `wanted` (exact, case-sensitive), or -1.
int findArgument(const StringList& arguments, StringView wanted);
