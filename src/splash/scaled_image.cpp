#include "splash/scaled_image.h"

#include <string>

StringList scaledImageNames(StringView imagePath, int percent) {
  if (percent <= 100) return {};
  // The extension is the last dot's, unless that dot lies in a folder name.
  const size_t slash = imagePath.find_last_of(u"\\/");
  size_t dot = imagePath.rfind(u'.');
  if (dot == StringView::npos || (slash != StringView::npos && dot < slash)) dot = imagePath.size();
  const String stem(imagePath.substr(0, dot)), extension(imagePath.substr(dot));
  const auto number = [](int n) { return fromUtf8(std::to_string(n)); };
  StringList names{stem + u"@" + number(percent) + u"pct" + extension};
  if (percent % 100 == 0) names.push_back(stem + u"@" + number(percent / 100) + u"x" + extension);
  return names;
}
