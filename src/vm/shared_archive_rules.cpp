#include "vm/shared_archive_rules.h"

namespace {

constexpr uint32_t kBaseArchiveMagic = 0xf00baba2u;
constexpr uint32_t kDynamicArchiveMagic = 0xf00baba8u;

// The header's fields are the writer's native order, little-endian on
// every machine that runs the launcher.
uint32_t field(const uint8_t* head, size_t index) {
  const uint8_t* at = head + index * 4;
  return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 | static_cast<uint32_t>(at[2]) << 16 |
         static_cast<uint32_t>(at[3]) << 24;
}

enum Field : size_t { kMagic, kCrc, kVersion, kHeaderSize, kBaseNameOffset, kBaseNameSize };

bool startsWith(const String& text, StringView prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

}  // namespace

uint32_t baseArchiveVersion(const uint8_t* head, size_t headSize) {
  if (headSize < kArchiveHeaderBytes || field(head, kMagic) != kBaseArchiveMagic) return 0;
  return field(head, kVersion);
}

bool isDynamicArchiveOf(uint32_t baseVersion, const uint8_t* head, size_t headSize, uint64_t fileSize) {
  if (baseVersion == 0 || headSize < kArchiveHeaderBytes || fileSize < kArchiveHeaderBytes) return false;
  if (field(head, kMagic) != kDynamicArchiveMagic || field(head, kVersion) != baseVersion) return false;
  const uint64_t headerSize = field(head, kHeaderSize);
  const uint64_t nameOffset = field(head, kBaseNameOffset);
  const uint64_t nameSize = field(head, kBaseNameSize);
  if (headerSize < kArchiveHeaderBytes || headerSize > fileSize) return false;
  // A base archive named in the header: its name lies inside the header.
  return nameSize == 0 ? nameOffset == 0 : nameOffset >= kArchiveHeaderBytes && nameOffset + nameSize <= headerSize;
}

String optionPreventingArchive(const StringList& options, char16_t separator, bool (*isFolder)(const String&)) {
  // Agents and an archive at exit stop the VM as it archives; with a changed
  // module graph it archives nothing, or complains on standard output at
  // every start that its archive does not fit.
  static constexpr StringView kBlockers[] = {u"-javaagent:",     u"-agentlib:",      u"-agentpath:",
                                             u"-XX:ArchiveClassesAtExit=",          u"--module-path=",
                                             u"--upgrade-module-path=",             u"--add-modules=",
                                             u"--limit-modules=", u"--patch-module="};
  constexpr StringView kBootAppend = u"-Xbootclasspath/a:";
  for (const String& option : options) {
    for (StringView prefix : kBlockers) {
      if (startsWith(option, prefix)) return option;
    }
    if (!startsWith(option, kBootAppend)) continue;
    // Jars and missing entries are fine; HotSpot refuses a folder with files.
    size_t start = kBootAppend.size();
    while (start <= option.size()) {
      size_t end = option.find(separator, start);
      if (end == String::npos) end = option.size();
      if (end > start && isFolder(option.substr(start, end - start))) return option;
      start = end + 1;
    }
  }
  return {};
}
