// The launcher's benchmarks, run under Wine with the test runtime:
//   bench.exe <launcher-x64.exe> <launcher-x86.exe> <noop.exe> <test runtime> <table.md>
// Each figure is a median over repeated runs, set against a baseline measured
// in the same run: a program that does nothing, started the same way.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "file_tree/file_tree.h"
#include "launch_probe.h"
#include "measurement.h"

namespace {

const std::wstring kWork = L"C:\\bench";
const std::string kExitingMain = "[Java Runtime Environment]\r\nMain Class=test.Exit\r\n";
const int kBaseRuns = 25;
const int kHeavyRuns = 9;
const int kTenFoldRuns = 5;
const int kConcurrentSecondaries = 20;

struct Tools {
  std::wstring launcher, launcherX86, noop, runtime;
  std::wstring guiNoop;  // beside the no-op program
};

void progress(const std::string& text) {
  std::printf("bench: %s\n", text.c_str());
  std::fflush(stdout);
}

void writeFile(const std::wstring& path, const std::string& content) {
  std::ofstream out(path.c_str(), std::ios::binary);
  out << content;
}

// C:\bench\<name> with the launcher as Shop.exe, its INI and, when asked, a
// runtime beside it in jre\.
struct App {
  std::wstring folder, exe, journal;
};

App makeApp(const Tools& tools, const std::wstring& name, const std::string& ini, bool runtimeBeside) {
  App app{kWork + L"\\" + name, L"", L""};
  removeTree(app.folder);
  createTree(app.folder);
  app.exe = app.folder + L"\\Shop.exe";
  app.journal = app.folder + L"\\journal.txt";
  CopyFileW(tools.launcher.c_str(), app.exe.c_str(), FALSE);
  writeFile(app.folder + L"\\Shop.ini", ini);
  if (runtimeBeside) copyTree(tools.runtime, app.folder + L"\\jre");
  return app;
}

// Launch timings of an app: one launch to warm the file cache, then `runs`.
std::vector<LaunchTiming> timeApp(const App& app, int runs) {
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", app.journal.c_str());
  std::vector<LaunchTiming> timings;
  timeLaunch(app.exe, L"0", app.journal);
  for (int run = 0; run < runs; ++run) {
    LaunchTiming timing = timeLaunch(app.exe, L"0", app.journal);
    if (!timing.ok || timing.exitCode != 0) {
      progress("a launch failed (exit code " + std::to_string(timing.exitCode) + ")");
      return {};
    }
    timings.push_back(timing);
  }
  return timings;
}

Measurement toVm(const std::string& name, const std::vector<LaunchTiming>& timings, double baseline) {
  Measurement m{name, "ms", {}, baseline, 0};
  for (const LaunchTiming& t : timings) m.samples.push_back(t.toVmMs);
  return m;
}

Measurement workingSet(const std::string& name, const std::vector<LaunchTiming>& timings, double baseline) {
  Measurement m{name, "MB", {}, baseline, 0};
  for (const LaunchTiming& t : timings) m.samples.push_back(t.workingSetMb);
  return m;
}

// The ten-fold row carries how the cost above a plain launch grew.
void markGrowth(Measurement& tenFold, const Measurement& oneFold, const Measurement& plain) {
  const double extra = oneFold.median() - plain.median();
  if (extra > 0 && !tenFold.samples.empty()) tenFold.tenFoldGrowth = (tenFold.median() - plain.median()) / extra;
}

// The seven registry keys of installed runtimes, each with `versions`
// version keys, all naming the same two installed homes.
const struct {
  const wchar_t* key;
  bool jreBelowHome;
} kRuntimeKeys[] = {
    {L"Software\\JavaSoft\\JDK", false},
    {L"Software\\JavaSoft\\JRE", false},
    {L"Software\\JavaSoft\\Java Development Kit", true},
    {L"Software\\JavaSoft\\Java Runtime Environment", false},
    {L"Software\\JRockit\\Java Runtime Environment", false},
    {L"Software\\JRockit\\Java Development Kit", true},
    {L"Software\\IBM\\Java2 Runtime Environment", false},
};

void clearRuntimeKeys() {
  HKEY software;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &software) != ERROR_SUCCESS) {
    return;
  }
  for (const wchar_t* vendor : {L"JavaSoft", L"JRockit", L"IBM"}) RegDeleteTreeW(software, vendor);
  RegCloseKey(software);
}

