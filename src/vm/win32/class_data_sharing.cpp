#include "vm/win32/class_data_sharing.h"

#include <windows.h>

#include "common/win32/ansi_text.h"
#include "common/win32/environment.h"
#include "common/win32/file_system.h"
#include "common/win32/launch_trace.h"
#include "common/win32/unique_resource.h"
#include "common/win32/win_text.h"
#include "jre/release_file.h"
#include "settings/per_user_path.h"
#include "vm/runtime_folders.h"
#include "vm/shared_archive_rules.h"

namespace {

bool isFolder(const String& path) {
  const DWORD attributes = GetFileAttributesW(wide(expandEnvironment(path)));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The file's first bytes and its size; false when it cannot be read.
bool readHead(const String& path, uint8_t (&head)[kArchiveHeaderBytes], uint64_t& size) {
  UniqueFile file(CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER length{};
  DWORD read = 0;
  if (!file || !GetFileSizeEx(file.get(), &length)) return false;
  size = static_cast<uint64_t>(length.QuadPart);
  return ReadFile(file.get(), head, sizeof head, &read, nullptr) && read == sizeof head;
}

// The format version of the runtime's own base archive; 0 without one. The
// runtime creates no archive of its own without it.
uint32_t archiveFormatOf(const String& baseArchive) {
  uint8_t head[kArchiveHeaderBytes] = {};
  uint64_t size = 0;
  return readHead(baseArchive, head, size) ? baseArchiveVersion(head, sizeof head) : 0;
}

// The runtime in the archive's file name: FNV-1a of its jvm.dll path, case
// folded (one runtime, one archive, however its path is written), and of the
// file's size and time, so that a runtime replaced in place gets a new one.
String runtimeTag(const String& jvmDllPath) {
  uint32_t hash = 2166136261u;
  auto mix = [&hash](uint32_t value) { hash = (hash ^ value) * 16777619u; };
  for (char16_t c : jvmDllPath) mix(c >= u'A' && c <= u'Z' ? uint32_t{c} + 32u : uint32_t{c});
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (GetFileAttributesExW(wide(jvmDllPath), GetFileExInfoStandard, &data)) {
    for (DWORD part : {data.nFileSizeLow, data.nFileSizeHigh, data.ftLastWriteTime.dwLowDateTime,
                       data.ftLastWriteTime.dwHighDateTime}) {
      mix(part);
    }
  }
  static const char16_t digits[] = u"0123456789abcdef";
  String tag;
  for (int shift = 28; shift >= 0; shift -= 4) tag += digits[(hash >> shift) & 0xF];
  return tag;
}

// The VM opens the archive through the ANSI code page and fails at exit when
// it cannot create it; a file made and dropped here shows that it can.
bool vmCanWrite(const String& archive) {
  if (!toAnsiExactly(archive)) {
    trace::line(u"class data sharing: " + archive + u" has no ANSI form: no archive");
    return false;
  }
  UniqueFile probe(CreateFileW(wide(archive + u".probe"), GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  if (!probe) {
    trace::line(u"class data sharing: cannot write beside " + archive + u": no archive");
    return false;
  }
  return true;
}

// Deletes an archive the runtime would refuse, which it would never replace.
bool keepOnlyUsableArchive(const String& archive, uint32_t baseVersion) {
  if (GetFileAttributesW(wide(archive)) == INVALID_FILE_ATTRIBUTES) return true;
  uint8_t head[kArchiveHeaderBytes] = {};
  uint64_t size = 0;
  const bool read = readHead(archive, head, size);
  if (read && isDynamicArchiveOf(baseVersion, head, sizeof head, size)) return true;
  if (!DeleteFileW(wide(archive))) {
    trace::line(u"class data sharing: " + archive + u" is not this runtime's archive and cannot be deleted: no archive");
    return false;
  }
  trace::line(u"class data sharing: " + archive + u" was not this runtime's archive: deleted");
  return true;
}

}  // namespace

StringList classDataSharingOptions(const String& jvmDllPath, const ProductIdentity& product,
                                   const String& executablePath, const StringList& classPath,
                                   const StringList& vmParameters) {
  for (const String& entry : classPath) {
    const DWORD attributes = GetFileAttributesW(wide(entry));
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      trace::line(u"class data sharing: the class path holds " + entry + u", which is not a jar: no archive");
      return {};
    }
  }
  const String blocker = optionPreventingArchive(vmParameters, u';', isFolder);
  if (!blocker.empty()) {
    trace::line(u"class data sharing: the VM option " + blocker + u" prevents archiving: no archive");
    return {};
  }
  const ReleaseInfo release = readReleaseFile(runtimeHome(jvmDllPath) + u"\\");
  if (!release.hasVersion || release.version.parts[0] < kAutoArchiveJavaVersion) {
    trace::line("class data sharing: the runtime is older than Java 19 (or has no release file): no archive");
    return {};
  }
  const String baseArchive = cutAtLastBackslash(jvmDllPath, 1) + u"\\classes.jsa";
  const uint32_t baseVersion = archiveFormatOf(baseArchive);
  if (baseVersion == 0) {
    trace::line(u"class data sharing: " + baseArchive + u" is no base archive: no archive");
    return {};
  }
  const String localAppData = environmentVariable(u"LOCALAPPDATA").value_or(String());
  if (localAppData.empty()) return {};
  const PerUserPath folders = perUserPathFor(localAppData, product.name, product.code, executablePath);
  const String archive = folders.codeFolder + u"\\" + executableBaseName(executablePath) + u"-" +
                         formatVersion(release.version) + u"-" + runtimeTag(jvmDllPath) + u".jsa";
  if (createParentFolders(archive) != 0) {
    trace::line(u"class data sharing: cannot create the folder of " + archive + u": no archive");
    return {};
  }
  if (!vmCanWrite(archive) || !keepOnlyUsableArchive(archive, baseVersion)) return {};
  return {u"-XX:SharedArchiveFile=" + archive, u"-XX:+AutoCreateSharedArchive"};
}
