#include "vm/class_data_sharing.h"

#include <windows.h>

#include "common/environment.h"
#include "common/file_system.h"
#include "common/launch_trace.h"
#include "common/win_text.h"
#include "jre/release_file.h"
#include "settings/per_user_path.h"
#include "vm/runtime_folders.h"

namespace {

// Names the runtime in the archive's file name: FNV-1a of its jvm.dll path,
// case folded (one runtime, one archive, however its path is written).
String runtimeTag(const String& jvmDllPath) {
  uint32_t hash = 2166136261u;
  for (char16_t c : jvmDllPath) {
    const char16_t folded = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
    hash = (hash ^ folded) * 16777619u;
  }
  static const char16_t digits[] = u"0123456789abcdef";
  String tag;
  for (int shift = 28; shift >= 0; shift -= 4) tag += digits[(hash >> shift) & 0xF];
  return tag;
}

}  // namespace

StringList classDataSharingOptions(const String& jvmDllPath, const ProductIdentity& product,
                                   const String& executablePath, const StringList& classPath) {
  for (const String& entry : classPath) {
    const DWORD attributes = GetFileAttributesW(wide(entry));
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      trace::line(u"class data sharing: the class path holds " + entry + u", which is not a jar: no archive");
      return {};
    }
  }
  const ReleaseInfo release = readReleaseFile(runtimeHome(jvmDllPath) + u"\\");
  if (!release.hasVersion || release.version.parts[0] < kAutoArchiveJavaVersion) {
    trace::line("class data sharing: the runtime is older than Java 19 (or has no release file): no archive");
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
  return {u"-XX:SharedArchiveFile=" + archive, u"-XX:+AutoCreateSharedArchive"};
}