void writeRuntimeKeys(int versions, const std::wstring& installed) {
  clearRuntimeKeys();
  for (const auto& runtimeKey : kRuntimeKeys) {
    const std::wstring home = installed + (runtimeKey.jreBelowHome ? L"\\jdk" : L"\\jre");
    for (int v = 0; v < versions; ++v) {
      const std::wstring path = std::wstring(runtimeKey.key) + L"\\" + std::to_wstring(1 + v % 21) + L".0." +
                                std::to_wstring(v);
      HKEY key;
      if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr,
                          &key, nullptr) != ERROR_SUCCESS) {
        continue;
      }
      RegSetValueExW(key, L"JavaHome", 0, REG_SZ, reinterpret_cast<const BYTE*>(home.c_str()),
                     static_cast<DWORD>((home.size() + 1) * sizeof(wchar_t)));
      RegCloseKey(key);
    }
  }
}

// What no search of the keys can go below: one RegEnumKeyExW per version
// key, which under Wine is a round trip to its server.
double enumerateRuntimeKeysMs() {
  const long long start = counterNow();
  for (const auto& runtimeKey : kRuntimeKeys) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, runtimeKey.key, 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) continue;
    wchar_t name[MAX_PATH];
    DWORD length = MAX_PATH;
    for (DWORD index = 0; RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++index, length = MAX_PATH) {
    }
    RegCloseKey(key);
  }
  return counterMs(counterNow() - start);
}

std::vector<LaunchTiming> timeRegistry(const Tools& tools, int versions, int runs,
                                       std::vector<double>* enumeration = nullptr) {
  const std::wstring installed = kWork + L"\\installed";
  removeTree(installed);
  copyTree(tools.runtime, installed + L"\\jre");
  copyTree(tools.runtime, installed + L"\\jdk\\jre");
  writeRuntimeKeys(versions, installed);
  // Every vendor's keys are read; the exiting main class ends the process.
  const App app = makeApp(tools, L"registry", kExitingMain + "VM Provider=any\r\n[Class Path]\r\nClass Path=C:\\x.jar\r\n",
                          false);
  std::vector<LaunchTiming> timings = timeApp(app, runs);
  if (enumeration) {
    for (int run = 0; run < runs; ++run) enumeration->push_back(enumerateRuntimeKeysMs());
  }
  clearRuntimeKeys();
  return timings;
}

// Five vendors' keys as their installers write them, each with `versions`
// versions in folders of their own; only the highest Temurin is there, so the
// stage reads every key and release file it names and probes one runtime.
const struct {
  const wchar_t* key;
  const wchar_t* below;  // below the version key
  const wchar_t* value;
  const wchar_t* prefix;  // of the version key's name
} kVendorKeys[] = {
    {L"SOFTWARE\\Eclipse Adoptium\\JDK", L"\\hotspot\\MSI", L"Path", L""},
    {L"SOFTWARE\\Microsoft\\JDK", L"\\hotspot\\MSI", L"Path", L""},
    {L"SOFTWARE\\Semeru\\JDK", L"\\openj9\\MSI", L"Path", L""},
    {L"SOFTWARE\\Azul Systems\\Zulu", L"", L"InstallationPath", L"zulu-"},
    {L"SOFTWARE\\BellSoft\\Liberica", L"", L"InstallationPath", L"jdk-"},
};

void clearVendorKeys() {
  HKEY software;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE", 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &software) != ERROR_SUCCESS) {
    return;
  }
  for (const wchar_t* vendor : {L"Eclipse Adoptium", L"Microsoft\\JDK", L"Semeru", L"Azul Systems", L"BellSoft"}) {
    RegDeleteTreeW(software, vendor);
  }
  RegCloseKey(software);
}

