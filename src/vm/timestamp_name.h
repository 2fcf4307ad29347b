#pragma once
// Output file names with a time stamp: the text between the first and the
// last "%" is a time and date picture. Portable: the caller supplies the
// formatting of the picture (time pass, then date pass).
#include <cstdint>
#include <functional>

#include "common/text.h"

using PictureFormatter = std::function<String(const String& picture)>;

// "out-%yyyyMMdd-HHmmss%.txt" -> "out-20240305-143015.txt". Each capital L
// of the picture becomes the milliseconds first. A name without "%" stays.
void expandTimestamp(String& name, uint32_t milliseconds, const PictureFormatter& format);
