#include "settings/per_user_path.h"

String productFolderName(StringView productName) {
  String name;
  for (char16_t c : productName) {
    if (String(u"\\?\"|><:/*").find(c) == String::npos) name += c;
  }
  return name;
}

String executableBaseName(StringView path) {
  size_t slash = path.rfind(u'\\');
  StringView name = slash == StringView::npos ? path : path.substr(slash + 1);
  size_t dot = name.rfind(u'.');
  return String(dot == StringView::npos ? name : name.substr(0, dot));
}

PerUserPath perUserPathFor(StringView appData, StringView productName, StringView productCode,
                           StringView executablePath) {
  PerUserPath path;
  path.productFolder = String(appData) + u"\\" + productFolderName(productName);
  path.codeFolder = path.productFolder + u"\\" + String(productCode);
  path.file = path.codeFolder + u"\\" + executableBaseName(executablePath) + u".ini";
  return path;
}
