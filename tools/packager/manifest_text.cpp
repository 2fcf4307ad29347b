#include "packager/manifest_text.h"

namespace {

constexpr std::string_view kUtf8CodePage =
    "<activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/2019/WindowsSettings\">UTF-8</activeCodePage>";

bool replace(std::string& text, std::string_view from, std::string_view to) {
  const size_t at = text.find(from);
  if (at == std::string::npos) return false;
  text.replace(at, from.size(), to);
  return true;
}

}  // namespace

bool applyManifestChoices(std::string& manifest, const ManifestChoices& choices) {
  std::string changed = manifest;
  if (choices.utf8 && !declaresUtf8CodePage(changed) &&
      !replace(changed, "</windowsSettings>", std::string(kUtf8CodePage) + "\n    </windowsSettings>")) {
    return false;
  }
  if (choices.systemDpi && !(replace(changed, ">true/PM</dpiAware>", ">true</dpiAware>") &&
                             replace(changed, ">PerMonitorV2, PerMonitor, system</dpiAwareness>", ">system</dpiAwareness>"))) {
    return false;
  }
  manifest = std::move(changed);
  return true;
}

bool declaresUtf8CodePage(std::string_view manifest) { return manifest.find(kUtf8CodePage) != std::string_view::npos; }
