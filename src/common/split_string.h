#pragma once
#include "common/text.h"

// Splits `text` at every occurrence of `separator` (non-empty, matched
// exactly) into `parts`, which is cleared first. An empty text gives no
// parts, a text without the separator gives itself, empty parts between
// separators are kept, and a separator at the very end adds no empty part.
// Parts are never trimmed.
void splitString(StringView text, StringView separator, StringList& parts);
