// The packaging tool: an application's exe written from the launcher
// template, read back with Windows' resource and version functions, and run.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "java_app.h"

namespace {

void put(std::string& out, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A 32-bit colour icon image of `size` pixels: header, pixels, empty mask.
std::string iconImage(int size, uint8_t shade) {
  std::string out;
  put(out, 40, 4), put(out, static_cast<uint32_t>(size), 4), put(out, static_cast<uint32_t>(2 * size), 4);
  put(out, 1, 2), put(out, 32, 2), put(out, 0, 4), put(out, 0, 4), put(out, 0, 4), put(out, 0, 4), put(out, 0, 4),
      put(out, 0, 4);
  for (int i = 0; i < size * size; ++i) out += {static_cast<char>(shade), 0, 0, static_cast<char>(0xFF)};
  out.append(static_cast<size_t>((size + 31) / 32 * 4 * size), '\0');
  return out;
}

std::string iconFile(const std::vector<int>& sizes) {
  std::vector<std::string> images;
  for (int size : sizes) images.push_back(iconImage(size, static_cast<uint8_t>(size)));
  std::string out;
  put(out, 0, 2), put(out, 1, 2), put(out, static_cast<uint32_t>(sizes.size()), 2);
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(sizes.size());
  for (size_t i = 0; i < sizes.size(); ++i) {
    out += static_cast<char>(sizes[i]), out += static_cast<char>(sizes[i]);
    put(out, 0, 2), put(out, 1, 2), put(out, 32, 2), put(out, static_cast<uint32_t>(images[i].size()), 4), put(out, offset, 4);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (const std::string& image : images) out += image;
  return out;
}

// A jar with one stored entry (no compression, CRC left 0: nothing reads it here).
// A zip of one stored file.
std::string jarFile(const std::string& name = "hello.txt", const std::string& data = "hello") {
  std::string local, central, end;
  put(local, 0x04034b50, 4), put(local, 10, 2), put(local, 0, 2), put(local, 0, 2), put(local, 0, 4), put(local, 0, 4);
  put(local, static_cast<uint32_t>(data.size()), 4), put(local, static_cast<uint32_t>(data.size()), 4);
  put(local, static_cast<uint32_t>(name.size()), 2), put(local, 0, 2);
  local += name + data;
  put(central, 0x02014b50, 4), put(central, 20, 2), put(central, 10, 2), put(central, 0, 2), put(central, 0, 2);
  put(central, 0, 4), put(central, 0, 4), put(central, static_cast<uint32_t>(data.size()), 4);
  put(central, static_cast<uint32_t>(data.size()), 4), put(central, static_cast<uint32_t>(name.size()), 2);
  put(central, 0, 2), put(central, 0, 2), put(central, 0, 2), put(central, 0, 2), put(central, 0, 4), put(central, 0, 4);
  central += name;
  put(end, 0x06054b50, 4), put(end, 0, 4), put(end, 1, 2), put(end, 1, 2), put(end, static_cast<uint32_t>(central.size()), 4);
  put(end, static_cast<uint32_t>(local.size()), 4), put(end, 0, 2);
  return local + central + end;
}

std::string fileContent(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

robot::Outcome runPackager(const std::wstring& arguments) {
  robot::Launch launch;
  launch.program = programFromEnvironment("PACKAGER_EXE");
  launch.commandLine = L"\"" + launch.program + L"\" " + arguments;
  launch.captureOutput = true;
  launch.timeoutMs = 30000;
  return robot::run(launch);
}

std::wstring quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

std::wstring versionText(const std::vector<BYTE>& info, const wchar_t* name) {
  void* value = nullptr;
  UINT length = 0;
  std::wstring path = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
  if (!VerQueryValueW(info.data(), path.c_str(), &value, &length) || !value) return L"(none)";
  return static_cast<const wchar_t*>(value);
}

const char kIni[] =
    "[Product Information]\r\nProduct Name=Hello\r\nUpgrade Code={5E1F0C2A-7B55-4C8E-9D11-0A4B2C6D8E90}\r\n"
    "[Java Runtime Environment]\r\nMain Class=test.Echo\r\n[Class Path]\r\nClass Path=lib\\*.jar\r\n"
    "[Application]\r\nEmbedded Jar=Yes\r\nCmd=--from-settings\r\n";

TEST(Packaging, BrandsTheExecutableWhichStillLaunches) {
  JavaApp app(currentTestName());
  app.addRuntime(L"jre");
  const AppFolder input(app.path() + L"\\in");
  const std::wstring& in = input.path();
  input.writeFile(L"app.ico", iconFile({16, 32, 48}));
  input.writeFile(L"Hello.ini", kIni);
  const std::string appJar = jarFile("META-INF/MANIFEST.MF", "Manifest-Version: 1.0\r\nMain-Class: test.Echo\r\n");
  input.writeFile(L"app.jar", appJar);
  input.writeFile(L"extras.jar", jarFile());
  const std::string templateBefore = fileContent(launcherUnderTest());

  robot::Outcome outcome = runPackager(
      L"package --template " + quoted(launcherUnderTest()) + L" --ini " + quoted(in + L"\\Hello.ini") + L" --out " +
      quoted(app.path() + L"\\Shop.exe") + L" --icon " + quoted(in + L"\\app.ico") +
      L" --product-name \"Hello World\" --file-version 1.2.3.4 --product-version \"1.2 beta\" --company \"Example Ltd\""
      L" --description \"Says hello\" --copyright \"(c) 2026 Example\" --jar " + quoted(in + L"\\app.jar") + L" --lib " +
      quoted(in + L"\\extras.jar"));
  ASSERT_EQ(outcome.exitCodeSigned(), 0) << outcome.output;
  EXPECT_EQ(fileContent(launcherUnderTest()), templateBefore) << "the template is only read";
  const std::wstring exe = app.path() + L"\\Shop.exe";
  EXPECT_EQ(fileContent(app.path() + L"\\Shop.ini"), kIni) << "the INI is copied beside the exe";
  EXPECT_EQ(fileContent(app.path() + L"\\lib\\extras.jar"), jarFile());
  const std::string written = fileContent(exe);
  EXPECT_EQ(written.substr(written.size() - appJar.size()), appJar) << "the jar is appended";

  // The icons: the file's three images, none of the template's left.
  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr);
  HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  const BYTE* directory = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
  ASSERT_EQ(directory[4], 3);
  for (int i = 0; i < 3; ++i) {
    const int size = (i + 1) * 16;
    SCOPED_TRACE(size);
    HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(i + 1), RT_ICON);
    ASSERT_NE(image, nullptr);
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, image)));
    EXPECT_EQ(std::string(data, SizeofResource(module, image)), iconImage(size, static_cast<uint8_t>(size)));
  }
  EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(4), RT_ICON), nullptr) << "the template had five images";
  int bestId = LookupIconIdFromDirectoryEx(const_cast<BYTE*>(directory), TRUE, 32, 32, LR_DEFAULTCOLOR);
  EXPECT_EQ(bestId, 2) << "Windows picks the 32-pixel image for 32 pixels";
  FreeLibrary(module);

  // The version information.
  DWORD handle = 0;
  std::vector<BYTE> info(GetFileVersionInfoSizeW(exe.c_str(), &handle));
  ASSERT_FALSE(info.empty());
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
  const struct {
    const wchar_t* name;
    const wchar_t* value;
  } texts[] = {
      {L"ProductName", L"Hello World"},      {L"FileVersion", L"1.2.3.4"},       {L"ProductVersion", L"1.2 beta"},
      {L"CompanyName", L"Example Ltd"},      {L"FileDescription", L"Says hello"}, {L"LegalCopyright", L"(c) 2026 Example"},
      {L"OriginalFilename", L"Shop.exe"},    {L"InternalName", L"Shop"},
  };
  for (const auto& text : texts) EXPECT_EQ(versionText(info, text.name), text.value) << narrow(text.name);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010002u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00030004u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010002u) << "a product version that is not numeric takes the file's numbers";

  // It still launches, with the exe itself first on the class path.
  robot::Outcome launched = app.launch(L"hi");
  EXPECT_EQ(launched.exitCodeSigned(), 0) << report(launched);
  EXPECT_EQ(app.journal("arg"), (std::vector<std::string>{"hi", "--from-settings"}));
  std::vector<std::string> options = optionsBeforeHooks(app);
  ASSERT_FALSE(options.empty());
  EXPECT_EQ(options[0].rfind("-Djava.class.path=" + narrow(exe) + ";", 0), 0u) << options[0];

  // Without "Main Class" the executable is an executable jar: its manifest names the class.
  std::string jarIni = kIni;
  jarIni.erase(jarIni.find("test.Echo"), 9);
  app.writeIni(jarIni);
  launched = app.launch(L"hi");
  EXPECT_EQ(launched.exitCodeSigned(), 0) << report(launched);
  EXPECT_EQ(app.journal("check-and-load-mode"), std::vector<std::string>{"2"});
  EXPECT_EQ(app.journal("check-and-load-main"), std::vector<std::string>{narrow(exe)});
  EXPECT_EQ(app.journal("main"), std::vector<std::string>{"test/Echo"});
}

