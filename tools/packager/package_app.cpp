#include "package_app.h"

#include <windows.h>

#include "common/win32/file_system.h"
#include "common/path_components.h"
#include "common/win32/unique_resource.h"
#include "common/win32/win_text.h"
#include "file_io.h"
#include "icon_file.h"
#include "settings/win32/embedded_settings_writer.h"
#include "settings/win32/ini_settings_file.h"
#include "zip_archive.h"

namespace {

constexpr WORD kLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// Files written under temporary names, renamed into place by commit();
// whatever was not committed is removed.
class Staging {
 public:
  ~Staging() {
    for (const auto& file : files_) DeleteFileW(wide(file.temporary));
    for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) RemoveDirectoryW(wide(*folder));
  }

  // A temporary name beside `finalPath`, its folder created when missing.
  String stage(const String& finalPath) {
    String folder = folderOrCurrent(finalPath);
    createFolder(folder);
    String temporary = folder + u"\\~" + String(fileNameOf(finalPath)) + u".partial";
    files_.push_back({temporary, finalPath, {}, false});
    return temporary;
  }

  // Every output or none: each earlier output moves aside before the new one
  // takes its name, and a failure on the way puts all of them back.
  bool commit(std::string& error) {
    size_t placed = 0;
    for (; placed < files_.size(); ++placed) {
      File& file = files_[placed];
      file.previous = folderOrCurrent(file.final) + u"\\~" + String(fileNameOf(file.final)) + u".previous";
      file.replaces = pathExists(file.final);
      if (file.replaces && !MoveFileExW(wide(file.final), wide(file.previous), MOVEFILE_REPLACE_EXISTING)) break;
      if (!MoveFileExW(wide(file.temporary), wide(file.final), 0)) {
        const DWORD code = GetLastError();
        if (file.replaces) MoveFileExW(wide(file.previous), wide(file.final), 0);
        SetLastError(code);
        break;
      }
    }
    if (placed < files_.size()) {
      error = "cannot write " + toUtf8(files_[placed].final) + ": " + systemMessage(GetLastError());
      for (size_t i = placed; i-- > 0;) {
        const File& file = files_[i];
        MoveFileExW(wide(file.final), wide(file.temporary), MOVEFILE_REPLACE_EXISTING);  // removed with the rest
        if (file.replaces) MoveFileExW(wide(file.previous), wide(file.final), 0);
      }
      return false;
    }
    for (const File& file : files_) {
      if (file.replaces) DeleteFileW(wide(file.previous));
    }
    files_.clear();
    folders_.clear();
    return true;
  }

 private:
  // Remembers the folders it made, to remove them again after a failure.
  void createFolder(const String& folder) {
    if (pathExists(folder) || folder.size() < 3) return;
    createFolder(folderOrCurrent(folder));
    if (CreateDirectoryW(wide(folder), nullptr)) folders_.push_back(folder);
  }

  struct File {
    String temporary, final;
    String previous;        // where the earlier output waits while the new one is placed
    bool replaces = false;  // an earlier output was there
  };
  std::vector<File> files_;
  StringList folders_;
};

// A resource of the template, kept by value: types and names are numbers or
// texts, and the module they came from is unloaded before they are written.
struct ResourceName {
  WORD id = 0;
  std::wstring text;

  explicit ResourceName(LPCWSTR name) {
    if (IS_INTRESOURCE(name)) id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
    else text = name;
  }
  LPCWSTR get() const { return id ? MAKEINTRESOURCEW(id) : text.c_str(); }
};

struct Resource {
  ResourceName type, name;
  WORD language;
  ByteBuffer data;
};

struct Collection {
  HMODULE module;
  std::vector<Resource> resources;
  bool skipIcons;
};

BOOL CALLBACK collectLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR param) {
  auto collection = reinterpret_cast<Collection*>(param);
  HRSRC found = FindResourceExW(module, type, name, language);
  const void* data = found ? LockResource(LoadResource(module, found)) : nullptr;
  if (!data) return TRUE;
  const auto* bytes = static_cast<const uint8_t*>(data);
  collection->resources.push_back({ResourceName(type), ResourceName(name), language,
                                   ByteBuffer(bytes, bytes + SizeofResource(module, found))});
  return TRUE;
}

BOOL CALLBACK collectName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) {
  EnumResourceLanguagesW(module, type, name, collectLanguage, param);
  return TRUE;
}

BOOL CALLBACK collectType(HMODULE module, LPWSTR type, LONG_PTR param) {
  auto collection = reinterpret_cast<Collection*>(param);
  const bool icon = type == RT_ICON || type == RT_GROUP_ICON;
  if (type == RT_VERSION || (icon && collection->skipIcons)) return TRUE;
  EnumResourceNamesW(module, type, collectName, param);
  return TRUE;
}

