#pragma once
// Splash images for scaled monitors, named as the JDK's own splash screen
// names them. Portable.
#include "common/text.h"

// The variants of the image to look for, best first, on a monitor scaled to
// `percent` (100 at 96 DPI): "name@150pct.png", and for a whole factor also
// "name@2x.png". None at 100 percent or less.
StringList scaledImageNames(StringView imagePath, int percent);