// Embedded settings take effect: the INI beside the exe then holds only the
// product's identity and the splash settings, and the rest comes from the exe.
TEST(Packaging, EmbedsTheSettings) {
  JavaApp app(currentTestName());
  app.addRuntime(L"jre");
  const AppFolder input(app.path() + L"\\in");
  const std::wstring& in = input.path();
  // Written in UTF-8 with bare line feeds, which the embedded text must not keep.
  std::string ini = "\xEF\xBB\xBF" + std::string(kIni) + "[Display]\r\nSplash Screen=splash.png\r\n";
  for (size_t at; (at = ini.find("\r\n")) != std::string::npos;) ini.replace(at, 2, "\n");
  input.writeFile(L"Hello.ini", ini);
  robot::Outcome outcome = runPackager(L"package --embed-settings --template " + quoted(launcherUnderTest()) + L" --ini " +
                                       quoted(in + L"\\Hello.ini") + L" --out " + quoted(app.path() + L"\\Shop.exe"));
  ASSERT_EQ(outcome.exitCodeSigned(), 0) << outcome.output;
  const std::string beside = fileContent(app.path() + L"\\Shop.ini");
  EXPECT_EQ(beside.find("M\0a\0i\0n\0", 0, 8), std::string::npos) << "no Main Class beside the exe";
  EXPECT_NE(beside.find("U\0p\0g\0r\0a\0d\0e\0", 0, 14), std::string::npos);
  EXPECT_NE(beside.find("S\0p\0l\0a\0s\0h\0", 0, 12), std::string::npos) << "the splash is read from this file only";
  robot::Outcome launched = app.launch();
  EXPECT_EQ(launched.exitCodeSigned(), 0) << report(launched);
  EXPECT_EQ(app.journal("main"), std::vector<std::string>{"test/Echo"});
  EXPECT_EQ(app.journal("arg"), std::vector<std::string>{"--from-settings"});
}