struct Brand {
  IconResources icons;
  bool hasIcon = false;
  ByteBuffer version;
  ManifestChoices manifest;
};

bool addResource(HANDLE update, LPCWSTR type, LPCWSTR name, WORD language, const ByteBuffer& data) {
  return UpdateResourceW(update, type, name, language, const_cast<uint8_t*>(data.data()), static_cast<DWORD>(data.size()));
}

// Rewrites the resources of `exe`: the template's own, except its version
// information and (when the brand has one) its icon, then the brand's. All
// are written afresh rather than deleted one by one, which not every
// resource writer honours.
bool writeBrand(const String& templatePath, const String& exe, const Brand& brand, std::string& error) {
  Collection kept{nullptr, {}, brand.hasIcon};
  {
    UniqueModule module(
        LoadLibraryExW(wide(templatePath), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!module) {
      error = "the template " + toUtf8(templatePath) + " is not a Windows executable: " + systemMessage(GetLastError());
      return false;
    }
    kept.module = module.get();
    EnumResourceTypesW(module.get(), collectType, reinterpret_cast<LONG_PTR>(&kept));
  }

  for (Resource& resource : kept.resources) {
    if (resource.type.get() != RT_MANIFEST) continue;
    std::string manifest(resource.data.begin(), resource.data.end());
    if (!applyManifestChoices(manifest, brand.manifest)) {
      error = "the template " + toUtf8(templatePath) + " has a manifest without the declarations --utf-8 and --dpi-aware change";
      return false;
    }
    resource.data.assign(manifest.begin(), manifest.end());
  }

  HANDLE update = BeginUpdateResourceW(wide(exe), TRUE);
  bool ok = update != nullptr;
  for (const Resource& resource : kept.resources) {
    ok = ok && addResource(update, resource.type.get(), resource.name.get(), resource.language, resource.data);
  }
  if (brand.hasIcon) {
    for (size_t i = 0; i < brand.icons.images.size(); ++i) {
      ok = ok && addResource(update, RT_ICON, MAKEINTRESOURCEW(i + 1), kLanguage, brand.icons.images[i]);
    }
    ok = ok && addResource(update, RT_GROUP_ICON, MAKEINTRESOURCEW(1), kLanguage, brand.icons.group);
  }
  ok = ok && addResource(update, RT_VERSION, MAKEINTRESOURCEW(1), kLanguage, brand.version);
  DWORD code = GetLastError();
  if (update) ok = EndUpdateResourceW(update, !ok) && ok;
  if (!ok) error = "cannot write the resources of " + toUtf8(exe) + ": " + systemMessage(code ? code : GetLastError());
  return ok;
}

// With the settings embedded, the INI beside the exe keeps only what the
// launcher reads from that file alone: the product's identity, which finds
// and deciphers the embedded text, and the splash settings.
ByteBuffer plainSections(const String& iniPath) {
  IniSettingsFile ini(iniPath);
  const struct {
    const char16_t* section;
    std::initializer_list<const char16_t*> keys;
  } sections[] = {
      {setting::kProductSection, {setting::kProductName.name, setting::kProductCode.name, setting::kUpgradeCode.name}},
      {setting::kDisplaySection,
       {setting::kSplashScreen.name, setting::kSplashScreenShadow.name, setting::kPreferNativeSplash.name}},
  };
  String text;
  for (const auto& section : sections) {
    String lines;
    for (const char16_t* key : section.keys) {
      String value = ini.getValue(section.section, key);
      if (!value.empty()) lines += key + (u"=" + value) + u"\r\n";
    }
    if (!lines.empty()) text += u"[" + String(section.section) + u"]\r\n" + lines;
  }
  ByteBuffer bytes{0xFF, 0xFE};  // UTF-16, as the profile functions read it
  appendUtf16Le(bytes, text);
  return bytes;
}

// The text to embed: lines ended by CR LF whatever the file used, without a
// UTF-8 byte-order mark the profile functions would not skip either.
String embeddableText(String text) {
  if (text.size() >= 3 && text.compare(0, 3, u"\u00EF\u00BB\u00BF") == 0) text.erase(0, 3);
  if (!text.empty() && text[0] == u'\uFEFF') text.erase(0, 1);
  String out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
    if (text[i] == u'\r' || text[i] == u'\n') {
      out += u"\r\n";
      continue;
    }
    out += text[i];
  }
  return out;
}

