#pragma once
// Recognises a zip archive (a jar) by its end-of-central-directory record, the
// way Java's zip reader finds it: searched backwards from the end, so data in
// front of the archive (an executable) does not hide it.
#include <cstdint>
#include <vector>

bool isZipArchive(const std::vector<uint8_t>& bytes);