// --utf-8 and --dpi-aware system change the manifest only; runtimes then
// judges installed runtimes as a launch of that executable does.
TEST(Packaging, WritesTheCodePageAndDpiTheApplicationAsksFor) {
  clearRegistryRuntimes();
  JavaApp app(currentTestName());
  registerRuntime(L"17.0.4", app.addRuntime(L"old"));
  registerRuntime(L"17.0.5", app.addRuntime(L"fixed"));
  const AppFolder input(app.path() + L"\\in");
  input.writeFile(L"Hello.ini", kIni);
  const std::wstring exe = app.path() + L"\\Shop.exe";
  robot::Outcome outcome = runPackager(L"package --utf-8 --dpi-aware system --template " + quoted(launcherUnderTest()) +
                                       L" --ini " + quoted(input.path() + L"\\Hello.ini") + L" --out " + quoted(exe));
  ASSERT_EQ(outcome.exitCodeSigned(), 0) << outcome.output;
  HMODULE image = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_TRUE(image);
  HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), RT_MANIFEST);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(image, found))), SizeofResource(image, found));
  FreeLibrary(image);
  EXPECT_NE(manifest.find(">UTF-8</activeCodePage>"), std::string::npos) << manifest;
  EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos) << manifest;
  EXPECT_NE(manifest.find(">system</dpiAwareness>"), std::string::npos) << manifest;
  robot::Outcome runtimes = runPackager(L"runtimes " + quoted(app.path() + L"\\Shop.ini"));
  // In a UTF-8 process a settings file without a byte-order mark is read as UTF-8 too.
  std::string utf8Ini = kIni;
  utf8Ini.replace(utf8Ini.find("--from-settings"), 15, "--user=J\xC3\xBCrgen");
  app.writeIni(utf8Ini);
  robot::Outcome launched = app.launch();
  clearRegistryRuntimes();
  EXPECT_EQ(launched.exitCodeSigned(), 0) << report(launched);
  EXPECT_EQ(app.journal("code-page"), std::vector<std::string>{"65001"}) << "Wine 8 applies the manifest's code page";
  EXPECT_EQ(app.journal("arg"), std::vector<std::string>{"--user=J\xC3\xBCrgen"});
  EXPECT_NE(runtimes.output.find("too old for a UTF-8 process"), std::string::npos) << runtimes.output;
  EXPECT_NE(runtimes.output.find("Shop.exe (window flavour) sees"), std::string::npos) << runtimes.output;
  EXPECT_NE(runtimes.output.find("fixed\\bin\\server\\jvm.dll (registry)"), std::string::npos) << runtimes.output;
}