bool versionDetails(const PackageRequest& request, const String& baseName, VersionDetails& details, std::string& error) {
  const String fileVersion = request.fileVersion.empty() ? u"1.0.0.0" : request.fileVersion;
  if (!parseVersionQuad(fileVersion, details.fileVersion)) {
    error = "--file-version " + toUtf8(fileVersion) + " is not a version of up to four numbers 0 to 65535 (1.2.3.4)";
    return false;
  }
  const String productVersion = request.productVersion.empty() ? fileVersion : request.productVersion;
  // A product version that is not numeric still names the product; its numbers are the file's.
  if (!parseVersionQuad(productVersion, details.productVersion)) details.productVersion = details.fileVersion;
  const String productName = request.productName.empty() ? baseName : request.productName;
  details.strings = {
      {u"CompanyName", request.company},
      {u"FileDescription", request.description.empty() ? productName : request.description},
      {u"FileVersion", fileVersion},
      {u"InternalName", baseName},
      {u"LegalCopyright", request.copyright},
      {u"OriginalFilename", baseName + u".exe"},
      {u"ProductName", productName},
      {u"ProductVersion", productVersion},
  };
  return true;
}

}  // namespace

int packageApplication(const PackageRequest& request, std::string& error) {
  const String baseName = String(withoutExtension(fileNameOf(request.outPath)));
  const String outFolder = folderOrCurrent(request.outPath);
  if (baseName.empty()) {
    error = "--out " + toUtf8(request.outPath) + " names no file";
    return 2;
  }
  // Everything is read and checked before anything is written.
  Brand brand;
  brand.manifest = request.manifest;
  VersionDetails details;
  if (!versionDetails(request, baseName, details, error)) return 2;
  brand.version = buildVersionResource(details);
  if (!request.iconPath.empty()) {
    ByteBuffer icon;
    std::string why;
    if (!readWholeFile(request.iconPath, icon, error)) return 2;
    if (!readIconFile(icon, brand.icons, why)) {
      error = "cannot use the icon " + toUtf8(request.iconPath) + ": " + why;
      return 2;
    }
    brand.hasIcon = true;
  }
  ByteBuffer ini;
  if (!readWholeFile(request.iniPath, ini, error)) return 2;
  String upgradeCode;
  if (request.embedSettings) {
    upgradeCode = IniSettingsFile(request.iniPath).getValue(u"Product Information", u"Upgrade Code");
    if (upgradeCode.empty()) {
      error = "--embed-settings needs \"Upgrade Code\" in section \"Product Information\" of " + toUtf8(request.iniPath) +
              ": the embedded settings are enciphered with it";
      return 2;
    }
  }
  ByteBuffer jar;
  if (!request.jarPath.empty()) {
    if (!readWholeFile(request.jarPath, jar, error)) return 2;
    if (!isZipArchive(jar)) {
      error = toUtf8(request.jarPath) + " is not a jar (no zip directory at its end)";
      return 2;
    }
  }
  for (const String& library : request.libraries) {
    if (!fileOrFolderExists(library)) {
      error = "cannot read " + toUtf8(library) + ": " + systemMessage(ERROR_FILE_NOT_FOUND);
      return 2;
    }
  }

  Staging staging;
  const String exe = staging.stage(request.outPath);
  if (!CopyFileW(wide(request.templatePath), wide(exe), FALSE)) {
    error = "cannot copy the template " + toUtf8(request.templatePath) + ": " + systemMessage(GetLastError());
    return 2;
  }
  if (!writeBrand(request.templatePath, exe, brand, error)) return 2;
  if (request.embedSettings) {
    if (uint32_t code = writeEmbeddedSettings(exe, embeddableText(decodeIniText(ini)), upgradeCode)) {
      error = "cannot embed the settings in " + toUtf8(exe) + ": " + systemMessage(code);
      return 2;
    }
  }
  // Appended last: updating resources rewrites the file and would drop it.
  if (!jar.empty() && !appendToFile(exe, jar, error)) return 2;

  const String iniTarget = outFolder + u"\\" + baseName + u".ini";
  if (request.embedSettings) {
    if (!writeWholeFile(staging.stage(iniTarget), plainSections(request.iniPath), error)) return 2;
  } else if (!CopyFileW(wide(request.iniPath), wide(staging.stage(iniTarget)), FALSE)) {
    error = "cannot copy " + toUtf8(request.iniPath) + ": " + systemMessage(GetLastError());
    return 2;
  }
  for (const String& library : request.libraries) {
    const String target = outFolder + u"\\lib\\" + String(fileNameOf(library));
    if (!CopyFileW(wide(library), wide(staging.stage(target)), FALSE)) {
      error = "cannot copy " + toUtf8(library) + ": " + systemMessage(GetLastError());
      return 2;
    }
  }
  return staging.commit(error) ? 0 : 2;
}
