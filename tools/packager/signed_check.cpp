#include "signed_check.h"

#include <windows.h>

#include <string>
#include <vector>

#include "common/win32/file_system.h"
#include "common/win32/unique_resource.h"
#include "common/win32/win_text.h"
#include "file_io.h"
#include "little_endian.h"
#include "settings/embedded_settings_table.h"
#include "settings/settings_path.h"
#include "settings/setting_names.h"
#include "settings/win32/ini_settings_file.h"
#include "settings/win32/layered_settings.h"
#include "zip_archive.h"

namespace {

struct CertificateTable {
  bool portableExecutable = false;
  uint32_t offset = 0, size = 0;  // in the file; size 0: not signed
};

// The Authenticode signature's place, from the optional header's security
// directory (entry 4), which holds a file offset rather than an address.
CertificateTable certificateTable(const ByteBuffer& bytes) {
  CertificateTable table;
  if (bytes.size() < 0x40 || readLittleEndian(bytes, 0, 2) != 0x5A4D) return table;
  const size_t header = readLittleEndian(bytes, 0x3C, 4);
  if (header > bytes.size() - 24 || readLittleEndian(bytes, header, 4) != 0x4550) return table;
  const size_t optional = header + 24;
  if (optional > bytes.size() - 2) return table;
  const uint32_t magic = readLittleEndian(bytes, optional, 2);
  const size_t security = optional + (magic == 0x20B ? 144 : 128);
  if ((magic != 0x10B && magic != 0x20B) || security > bytes.size() - 8) return table;
  table.portableExecutable = true;
  table.offset = readLittleEndian(bytes, security, 4);
  table.size = readLittleEndian(bytes, security + 4, 4);
  return table;
}

std::string bytesText(size_t count) { return std::to_string(count) + (count == 1 ? " byte" : " bytes"); }

class Report {
 public:
  explicit Report(std::string name) : name_(std::move(name)) {}
  void note(const std::string& text) { printOut(name_ + ": " + text + "\n"); }
  void warn(const std::string& text) { ++warnings_, note("warning: " + text); }
  void fail(const std::string& text) { ++errors_, note("error: " + text); }
  int finish() const {
    printError(name_ + ": errors " + std::to_string(errors_) + ", warnings " + std::to_string(warnings_) + "\n");
    return errors_ ? 2 : warnings_ ? 1 : 0;
  }

 private:
  std::string name_;
  int errors_ = 0, warnings_ = 0;
};

void checkSignature(const CertificateTable& table, size_t fileSize, Report& report) {
  if (table.size == 0) {
    report.warn("not signed; sign it as the very last step, after packager package");
    return;
  }
  report.note("signed: a signature of " + bytesText(table.size) + " at offset " + std::to_string(table.offset));
  if (table.offset > fileSize || table.size > fileSize - table.offset) {
    report.fail("the signature's place lies beyond the end of the file: the file was cut after signing");
  } else if (fileSize - table.offset - table.size > 0) {
    report.warn(bytesText(fileSize - table.offset - table.size) +
                " follow the signature: data added after signing, which the signature does not cover");
  }
}

void checkJar(const ByteBuffer& bytes, const CertificateTable& table, Report& report) {
  const FoundJar jar = findJarAsJava(bytes);
  if (!jar.found) {
    if (jar.unreadableEnd) {
      report.fail("a jar's end record is there, but its directory is not where its offsets say, counted from the "
                  "jar's own start (were they adjusted, as zip -A does?): Java cannot read that jar");
    } else {
      report.note("no jar is appended");
    }
    return;
  }
  const size_t after = bytes.size() - jar.end;
  const std::string where = "the appended jar (" + std::to_string(jar.entries) + " entries, from offset " +
                            std::to_string(jar.start) + ") is followed by " + bytesText(after);
  if (table.size && jar.end > table.offset) {
    report.fail(where + ", but it ends inside the signature's place: it was appended after signing. "
                        "Package first, then sign");
  } else if (!jar.reachable) {
    report.fail(where + ": Java looks for a jar's end only in the last " + std::to_string(kJavaEndSearchWindow) +
                " bytes of a file, so the runtime cannot load classes from it. Append nothing after the jar "
                "but the signature, and sign with a shorter certificate chain");
  } else {
    report.note(where + ", within the last " + std::to_string(kJavaEndSearchWindow) +
                " bytes that Java searches: the runtime reads it");
  }
}

// The embedded settings must still decipher, with the upgrade code in the
// settings file beside the executable, as the launcher reads them.
void checkEmbeddedSettings(const String& exe, Report& report) {
  UniqueModule image(LoadLibraryExW(wide(exe), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  if (!image || !FindResourceW(image.get(), MAKEINTRESOURCEW(8000), RT_RCDATA)) {
    report.note("no settings are embedded");
    return;
  }
  const String ini = executablePathsFor(exe).settings;
  const String upgradeCode = IniSettingsFile(ini).value(setting::kUpgradeCode);
  if (upgradeCode.empty()) {
    report.fail("settings are embedded, but " + toUtf8(ini) +
                " gives no \"Upgrade Code\" to decipher them with: ship the INI that packager package wrote");
    return;
  }
  EmbeddedSettingsTable table;
  table.loadFromText(embeddedSettingsTextOf(image.get(), upgradeCode));
  if (table.getSectionNames().empty()) {
    report.fail("the embedded settings do not decipher with the \"Upgrade Code\" of " + toUtf8(ini) +
                ": they were changed, or the INI belongs to another package");
  } else {
    report.note("the embedded settings are intact (" + std::to_string(table.getSectionNames().size()) + " sections)");
  }
}

}  // namespace

int checkSignedExecutable(const String& path) {
  ByteBuffer bytes;
  std::string error;
  if (!readWholeFile(path, bytes, error)) {
    printError("packager: " + error + "\n");
    return 2;
  }
  Report report(toUtf8(path));
  const CertificateTable table = certificateTable(bytes);
  if (!table.portableExecutable) {
    report.fail("not an executable");
    return report.finish();
  }
  checkSignature(table, bytes.size(), report);
  checkJar(bytes, table, report);
  const String full = fullPathName(path);
  checkEmbeddedSettings(full.empty() ? path : full, report);
  return report.finish();
}
