#include "vm/runtime_folders.h"

#include "common/path_components.h"

String cutAtLastBackslash(StringView path, int times) {
  for (int i = 0; i < times; ++i) {
    if (path.find(u'\\') == StringView::npos) break;
    path = parentFolder(path);
  }
  return String(path);
}

String runtimeHome(StringView jvmDllPath) { return cutAtLastBackslash(jvmDllPath, 3); }

String runtimeBinFolder(StringView jvmDllPath) { return cutAtLastBackslash(jvmDllPath, 2); }

namespace {

String withSemicolon(StringView list) {
  String out(list);
  if (!out.empty() && out.back() != u';') out += u';';
  return out;
}

}  // namespace

String extendedLibraryPath(StringView configured, StringView launcherFolder, StringView jvmDllPath) {
  String out(configured);
  if (out.empty() || out.back() != u';') out += u';';
  return out + String(launcherFolder) + u";.;%Path%;" + runtimeHome(jvmDllPath) + u"\\lib";
}

String vmProcessPath(StringView systemPath, StringView jvmDllPath) {
  return withSemicolon(systemPath) + u"%Path%;" + runtimeBinFolder(jvmDllPath);
}
