#include "vm/timestamp_name.h"

void expandTimestamp(String& name, uint32_t milliseconds, const PictureFormatter& format) {
  size_t first = name.find(u'%');
  if (first == String::npos) return;
  size_t last = name.rfind(u'%');
  String picture = first == last ? String() : name.substr(first + 1, last - first - 1);

  String millis = formatText(u"%d", {static_cast<int32_t>(milliseconds)});
  String withMillis;
  for (char16_t c : picture) {
    if (c == u'L') {
      withMillis += millis;
    } else {
      withMillis += c;
    }
  }
  name = name.substr(0, first) + (withMillis.empty() ? String() : format(withMillis)) + name.substr(last + 1);
}
