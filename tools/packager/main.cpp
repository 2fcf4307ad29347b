// packager: ships a Java application with the launcher.
//   packager package --template EXE --ini INI --out APP.exe [options]
//   packager check INI|APP.exe [--app-folder FOLDER]
//   packager runtimes INI
//   packager check-signed APP.exe
// Messages go to standard error, findings of check to standard output.
#include <windows.h>

#include <cstdio>
#include <string>

#include "check_command.h"
#include "common/win32/win_text.h"
#include "file_io.h"
#include "package_app.h"
#include "runtimes_command.h"
#include "signed_check.h"

namespace {

constexpr char kUsage[] =
    "usage:\n"
    "  packager package --template LAUNCHER.exe --ini APP.ini --out FOLDER\\APP.exe\n"
    "      [--icon APP.ico] [--product-name TEXT] [--file-version 1.2.3.4] [--product-version TEXT]\n"
    "      [--company TEXT] [--description TEXT] [--copyright TEXT]\n"
    "      [--embed-settings] [--jar APP.jar] [--lib FILE]... [--utf-8] [--dpi-aware system]\n"
    "  packager check APP.ini|APP.exe [--app-folder FOLDER]\n"
    "  packager runtimes APP.ini\n"
    "  packager check-signed APP.exe\n"
    "exit codes: package 0 done, 1 usage, 2 failed; check and check-signed 0 clean, 1 warnings, 2 errors;\n"
    "  runtimes 0 a runtime would be taken, 1 the JRE-not-found dialog would appear, 2 no INI\n";

int usage(const std::string& problem) {
  printError("packager: " + problem + "\n" + kUsage);
  return 1;
}

int package(int argc, wchar_t** argv) {
  PackageRequest request;
  const struct {
    const wchar_t* name;
    String PackageRequest::*field;
  } texts[] = {
      {L"--template", &PackageRequest::templatePath}, {L"--ini", &PackageRequest::iniPath},
      {L"--out", &PackageRequest::outPath},           {L"--icon", &PackageRequest::iconPath},
      {L"--jar", &PackageRequest::jarPath},           {L"--product-name", &PackageRequest::productName},
      {L"--file-version", &PackageRequest::fileVersion}, {L"--product-version", &PackageRequest::productVersion},
      {L"--company", &PackageRequest::company},       {L"--description", &PackageRequest::description},
      {L"--copyright", &PackageRequest::copyright},
  };
  for (int i = 2; i < argc; ++i) {
    const std::wstring option = argv[i];
    if (option == L"--embed-settings" || option == L"--utf-8") {
      (option == L"--utf-8" ? request.manifest.utf8 : request.embedSettings) = true;
      continue;
    }
    if (i + 1 >= argc) return usage(toUtf8(fromWide(argv[i])) + " needs a value");
    if (option == L"--dpi-aware") {
      const std::wstring value = argv[++i];
      if (value != L"system" && value != L"per-monitor") return usage("--dpi-aware takes system or per-monitor");
      request.manifest.systemDpi = value == L"system";
      continue;
    }
    if (option == L"--lib") {
      request.libraries.push_back(fromWide(argv[++i]));
      continue;
    }
    bool known = false;
    for (const auto& text : texts) {
      if (option != text.name) continue;
      request.*text.field = fromWide(argv[++i]);
      known = true;
    }
    if (!known) return usage("unknown option " + toUtf8(fromWide(argv[i])));
  }
  if (request.templatePath.empty() || request.iniPath.empty() || request.outPath.empty()) {
    return usage("package needs --template, --ini and --out");
  }
  std::string error;
  int result = packageApplication(request, error);
  if (result != 0) printError("packager: " + error + "\nnothing was written\n");
  return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"package") return package(argc, argv);
  if (command == L"check") {
    const bool folderGiven = argc == 5 && std::wstring(argv[3]) == L"--app-folder";
    // 2: an error, as for check
    if (argc != 3 && !folderGiven) return usage("check needs one INI file or executable, and perhaps --app-folder") + 1;
    return checkSettings(fromWide(argv[2]), folderGiven ? fromWide(argv[4]) : String());
  }
  if (command == L"check-signed") {
    if (argc != 3) return usage("check-signed needs exactly one executable") + 1;
    return checkSignedExecutable(fromWide(argv[2]));
  }
  if (command == L"runtimes") {
    if (argc != 3) return usage("runtimes needs exactly one INI file") + 1;
    return listRuntimes(fromWide(argv[2]));
  }
  return usage(command.empty() ? "no command" : "unknown command " + toUtf8(fromWide(argv[1])));
}
