#pragma once
// Recognises a zip archive (a jar) by its end-of-central-directory record, the
// way Java's zip reader finds it: searched backwards from the end, so data in
// front of the archive (an executable) does not hide it.
#include <cstddef>
#include <cstdint>
#include <vector>

bool isZipArchive(const std::vector<uint8_t>& bytes);

// Java's zip reader opens a jar at the end of other bytes (an executable) by
// its end record, which it looks for only in the last `kJavaEndSearchWindow`
// bytes of the file; when data follows the record (a signature), it takes
// the record only if a central directory and a local header lie where the
// record's offsets say, counted from the jar's own start.
constexpr size_t kJavaEndSearchWindow = 0xFFFF + 22;

struct FoundJar {
  bool found = false;      // a jar ends somewhere in the bytes
  bool reachable = false;  // ...within Java's search window
  size_t start = 0;        // its first local header
  size_t end = 0;          // just past its end record and comment
  uint32_t entries = 0;
  bool unreadableEnd = false;  // not found, but an end record lies in the window
};

// The last jar in the bytes whose directory and local headers check out.
FoundJar findJarAsJava(const std::vector<uint8_t>& bytes);
