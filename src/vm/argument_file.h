#pragma once
// The options of an argument file ("@file" among the VM parameters), read
// as the java command reads its argument files. Portable.
#include "common/text.h"

// Options are separated by white space. A '#' that begins an option starts
// a comment up to the end of the line. Single or double quotes keep white
// space in an option; inside them a backslash escapes the next character
// (\n, \r, \t and \f for those characters), a backslash at the end of the
// line joins the next line without its leading white space, and the end of
// the line ends an open quote. Outside quotes a backslash is a character.
StringList argumentFileOptions(StringView text);
