#pragma once
// The launcher's manifest as an application asks for it. Portable: the
// manifest is UTF-8 text.
#include <string>
#include <string_view>

struct ManifestChoices {
  // The process's code page is UTF-8 (Windows 10 1903 and later), so every
  // path and text reaches the VM whatever the system's code page.
  bool utf8 = false;
  // System DPI awareness, for Java 8, whose windows do not scale per monitor.
  bool systemDpi = false;
};

// Applies the choices; false, with the manifest unchanged, when it lacks the
// declarations they change.
bool applyManifestChoices(std::string& manifest, const ManifestChoices& choices);

// Whether the manifest makes the process's code page UTF-8.
bool declaresUtf8CodePage(std::string_view manifest);
