#include "common/path_components.h"

#include "common/split_string.h"

namespace {
constexpr StringView kLongPrefix = u"\\\\?\\";
constexpr StringView kLongUncPrefix = u"\\\\?\\UNC\\";
}  // namespace

bool hasLongPathPrefix(StringView path) { return path.substr(0, 4) == kLongPrefix; }

bool isNetworkPath(StringView path) {
  if (path.substr(0, 8) == kLongUncPrefix) return true;
  return path.substr(0, 2) == u"\\\\" && !hasLongPathPrefix(path);
}

StringList splitPathComponents(StringView path) {
  String prefix;
  if (hasLongPathPrefix(path)) {
    bool unc = path.find(kLongUncPrefix) != StringView::npos;
    prefix = unc ? kLongUncPrefix : kLongPrefix;
    path.remove_prefix(prefix.size());
  }
  size_t slash = path.find(u'\\', isNetworkPath(path) ? 2 : 0);
  String root(path.substr(0, slash));
  StringView rest = slash == StringView::npos ? StringView() : path.substr(slash + 1);

  StringList components;
  splitString(rest, u"\\", components);
  String first = prefix + root;
  if (!first.empty()) components.insert(components.begin(), first);
  return components;
}

String withLongPathPrefix(StringView path) {
  if (path.size() < 260) return String(path);
  if (isNetworkPath(path)) {
    if (path.substr(0, 8) == kLongUncPrefix) return String(path);
    return String(kLongUncPrefix) + String(path.substr(2));
  }
  if (hasLongPathPrefix(path)) return String(path);
  return String(kLongPrefix) + String(path);
}

String withTrailingBackslash(StringView folder) {
  String path(folder);
  if (!path.empty() && path.back() != u'\\' && path.back() != u'/') path += u'\\';
  return path;
}

namespace {
size_t lastSeparator(StringView path) { return path.find_last_of(u"\\/"); }
}  // namespace

StringView parentFolder(StringView path) {
  size_t slash = lastSeparator(path);
  return slash == StringView::npos ? StringView() : path.substr(0, slash);
}

String folderOfPath(StringView path) {
  size_t slash = lastSeparator(path);
  return String(slash == StringView::npos ? path : path.substr(0, slash + 1));
}

String folderOrCurrent(StringView path) {
  size_t slash = lastSeparator(path);
  return slash == StringView::npos ? String(u".") : String(path.substr(0, slash));
}

StringView fileNameOf(StringView path) {
  size_t slash = lastSeparator(path);
  return slash == StringView::npos ? path : path.substr(slash + 1);
}

StringView withoutExtension(StringView fileName) { return fileName.substr(0, fileName.rfind(u'.')); }

bool isAbsolutePath(StringView path) {
  return path.size() >= 2 && (path[1] == u':' || (path[0] == u'\\' && path[1] == u'\\'));
}

String resolvedIn(StringView folder, StringView path) {
  return isAbsolutePath(path) ? String(path) : withTrailingBackslash(folder) + String(path);
}
