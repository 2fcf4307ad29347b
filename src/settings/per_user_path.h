#pragma once
#include "common/text.h"

// The pieces of a per-user settings file path:
//   <appData>\<folder name>\<product code>\<base name of the executable>.ini
struct PerUserPath {
  String productFolder;  // <appData>\<folder name>
  String codeFolder;     // <productFolder>\<product code>
  String file;           // <codeFolder>\<base name>.ini
};

// The product name without the characters a folder name cannot hold
// (\ ? " | > < : / *); nothing else is changed or trimmed.
String productFolderName(StringView productName);

// The file name after the last backslash, cut before its last "." when it has one.
String executableBaseName(StringView path);

PerUserPath perUserPathFor(StringView appData, StringView productName, StringView productCode,
                           StringView executablePath);
