#include "vm/runtime_folders.h"

String cutAtLastBackslash(StringView path, int times) {
  for (int i = 0; i < times; ++i) {
    size_t slash = path.rfind(u'\\');
    if (slash == StringView::npos) break;
    path = path.substr(0, slash);
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