std::vector<LaunchTiming> timeOtherInstallations(const Tools& tools, int versions, int runs) {
  const std::wstring installed = kWork + L"\\vendor-runtimes";
  removeTree(installed);
  clearVendorKeys();
  for (const auto& vendor : kVendorKeys) {
    for (int v = 0; v < versions; ++v) {
      const std::wstring version = std::to_wstring(8 + v) + L".0." + std::to_wstring(v) + L".1";
      const std::wstring folder = installed + L"\\" + std::to_wstring(&vendor - kVendorKeys) + L"-" + version;
      const std::wstring home = folder + L"\\";  // as the installers write it
      const std::wstring path = std::wstring(vendor.key) + L"\\" + vendor.prefix + version + vendor.below;
      HKEY key;
      if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr,
                          &key, nullptr) != ERROR_SUCCESS) {
        continue;
      }
      RegSetValueExW(key, vendor.value, 0, REG_SZ, reinterpret_cast<const BYTE*>(home.c_str()),
                     static_cast<DWORD>((home.size() + 1) * sizeof(wchar_t)));
      RegCloseKey(key);
      if (&vendor == kVendorKeys && v == versions - 1) copyTree(tools.runtime, folder);
    }
  }
  const App app = makeApp(tools, L"vendors", kExitingMain + "VM Provider=any\r\n[Class Path]\r\nClass Path=C:\\x.jar\r\n",
                          false);
  std::vector<LaunchTiming> timings = timeApp(app, runs);
  clearVendorKeys();
  return timings;
}