// Bad input: a clear message, exit code 2 (1 for a wrong command line), and
// no output file at all.
TEST(Packaging, RefusesBadInputAndWritesNothing) {
  AppFolder folder(currentTestName());
  const std::wstring in = folder.path();
  folder.writeFile(L"Hello.ini", kIni);
  folder.writeFile(L"NoCode.ini", "[Java Runtime Environment]\r\nMain Class=a.B\r\n");
  folder.writeFile(L"app.ico", iconFile({16, 32}));
  folder.writeFile(L"bad.ico", iconFile({16, 32}).substr(0, 100));
  folder.writeFile(L"app.jar", jarFile());
  folder.writeFile(L"text.jar", "not a zip");
  folder.writeFile(L"notexe.exe", "MZ but nothing more");
  const std::wstring launcher = quoted(launcherUnderTest()), ini = quoted(in + L"\\Hello.ini");
  const std::wstring out = in + L"\\out\\Shop.exe";
  const struct {
    const char* name;
    std::wstring arguments;
    int exitCode;
    const char* message;
  } cases[] = {
      {"missing template", L"--template " + quoted(in + L"\\none.exe") + L" --ini " + ini, 2, "none.exe"},
      {"template not an executable", L"--template " + quoted(in + L"\\notexe.exe") + L" --ini " + ini, 2,
       "not a Windows executable"},
      {"missing INI", L"--template " + launcher + L" --ini " + quoted(in + L"\\none.ini"), 2, "none.ini"},
      {"damaged icon", L"--template " + launcher + L" --ini " + ini + L" --icon " + quoted(in + L"\\bad.ico"), 2,
       "outside the file"},
      {"missing icon", L"--template " + launcher + L" --ini " + ini + L" --icon " + quoted(in + L"\\none.ico"), 2,
       "none.ico"},
      {"jar that is no zip", L"--template " + launcher + L" --ini " + ini + L" --jar " + quoted(in + L"\\text.jar"), 2,
       "is not a jar"},
      {"missing library", L"--template " + launcher + L" --ini " + ini + L" --lib " + quoted(in + L"\\none.jar"), 2,
       "none.jar"},
      {"embedding without an upgrade code",
       L"--embed-settings --template " + launcher + L" --ini " + quoted(in + L"\\NoCode.ini"), 2, "Upgrade Code"},
      {"bad file version", L"--template " + launcher + L" --ini " + ini + L" --file-version 1.x", 2, "--file-version"},
      {"no template", L"--ini " + ini, 1, "needs --template"},
      {"unknown option", L"--template " + launcher + L" --ini " + ini + L" --colour red", 1, "unknown option --colour"},
      {"option without value", L"--template " + launcher + L" --ini " + ini + L" --icon", 1, "--icon needs a value"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    robot::Outcome outcome = runPackager(L"package --out " + quoted(out) + L" " + c.arguments);
    EXPECT_EQ(outcome.exitCodeSigned(), c.exitCode) << outcome.output;
    EXPECT_NE(outcome.output.find(c.message), std::string::npos) << outcome.output;
    EXPECT_FALSE(exists(in + L"\\out")) << "nothing written, not even the folder";
  }
}

// check reports with file and line, and its exit code grades the worst finding.
TEST(Packaging, ChecksAnIni) {
  AppFolder folder(currentTestName());
  CreateDirectoryW((folder.path() + L"\\lib").c_str(), nullptr);
  folder.writeFile(L"lib\\a.jar", jarFile());
  const std::string good = "[Java Runtime Environment]\r\nMain Class=a.B\r\n[Class Path]\r\nClass Path=lib\\*.jar\r\n";
  folder.writeFile(L"good.ini", good);
  folder.writeFile(L"warned.ini", good + "[Application]\r\nSingle Instance=Yes\r\n");
  folder.writeFile(L"failed.ini", "[Class Path]\r\nClass Path=lib\\*.jar\r\n");
  const std::string named = "[Application]\r\nCmd=--user=J\xC3\xBCrgen\r\n";
  folder.writeFile(L"utf8.ini", "\xEF\xBB\xBF" + good + named);
  folder.writeFile(L"unmarked.ini", good + named);
  // Packaged with its settings embedded: the INI beside the exe names no main class.
  folder.writeFile(L"Shop.ini", kIni);
  const std::wstring dist = folder.path() + L"\\dist";
  ASSERT_EQ(runPackager(L"package --embed-settings --template " + quoted(launcherUnderTest()) + L" --ini " +
                        quoted(folder.path() + L"\\Shop.ini") + L" --out " + quoted(dist + L"\\Shop.exe") + L" --lib " +
                        quoted(folder.path() + L"\\lib\\a.jar"))
                .exitCodeSigned(),
            0);
  const struct {
    const wchar_t* file;  // in the folder
    std::wstring options;
    int exitCode;
    const char* finding;  // null: none printed
  } cases[] = {
      // Before packaging, without the exe beside it, files are not looked for.
      {L"good.ini", L"", 0, "not looked for"},
      {L"warned.ini", L"", 1, "warned.ini:6: warning: Single Instance=Yes"},
      {L"failed.ini", L"", 2, "failed.ini: error: Main Class is missing"},
      {L"utf8.ini", L"", 0, nullptr},
      {L"unmarked.ini", L"", 1, "unmarked.ini:6: warning: non-ASCII text is read in the system code page"},
      {L"none.ini", L"", 2, "cannot read"},
      {L"good.ini", L" --app-folder " + quoted(folder.path()), 0, nullptr},
      {L"good.ini", L" --app-folder " + quoted(dist + L"\\none"), 2, "Class path entry \"lib\\*.jar\" matches no file"},
      {L"dist\\Shop.exe", L"", 0, "Shop.exe: the window flavour, with embedded settings"},
      {L"dist\\Shop.ini", L"", 0, "with embedded settings"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(narrow(c.file + c.options));
    robot::Outcome outcome = runPackager(L"check " + quoted(folder.path() + L"\\" + c.file) + c.options);
    EXPECT_EQ(outcome.exitCodeSigned(), c.exitCode) << outcome.output;
    if (c.finding) EXPECT_NE(outcome.output.find(c.finding), std::string::npos) << outcome.output;
    else EXPECT_EQ(outcome.output.find("warning:"), std::string::npos) << outcome.output;
  }

  // Packaged again while the earlier output's last file cannot be replaced:
  // every earlier output stays exactly as it was, and no temporary file is left.
  const std::string exeBefore = fileContent(dist + L"\\Shop.exe"), iniBefore = fileContent(dist + L"\\Shop.ini");
  HANDLE held = CreateFileW((dist + L"\\lib\\a.jar").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  robot::Outcome again = runPackager(L"package --template " + quoted(launcherUnderTest()) + L" --ini " +
                                     quoted(folder.path() + L"\\good.ini") + L" --out " + quoted(dist + L"\\Shop.exe") +
                                     L" --lib " + quoted(folder.path() + L"\\lib\\a.jar"));
  CloseHandle(held);
  EXPECT_EQ(again.exitCodeSigned(), 2) << again.output;
  EXPECT_NE(again.output.find("cannot write"), std::string::npos) << again.output;
  EXPECT_TRUE(fileContent(dist + L"\\Shop.exe") == exeBefore) << "the earlier exe is back";
  EXPECT_EQ(fileContent(dist + L"\\Shop.ini"), iniBefore);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((dist + L"\\~*").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE) << narrow(found.cFileName);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

}  // namespace
