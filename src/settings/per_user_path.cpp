#include "settings/per_user_path.h"

#include "common/path_components.h"

String productFolderName(StringView productName) {
  String name;
  for (char16_t c : productName) {
    if (String(u"\\?\"|><:/*").find(c) == String::npos) name += c;
  }
  return name;
}

String executableBaseName(StringView path) { return String(withoutExtension(fileNameOf(path))); }

PerUserPath perUserPathFor(StringView appData, StringView productName, StringView productCode,
                           StringView executablePath) {
  PerUserPath path;
  path.productFolder = String(appData) + u"\\" + productFolderName(productName);
  path.codeFolder = path.productFolder + u"\\" + String(productCode);
  path.file = path.codeFolder + u"\\" + executableBaseName(executablePath) + u".ini";
  return path;
}