// `jars` empty jar files spread over four folders, matched by four wildcards.
std::vector<LaunchTiming> timeClassPath(const Tools& tools, int jars, int runs) {
  const App app = makeApp(tools, L"classpath",
                          kExitingMain + "[Class Path]\r\nClass Path=lib0\\*.jar;lib1\\*.jar;lib2\\*.jar;lib3\\*.jar\r\n",
                          true);
  for (int folder = 0; folder < 4; ++folder) {
    const std::wstring lib = app.folder + L"\\lib" + std::to_wstring(folder);
    createTree(lib);
    for (int jar = folder; jar < jars; jar += 4) {
      wchar_t name[32];
      std::swprintf(name, 32, L"\\library-%05d.jar", jar);
      CloseHandle(CreateFileW((lib + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
  }
  return timeApp(app, runs);
}

// A "Virtual Machine Parameters" value of `bytes` bytes: system properties
// of about a hundred characters each, some of them quoted.
std::vector<LaunchTiming> timeParameters(const Tools& tools, size_t bytes, int runs) {
  std::string parameters;
  parameters.reserve(bytes + 128);
  for (int n = 0; parameters.size() < bytes; ++n) {
    const std::string option = "-Dbench.property" + std::to_string(n) + "=" + std::string(80, 'a' + n % 26);
    parameters += n % 10 == 0 ? "\"" + option + " quoted\" " : option + " ";
  }
  return timeApp(makeApp(tools, L"parameters",
                         kExitingMain + "Virtual Machine Parameters=" + parameters +
                             "\r\n[Class Path]\r\nClass Path=C:\\x.jar\r\n",
                         true),
                 runs);
}

bool waitForJournal(const std::wstring& journal, const std::string& key, size_t count) {
  for (int i = 0; i < 400; ++i) {
    if (journalValues(journal, key).size() >= count) return true;
    Sleep(25);
  }
  return false;
}

// Milliseconds until `count` copies of a program, started at once, have all ended.
double runTogether(const std::wstring& exe, const std::wstring& arguments, int count) {
  const long long started = counterNow();
  std::vector<HANDLE> processes;
  for (int n = 0; n < count; ++n) processes.push_back(startProgram(exe, arguments));
  for (HANDLE process : processes) {
    if (!process) continue;
    WaitForSingleObject(process, 60000);
    CloseHandle(process);
  }
  return counterMs(counterNow() - started);
}

// Secondary launches against one first instance: each one's time from
// launch until it has its answer, and the rate at which concurrent ones are
// delivered.
void timeSecondaries(const Tools& tools, double baselineMs, double baselineRate, std::vector<Measurement>& rows) {
  const App app = makeApp(tools, L"secondary",
                          "[Java Runtime Environment]\r\nMain Class=test.Secondary\r\n"
                          "[Class Path]\r\nClass Path=C:\\x.jar\r\n[Application]\r\nSingle Instance=yes\r\n",
                          true);
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", app.journal.c_str());
  DeleteFileW(app.journal.c_str());
  HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, L"test_runtime_stop");
  ResetEvent(stop);
  HANDLE first = startProgram(app.exe, L"first");
  Measurement roundTrip{"Secondary instance: launch until answered", "ms", {}, baselineMs, 0};
  Measurement rate{"Concurrent secondaries (" + std::to_string(kConcurrentSecondaries) + " at once): delivered",
                   "per s", {}, baselineRate, 0};
  if (first && waitForJournal(app.journal, "main", 1)) {
    size_t delivered = 0;
    for (int run = 0; run < kBaseRuns; ++run) {
      LaunchTiming timing = timeLaunch(app.exe, L"round " + std::to_wstring(run));
      if (timing.ok && timing.exitCode == 0 && waitForJournal(app.journal, "secondary", ++delivered)) {
        roundTrip.samples.push_back(timing.totalMs);
      }
    }
    for (int round = 0; round < 5; ++round) {
      const double seconds = runTogether(app.exe, L"together", kConcurrentSecondaries) / 1000;
      const size_t before = delivered;
      delivered = journalValues(app.journal, "secondary").size();
      rate.samples.push_back(static_cast<double>(delivered - before) / seconds);
    }
  }
  SetEvent(stop);
  if (first) {
    WaitForSingleObject(first, 30000);
    CloseHandle(first);
  }
  CloseHandle(stop);
  rows.push_back(roundTrip);
  rows.push_back(rate);
}

// Baselines: the no-op program's start to end, and how many of it end per
// second when started twenty at once.
double concurrentNoopRate(const std::wstring& noop) {
  std::vector<double> rates;
  for (int round = 0; round < 5; ++round) {
    rates.push_back(kConcurrentSecondaries * 1000.0 / runTogether(noop, L"", kConcurrentSecondaries));
  }
  return Measurement{"", "", rates, 0, 0}.median();
}

double fileKb(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<double>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) / 1024;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: bench <launcher-x64.exe> <launcher-x86.exe> <noop.exe> <test runtime> <table.md>\n");
    return 1;
  }
  const std::wstring noopPath = argv[3];
  const Tools tools{argv[1], argv[2], noopPath, argv[4],
                    noopPath.substr(0, noopPath.find_last_of(L"\\/") + 1) + L"bench_gui_noop.exe"};
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL_OPTIONS", L"0");
  removeTree(kWork);
  createTree(kWork);
  std::vector<Measurement> rows;

  progress("baseline: a program that does nothing");
  Measurement noop{"Baseline: no-op program, start to end", "ms", {}, 0, 0};
  timeLaunch(tools.noop, L"");
  for (int run = 0; run < kBaseRuns; ++run) noop.samples.push_back(timeLaunch(tools.noop, L"").totalMs);
  rows.push_back(noop);
  const double base = noop.median();

  progress("GUI baseline: a program that only connects to the display");
  Measurement guiNoop{"GUI baseline: no-op program with the display and a message queue, start to end", "ms", {}, base, 0};
  timeLaunch(tools.guiNoop, L"");
  for (int run = 0; run < kBaseRuns; ++run) guiNoop.samples.push_back(timeLaunch(tools.guiNoop, L"").totalMs);
  rows.push_back(guiNoop);
  const double guiBase = guiNoop.median();

  progress("plain launch, runtime beside the exe");
  const auto plainTimings =
      timeApp(makeApp(tools, L"plain", kExitingMain + "[Class Path]\r\nClass Path=C:\\x.jar\r\n", true), kBaseRuns);
  const Measurement plain = toVm("Launch to JNI_CreateJavaVM, runtime beside the exe", plainTimings, base);
  rows.push_back(plain);
  Measurement plainTotal{"Launch to end, runtime beside the exe", "ms", {}, base, 0};
  for (const LaunchTiming& t : plainTimings) plainTotal.samples.push_back(t.totalMs);
  rows.push_back(plainTotal);

  progress("plain launch with QL_LAUNCHER_TRACE set");
  SetEnvironmentVariableW(L"QL_LAUNCHER_TRACE", (kWork + L"\\trace.txt").c_str());
  const auto tracedTimings =
      timeApp(makeApp(tools, L"traced", kExitingMain + "[Class Path]\r\nClass Path=C:\\x.jar\r\n", true), kBaseRuns);
  SetEnvironmentVariableW(L"QL_LAUNCHER_TRACE", nullptr);
  rows.push_back(toVm("... with QL_LAUNCHER_TRACE set (ratio: to the plain launch)", tracedTimings, plain.median()));

  progress("registry: 7 keys x 40 and x 400 versions");
  const Measurement registry = toVm("... registry of 7 keys x 40 versions", timeRegistry(tools, 40, kHeavyRuns), base);
  std::vector<double> enumeration;
  Measurement registry10 =
      toVm("... registry of 7 keys x 400 versions", timeRegistry(tools, 400, kTenFoldRuns, &enumeration), base);
  markGrowth(registry10, registry, plain);
  rows.push_back(registry);
  rows.push_back(registry10);
  rows.push_back({"... Wine's floor: only enumerating those 7 x 400 keys, in one process (ratio: to the launch's extra "
                  "cost over the plain launch)",
                  "ms", enumeration, registry10.median() - plain.median(), 0});

  progress("other installations: 5 vendors x 20 versions");
  rows.push_back(toVm("... other installations, 5 vendors x 20 versions (ratio: to the plain launch)",
                      timeOtherInstallations(tools, 20, kHeavyRuns), plain.median()));

  progress("class path: 2000 and 20000 jars by wildcards");
  const Measurement classPath =
      toVm("... class path of 2000 jars by 4 wildcards", timeClassPath(tools, 2000, kHeavyRuns), base);
  Measurement classPath10 =
      toVm("... class path of 20000 jars by 4 wildcards", timeClassPath(tools, 20000, kTenFoldRuns), base);
  markGrowth(classPath10, classPath, plain);
  rows.push_back(classPath);
  rows.push_back(classPath10);

  progress("VM parameters: 1 MB and 10 MB");
  const auto parameterTimings = timeParameters(tools, 1 << 20, kHeavyRuns);
  const Measurement parameters = toVm("... \"Virtual Machine Parameters\" of 1 MB", parameterTimings, base);
  const auto parameterTimings10 = timeParameters(tools, 10 << 20, kTenFoldRuns);
  Measurement parameters10 = toVm("... \"Virtual Machine Parameters\" of 10 MB", parameterTimings10, base);
  markGrowth(parameters10, parameters, plain);
  rows.push_back(parameters);
  rows.push_back(parameters10);

  progress("secondary instances");
  timeSecondaries(tools, base, concurrentNoopRate(tools.noop), rows);

  progress("sizes and memory");
  const double noopKb = fileKb(tools.noop);
  rows.push_back({"Size of launcher-x64.exe", "KB", {fileKb(tools.launcher)}, noopKb, 0});
  rows.push_back({"Size of launcher-x86.exe", "KB", {fileKb(tools.launcherX86)}, noopKb, 0});
  Measurement noopMemory{"Baseline: working set of the no-op program", "MB", {}, 0, 0};
  for (int run = 0; run < 5; ++run) noopMemory.samples.push_back(timeLaunch(tools.noop, L"memory").exitCode / 1024.0);
  rows.push_back(noopMemory);
  rows.push_back(workingSet("Working set at JNI_CreateJavaVM (x64)", plainTimings, noopMemory.median()));
  rows.push_back(workingSet("... with 1 MB of VM parameters", parameterTimings, noopMemory.median()));
  rows.push_back(workingSet("... with 10 MB of VM parameters", parameterTimings10, noopMemory.median()));

  removeTree(kWork);
  // Launch times against both baselines: under Wine the display alone costs
  // a GUI program tens of milliseconds.
  for (Measurement& row : rows) {
    if (row.unit == "ms" && row.baseline == base && &row != &rows.front()) row.guiBaseline = guiBase;
  }
  writeFile(argv[5], markdownTable(rows));
  bool complete = true;
  for (const Measurement& row : rows) complete = complete && !row.samples.empty();
  return complete ? 0 : 2;
}
