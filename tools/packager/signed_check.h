#pragma once
#include "common/text.h"

// Checks a packaged executable after signing: where its signature lies,
// whether the runtime still reaches the appended jar, and whether the
// embedded settings still decipher. Prints the findings and returns 0 when
// all is well, 1 for warnings only (such as no signature), 2 for errors.
int checkSignedExecutable(const String& path);
