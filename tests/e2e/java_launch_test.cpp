// Launches that reach Java: the test runtime stands in for the VM and keeps
// a journal of what the launcher asked of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "file_tree/file_tree.h"
#include "java_app.h"

namespace {

const std::string kMain = "[Java Runtime Environment]\r\nMain Class=com.example.App\r\n";

std::wstring environment(const wchar_t* name) {
  wchar_t value[32767];
  DWORD length = GetEnvironmentVariableW(name, value, 32767);
  return length ? std::wstring(value, length) : L"";
}

TEST(JavaLaunch, TheTypicalLaunchRunsMainWithTheArguments) {
  clearRegistryRuntimes();
  JavaApp app(currentTestName());
  std::wstring home = app.addRuntime(L"installed\\jre17");
  registerRuntime(L"17", home);
  app.folder().writeFile(L"lib-a.jar", "");
  app.writeIni(kMain + "[Class Path]\r\nClass Path=lib-*.jar\r\n[Application]\r\nCmd=--from-cmd \"two words\"\r\n");

  robot::Outcome outcome = app.launch(L"hello \"wide world\" \"\"");
  clearRegistryRuntimes();
  EXPECT_EQ(outcome.exitCodeSigned(), 0) << report(outcome) << app.journalText();
  EXPECT_EQ(outcome.dialogs().size(), 0u) << report(outcome);

  const std::string jvm = narrow(home) + "\\bin\\server\\jvm.dll";
  EXPECT_EQ(app.journal("env-QL_JVM_PATH"), std::vector<std::string>{jvm});
  EXPECT_EQ(app.journal("env-QL_JVM_HOME"), std::vector<std::string>{narrow(home)});
  ASSERT_EQ(app.journal("env-Path").size(), 1u);
  EXPECT_EQ(app.journal("env-Path")[0], narrow(environment(L"Path")) + ";" + narrow(home) + "\\bin");
  EXPECT_EQ(optionsBeforeHooks(app),
            std::vector<std::string>{"-Djava.class.path=" + narrow(app.path()) + "\\lib-a.jar"});
  const std::vector<std::string> options = app.journal("option");
  ASSERT_GE(options.size(), 4u);
  EXPECT_EQ(options[options.size() - 3], "-Dsun.java.command=com.example.App hello wide world  --from-cmd two words")
      << "named for the JDK's tools as the java command names it";
  EXPECT_EQ(app.journal("check-and-load-main"), std::vector<std::string>{"com.example.App"});
  EXPECT_EQ(app.journal("arg"), (std::vector<std::string>{"hello", "wide world", "", "--from-cmd", "two words"}));
  EXPECT_EQ(app.journal("create-thread-is-loader"), std::vector<std::string>{"0"}) << "Java runs on a thread of its own";
}

TEST(JavaLaunch, OptionsComeInTheirOrderAndForm) {
  SetEnvironmentVariableW(L"SHOP_E2E", L"expanded");
  MEMORYSTATUS memory{};
  memory.dwLength = sizeof memory;
  GlobalMemoryStatus(&memory);
  uint64_t half = (static_cast<uint64_t>(memory.dwTotalPhys) >> 10) / 2;
  uint64_t bounded = std::max<uint64_t>(std::min<uint64_t>(half, 1024 * 1024), 256 * 1024);
  const std::string direct = "-Djava.class.path=C:\\x.jar";

  const struct {
    const char* name;
    std::string settings;
    std::vector<std::string> options;  // "<app>" and "<jre>" stand for the folders
  } cases[] = {
      {"library path first", "Library Path=D:\\native\r\n[Class Path]\r\nClass Path=C:\\x.jar\r\n",
       {"-Djava.library.path=D:\\native;<app>\\;.;" + narrow(environment(L"Path")) + ";<jre>\\lib", direct}},
      {"missing relative entry", "[Class Path]\r\nClass Path=C:\\x.jar;missing.jar\r\n", {direct}},
      {"no empty element", "[Class Path]\r\nClass Path=C:\\x.jar;;C:\\y.jar;\r\n", {direct + ";C:\\y.jar"}},
      {"embedded jar alone", "[Application]\r\nEmbedded Jar=YES\r\n", {"-Djava.class.path=<app>\\Shop.exe"}},
      {"parameters as written",
       "Virtual Machine Parameters=-Xmx512m \"-Dmy.dir=C:\\Program Files\\x\" -Xss1m\r\n[Class Path]\r\nClass Path=C:\\x.jar\r\n",
       {direct, "-Xmx512m", "-Dmy.dir=C:\\Program Files\\x", "-Xss1m"}},
      {"leading blank", "Virtual Machine Parameters=\" -Xrs\"\r\n[Class Path]\r\nClass Path=C:\\x.jar\r\n", {direct, "-Xrs"}},
      {"the java launcher's spellings joined",
       "Virtual Machine Parameters=--add-opens java.base/java.lang=ALL-UNNAMED -p mods\r\n[Class Path]\r\nClass Path=C:\\x.jar\r\n",
       {direct, "--add-opens=java.base/java.lang=ALL-UNNAMED", "--module-path=mods"}},
      {"an argument file beside the executable",
       "Virtual Machine Parameters=-Da @opts.txt\r\n[Class Path]\r\nClass Path=C:\\x.jar\r\n",
       {direct, "-Da", "--add-reads=java.base=ALL-UNNAMED", "-Dspaced=a b"}},
      {"only from a + section",
       "[Class Path]\r\nClass Path=C:\\x.jar\r\n[Java Runtime Environment+]\r\nVirtual Machine Parameters=-Xmx64m\r\n",
       {direct, "-Xmx64m"}},
      {"environment references",
       "Virtual Machine Parameters=-Dhome=%QL_JVM_HOME% -Dshop=%SHOP_E2E% -Dnone=%NO_SUCH_VAR%\r\n[Class Path]\r\nClass Path=C:\\x.jar\r\n",
       {direct, "-Dhome=<jre>", "-Dshop=expanded", "-Dnone=%NO_SUCH_VAR%"}},
      {"memory share", "Virtual Machine Parameters=-Xmx50:256:1024P\r\n[Class Path]\r\nClass Path=C:\\x.jar\r\n",
       {direct, "-Xmx" + std::to_string(bounded) + "K"}},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    JavaApp app(currentTestName() + std::to_wstring(n++));
    std::string jre = narrow(app.addRuntime(L"jre"));
    app.writeIni(kMain + c.settings);
    app.folder().writeFile(L"opts.txt", "# as for the java command\r\n--add-reads java.base=ALL-UNNAMED \"-Dspaced=a b\"\r\n");
    robot::Outcome outcome = app.launch();
    EXPECT_EQ(outcome.exitCodeSigned(), 0) << report(outcome) << app.journalText();
    std::vector<std::string> expected;
    for (std::string option : c.options) {
      for (auto [from, to] : {std::pair<std::string, std::string>{"<app>", narrow(app.path())}, {"<jre>", jre}}) {
        for (size_t at; (at = option.find(from)) != std::string::npos;) option.replace(at, from.size(), to);
      }
      expected.push_back(option);
    }
    EXPECT_EQ(optionsBeforeHooks(app), expected);
  }
  SetEnvironmentVariableW(L"SHOP_E2E", nullptr);
}

// A jar as the test runtime reads it: the manifest stored as written, and
// the end record of a zip.
std::string storedJar(const std::string& manifest) {
  return "PK\x03\x04META-INF/MANIFEST.MFManifest-Version: 1.0\r\n" + manifest + "\r\nPK\x05\x06" + std::string(18, '\0');
}

std::string withAppFolder(std::string text, const JavaApp& app) {
  for (size_t at; (at = text.find("<app>")) != std::string::npos;) text.replace(at, 5, narrow(app.path()));
  return text;
}

// A module's class or its own main class, or the class a jar's manifest
// names: the runtime's launcher class is asked in the java command's mode.
TEST(JavaLaunch, ModulesAndJarsStartThroughTheLauncherClass) {
  const struct {
    const char* name;
    std::string settings;
    std::vector<std::string> options;  // "<app>" stands for the folder
    const char* mode;
    std::string main;  // as the launcher class and sun.java.command get it
  } cases[] = {
      {"a module's class, no class path", "Main Class=com.example.app/com.example.App\r\nModule Path=mods;lib\\*.jar\r\n",
       {"--module-path=<app>\\mods;<app>\\lib\\m.jar", "-Djdk.module.main=com.example.app"}, "3",
       "com.example.app/com.example.App"},
      {"a module's own main class beside a class path",
       "Main Class=com.example.app\r\nModule Path=mods\r\n[Class Path]\r\nClass Path=C:\\x.jar\r\n",
       {"-Djava.class.path=C:\\x.jar", "--module-path=<app>\\mods", "-Djdk.module.main=com.example.app"}, "3",
       "com.example.app"},
      {"a main jar leads the class path", "Main Jar=app.jar\r\n[Class Path]\r\nClass Path=C:\\x.jar\r\n",
       {"-Djava.class.path=<app>\\app.jar;C:\\x.jar"}, "2", "<app>\\app.jar"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    JavaApp app(currentTestName() + std::to_wstring(n++));
    app.addRuntime(L"jre");
    createTree(app.path() + L"\\mods");
    createTree(app.path() + L"\\lib");
    app.folder().writeFile(L"lib\\m.jar", "");
    app.folder().writeFile(L"app.jar", storedJar("Main-Class: com.example.App"));
    app.writeIni("[Java Runtime Environment]\r\n" + c.settings);
    robot::Outcome outcome = app.launch(L"hello");
    EXPECT_EQ(outcome.exitCodeSigned(), 0) << report(outcome) << app.journalText();
    std::vector<std::string> expected;
    for (const std::string& option : c.options) expected.push_back(withAppFolder(option, app));
    EXPECT_EQ(optionsBeforeHooks(app), expected);
    const std::string main = withAppFolder(c.main, app);
    const std::vector<std::string> options = app.journal("option");
    ASSERT_GE(options.size(), 4u);
    EXPECT_EQ(options[options.size() - 3], "-Dsun.java.command=" + main + " hello");
    EXPECT_EQ(app.journal("check-and-load-main"), std::vector<std::string>{main});
    EXPECT_EQ(app.journal("check-and-load-mode"), std::vector<std::string>{c.mode});
    EXPECT_EQ(app.journal("main"), std::vector<std::string>{"com/example/App"});
    EXPECT_EQ(app.journal("arg"), std::vector<std::string>{"hello"});
  }
}

// A folder named with letters the ANSI code page lacks: the VM gets its
// entries by their short names, never as a "?" path.
// The VM reads its options in the process's code page: a folder whose name
// the page can spell goes in as written, any other by its short name. (Run
// under code pages 1252 and 1251 by make test.)
TEST(JavaLaunch, AFolderBeyondTheCodePageGoesByItsShortName) {
  for (const std::wstring name : {L"\u0414\u043c\u0438\u0442\u0440\u0438\u0439", L"\u05e9\u05dc\u05d5\u05dd"}) {
    JavaApp app(name);
    app.addRuntime(L"jre");
    app.folder().writeFile(L"lib-a.jar", "");
    app.writeIni(kMain + "[Class Path]\r\nClass Path=lib-*.jar\r\n");
    robot::Outcome outcome = app.launch();
    EXPECT_EQ(outcome.exitCodeSigned(), 0) << report(outcome) << app.journalText();
    const std::wstring jar = app.path() + L"\\lib-a.jar";
    BOOL lacks = FALSE;
    char bytes[MAX_PATH];
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, jar.c_str(), -1, bytes, MAX_PATH, nullptr, &lacks);
    wchar_t shortPath[MAX_PATH];
    ASSERT_GT(GetShortPathNameW(jar.c_str(), shortPath, MAX_PATH), 0u);
    const std::string expected = lacks || length == 0 ? narrow(shortPath) : std::string(bytes);
    EXPECT_EQ(optionsBeforeHooks(app), std::vector<std::string>{"-Djava.class.path=" + expected}) << GetACP();
  }
}

// Java finds its home and its own libraries with buffers of MAX_PATH
// characters: a runtime installed deeper is refused by name.
TEST(JavaLaunch, ARuntimeBeyond260CharactersIsRefusedByName) {
  JavaApp app(currentTestName());
  std::wstring deep = L"installed";
  while (deep.size() < 260) deep += L"\\a-folder-of-an-installation-tree";
  const std::wstring home = app.addRuntime(deep);
  app.writeIni(kMain + "JRE Path=" + narrow(home) + "\r\n[Class Path]\r\nClass Path=C:\\x.jar\r\n");
  robot::Outcome outcome = app.launch(L"", {L"OK"});
  EXPECT_EQ(outcome.exitCodeSigned(), -1) << report(outcome);
  const std::string message = onlyMessage(outcome);
  EXPECT_NE(message.find(narrow(home) + "\\bin\\server\\jvm.dll lies in a folder too deep for Java"), std::string::npos)
      << report(outcome);
  EXPECT_TRUE(app.journal("create-stack").empty()) << "no VM was created";
}

// Editors save UTF-8: with its byte-order mark the file is read as such, its
// first line a section header, and what it says reaches main unchanged.
TEST(JavaLaunch, AUtf8SettingsFileReachesMainIntact) {
  JavaApp app(currentTestName());
  app.addRuntime(L"jre");
  app.writeIni("\xEF\xBB\xBF" + kMain + "[Class Path]\r\nClass Path=C:\\x.jar\r\n[Application]\r\n"
               "Cmd=--user=J\xC3\xBCrgen \"\xE4\xB8\xAD \xF0\x9F\x98\x80\"\r\n");
  robot::Outcome outcome = app.launch();
  EXPECT_EQ(outcome.exitCodeSigned(), 0) << report(outcome) << app.journalText();
  EXPECT_EQ(app.journal("arg"), (std::vector<std::string>{"--user=J\xC3\xBCrgen", "\xE4\xB8\xAD \xF0\x9F\x98\x80"}));
}

// The console flavour, for command-line applications: what the window
// flavour shows in a box goes to standard error with the same exit code, the
// application's own output to the caller's, and no window appears.
TEST(JavaLaunch, TheConsoleFlavourSaysEverythingOnItsStandardStreams) {
  const std::string classPath = "[Class Path]\r\nClass Path=C:\\x.jar\r\n";
  const struct {
    const char* name;
    std::string ini;
    bool runtime;
    int exitCode;
    std::vector<std::string> said;
    std::string input;
    bool ownConsole;  // the test presses Ctrl+C in it
  } cases[] = {
      {"output", "[Java Runtime Environment]\r\nMain Class=test.Print\r\n" + classPath, true, 0,
       {"stdout line", "stderr line"}, "", false},
      {"input", "[Java Runtime Environment]\r\nMain Class=test.Cat\r\n" + classPath, true, 0,
       {"in: one", "in: two"}, "one\r\ntwo\r\n", false},
      {"Ctrl+C", "[Java Runtime Environment]\r\nMain Class=test.Interrupt\r\n" + classPath, true, 130, {}, "", true},
      {"a failure", classPath, true, -1, {"Main class was not specified in INI file."}, "", false},
      {"no runtime", kMain + classPath, false, -1,
       {"No Java runtime was found", "Set \"JRE Path\"", "packager runtimes"}, "", false},
      {"main threw", "[Java Runtime Environment]\r\nMain Class=test.Throw\r\n" + classPath, true, 1,
       {"Exception in thread \"main\" java.lang.IllegalStateException: thrown by test.Throw"}, "", false},
  };
  clearRegistryRuntimes();
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    JavaApp app(currentTestName() + std::to_wstring(n++));
    const std::wstring exe = app.folder().installProgram(programFromEnvironment("CONSOLE_LAUNCHER_EXE"), L"Shop.exe");
    if (c.runtime) app.addRuntime(L"jre");
    app.writeIni(c.ini);
    robot::Launch launch;
    launch.program = exe;
    launch.captureOutput = true;
    launch.input = c.input;
    launch.ownConsole = c.ownConsole;
    launch.timeoutMs = 30000;
    SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", (app.path() + L"\\journal.txt").c_str());
    robot::Outcome outcome = robot::run(launch);
    SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", nullptr);
    EXPECT_EQ(outcome.exitCodeSigned(), c.exitCode) << report(outcome) << outcome.output;
    EXPECT_TRUE(outcome.windows.empty()) << report(outcome);
    for (const std::string& text : c.said) EXPECT_NE(outcome.output.find(text), std::string::npos) << outcome.output;
    // Through the runtime's own shutdown, as the launcher left the event to it.
    if (c.ownConsole) {
      EXPECT_EQ(app.journal("exit"), std::vector<std::string>{"130"}) << app.journalText();
    }
  }
}

// The window flavour started from a prompt, which gives it no standard
// handles: with "Attach Console=Yes" the application writes in the prompt's
// console, else nowhere.
TEST(JavaLaunch, TheWindowFlavourWritesInThePromptsConsoleWhenAsked) {
  for (const bool attach : {true, false}) {
    SCOPED_TRACE(attach ? "Attach Console=Yes" : "without");
    JavaApp app(currentTestName() + (attach ? L"Attached" : L"Not"));
    app.addRuntime(L"jre");
    app.writeIni("[Java Runtime Environment]\r\nMain Class=test.Print\r\n[Class Path]\r\nClass Path=C:\\x.jar\r\n" +
                 std::string(attach ? "[Application]\r\nAttach Console=Yes\r\n" : ""));
    robot::Launch launch;
    launch.program = programFromEnvironment("ROBOT_EXE");
    launch.commandLine = L"\"" + launch.program + L"\" --prompt \"" + app.path() + L"\\Shop.exe\"";
    launch.captureOutput = true;
    const robot::Outcome outcome = robot::run(launch);
    EXPECT_EQ(outcome.exitCodeSigned(), 0) << outcome.output;
    const std::string console = outcome.output.substr(std::min(outcome.output.find("console:"), outcome.output.size()));
    for (const char* line : {"stdout line", "stderr line"}) {
      EXPECT_EQ(console.find(line) != std::string::npos, attach) << outcome.output;
    }
  }
}

TEST(JavaLaunch, TheJavaThreadGetsTheConfiguredStackSize) {
  const struct {
    const char* parameters;
    uint64_t atLeast;
    uint64_t below;
  } cases[] = {
      {"-Xss1m", 1u << 20, 2u << 20},
      {"-Xss16m", 16u << 20, 17u << 20},
      {"-Xss16m -Xss2m", 2u << 20, 3u << 20},
      // HotSpot on Windows gives no default: the exe's own stack reserve, 2 MB.
      {"", 2u << 20, 3u << 20},
      {"-Xss4g", 2u << 20, 3u << 20},  // wraps to 0: the default again (the VM then refuses it)
      {"-Xss512", 1, (1u << 20) + 1},  // 51 bytes asked: the smallest stack the system gives
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.parameters);
    JavaApp app(currentTestName() + std::to_wstring(n++));
    app.addRuntime(L"jre");
    app.writeIni(kMain + "Virtual Machine Parameters=" + c.parameters + "\r\n[Class Path]\r\nClass Path=C:\\x.jar\r\n");
    robot::Outcome outcome = app.launch();
    ASSERT_EQ(app.journal("create-stack").size(), 1u) << report(outcome) << app.journalText();
    uint64_t stack = std::stoull(app.journal("create-stack")[0]);
    EXPECT_GE(stack, c.atLeast);
    EXPECT_LT(stack, c.below);
    EXPECT_EQ(app.journal("create-thread-is-loader"), std::vector<std::string>{"0"});
  }
}

// More heap than a process of the runtime's machine can reserve (HotSpot
// refuses 4 GB and more outright in a 32-bit process).
const std::string kUnreservableHeap = sizeof(void*) == 8 ? "-Xmx900000g" : "-Xmx3g";
const std::string kUnreservableHeapKb = sizeof(void*) == 8 ? "943718400000" : "3145728";

TEST(JavaLaunch, FailuresSayWhatWentWrongAndEndWithMinusOne) {
  const std::string classPath = "[Class Path]\r\nClass Path=C:\\x.jar\r\n";
  const struct {
    const char* name;
    const wchar_t* variant;  // null: the normal test runtime
    std::string settings;
    std::string message;     // "<jvm>" stands for the jvm.dll path
  } cases[] = {
      {"missing dependency", L"missing-dependency", classPath,
       "Failed to load Java VM library: <jvm> (errno = 126)."},
      {"no JNI_CreateJavaVM", L"no-create", classPath, "Windows exception: cannot find CreateJavaVM JNI (errno = 127)."},
      {"no JNI_GetDefaultJavaVMInitArgs", L"no-default-args", classPath,
       "Windows exception: cannot find CreateJavaVM JNI (errno = 127)."},
      {"unrecognised option: the runtime's own words", nullptr, "Virtual Machine Parameters=-Xbogus\r\n" + classPath,
       "JNI exception: failed to create the Java VM\nReason: unknown.\n\nThe Java VM said:\nUnrecognized option: -Xbogus"},
      {"the java launcher's own -m", nullptr, "Virtual Machine Parameters=-m app/app.Main\r\n" + classPath,
       "JNI exception: failed to create the Java VM\nReason: unknown.\n\nThe Java VM said:\nUnrecognized option: -m"},
      {"a heap the runtime cannot reserve ends the process", nullptr,
       "Virtual Machine Parameters=" + kUnreservableHeap + "\r\n" + classPath,
       "Reason: unknown.\n\nThe Java VM said:\nError occurred during initialization of VM\n"
       "Could not reserve enough space for " + kUnreservableHeapKb + "KB object heap"},
      {"runtime out of memory", nullptr, "Virtual Machine Parameters=-Dtest.jvm.status=-4\r\n" + classPath,
       "JNI exception: failed to create the Java VM\nReason: not enough memory."},
      {"detached", nullptr, "Virtual Machine Parameters=-Dtest.jvm.status=-2\r\n" + classPath,
       "JNI exception: failed to create the Java VM\nReason: thread detached from VM."},
      {"version", nullptr, "Virtual Machine Parameters=-Dtest.jvm.status=-3\r\n" + classPath,
       "JNI exception: failed to create the Java VM\nReason: JNI version error."},
      {"already created", nullptr, "Virtual Machine Parameters=-Dtest.jvm.status=-5\r\n" + classPath,
       "JNI exception: failed to create the Java VM\nReason: VM already created."},
      {"invalid arguments", nullptr, "Virtual Machine Parameters=-Dtest.jvm.status=-6\r\n" + classPath,
       "JNI exception: failed to create the Java VM\nReason: invalid arguments."},
      {"odd status", nullptr, "Virtual Machine Parameters=-Dtest.jvm.status=-9\r\n" + classPath,
       "JNI exception: failed to create the Java VM\nReason: ."},
      {"empty class path", nullptr, "[Class Path]\r\nClass Path=missing.jar\r\n",
       "Java Class Path was not specified in INI file."},
      {"an argument file that cannot be read", nullptr, "Virtual Machine Parameters=@missing.txt\r\n" + classPath,
       "Cannot read the argument file missing.txt named in the Virtual Machine Parameters."},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    JavaApp app(currentTestName() + std::to_wstring(n++));
    std::string jre = narrow(app.addRuntime(L"jre", c.variant ? testRuntimeVariant(c.variant) : testRuntime()));
    app.writeIni(kMain + c.settings);
    robot::Outcome outcome = app.launch(L"", {L"OK"});
    EXPECT_EQ(outcome.exitCodeSigned(), -1) << report(outcome);
    std::string message = c.message;
    if (size_t at = message.find("<jvm>"); at != std::string::npos) message.replace(at, 5, jre + "\\bin\\server\\jvm.dll");
    EXPECT_NE(onlyMessage(outcome).find(message), std::string::npos) << report(outcome);
    EXPECT_TRUE(app.journal("main").empty()) << "main never runs";
  }
}

TEST(JavaLaunch, MainClassProblemsAreReported) {
  const struct {
    const char* name;
    const wchar_t* variant;
    const char* mainClass;  // and the keys after it
    std::string message;    // "<app>" stands for the folder
    const char* release;    // the runtime's release file, if any
  } cases[] = {
      {"refused by the runtime's launcher class", nullptr, "com.example.Missing",
       "Failed to load Main Class: com/example/Missing.", nullptr},
      {"plain lookup", L"no-boot-finder", "com.example.Missing", "Could not find the main class com/example/Missing.",
       nullptr},
      {"no main method for the launcher class", nullptr, "test.NoMain", "Failed to load Main Class: test/NoMain.",
       nullptr},
      {"no main method", L"no-boot-finder", "test.NoMain\r\nVirtual Machine Parameters=-Dtest.jvm.quiet-lookups",
       "No main method found in specified class.", nullptr},
      // The first of the two class path sections counts: its entry names nothing on disk.
      {"a class path that names nothing", nullptr, "com.example.App\r\n[Class Path]\r\nClass Path=C:\\nowhere.jar",
       "Failed to load Main Class: com/example/App.", nullptr},
      {"a jar without Main-Class", nullptr, "\r\nMain Jar=plain.jar", "Failed to load Main Class: <app>\\plain.jar.",
       nullptr},
      {"a module, and no launcher class", L"no-boot-finder", "com.example.app\r\nModule Path=C:\\mods",
       "Cannot start com.example.app: the Java runtime has no launcher class", nullptr},
      {"a module on Java 8", nullptr, "com.example.app/com.example.App\r\nModule Path=C:\\mods",
       "Cannot start the module com.example.app/com.example.App: modules need Java 9 or later, and the chosen Java "
       "runtime is Java 1.8.0.392.",
       "JAVA_VERSION=\"1.8.0_392\"\n"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    JavaApp app(currentTestName() + std::to_wstring(n++));
    app.addRuntime(L"jre", c.variant ? testRuntimeVariant(c.variant) : testRuntime());
    if (c.release) app.folder().writeFile(L"jre\\release", c.release);
    app.folder().writeFile(L"plain.jar", storedJar("Created-By: 17"));
    app.writeIni(std::string("[Java Runtime Environment]\r\nMain Class=") + c.mainClass +
                 "\r\n[Class Path]\r\nClass Path=C:\\x.jar\r\n");
    robot::Outcome outcome = app.launch(L"", {L"OK"});
    EXPECT_EQ(outcome.exitCodeSigned(), -1) << report(outcome);
    EXPECT_NE(onlyMessage(outcome).find(withAppFolder(c.message, app)), std::string::npos)
        << report(outcome) << app.journalText();
  }
}

TEST(JavaLaunch, ExitStatusExceptionsAndRedirection) {
  const std::string classPath = "[Class Path]\r\nClass Path=C:\\x.jar\r\n";
  {
    JavaApp app(currentTestName() + L"-exit");
    app.addRuntime(L"jre");
    app.writeIni("[Java Runtime Environment]\r\nMain Class=test.Exit\r\n" + classPath);
    robot::Outcome outcome = app.launch(L"3");
    EXPECT_EQ(outcome.exitCodeSigned(), 3) << report(outcome) << app.journalText();
    EXPECT_EQ(app.journal("exit-hook-called"), std::vector<std::string>{"3"}) << "the launcher's exit hook was passed";
  }
  {
    JavaApp app(currentTestName() + L"-thread");
    app.addRuntime(L"jre");
    app.writeIni("[Java Runtime Environment]\r\nMain Class=test.Threaded\r\n" + classPath);
    robot::Outcome outcome = app.launch();
    EXPECT_EQ(outcome.exitCodeSigned(), 0) << report(outcome);
    std::string journal = app.journalText();
    EXPECT_LT(journal.find("thread-end"), journal.find("destroy-done"))
        << "the launch waits for the application's last thread\n" << journal;
  }
  {
    JavaApp app(currentTestName() + L"-throw");
    app.addRuntime(L"jre");
    app.writeIni("[Java Runtime Environment]\r\nMain Class=test.Throw\r\n" + classPath);
    robot::Outcome outcome = app.launch();
    EXPECT_EQ(outcome.exitCodeSigned(), 1) << "as the java command: a main that threw is a failed run\n" << report(outcome);
    EXPECT_EQ(outcome.dialogs().size(), 0u) << report(outcome);
  }
  {
    JavaApp app(currentTestName() + L"-streams");
    app.addRuntime(L"jre");
    app.folder().writeFile(L"err.txt", "old\r\n");
    app.writeIni("[Java Runtime Environment]\r\nMain Class=test.Print\r\n" + classPath + "[Application]\r\nOutput File=" +
                 narrow(app.path()) + "\\logs\\deeper\\out-%yyyy-MM%.txt\r\nError File=" + narrow(app.path()) +
                 "\\err.txt\r\nError Append=yes\r\n");
    robot::Outcome outcome = app.launch();
    EXPECT_EQ(outcome.exitCodeSigned(), 0) << report(outcome) << app.journalText();
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t stamp[16];
    swprintf(stamp, 16, L"%04u-%02u", now.wYear, now.wMonth);
    std::ifstream out((app.path() + L"\\logs\\deeper\\out-" + stamp + L".txt").c_str());
    std::string line;
    std::getline(out, line);
    EXPECT_EQ(line.substr(0, 11), "stdout line") << "the folders were created and the name stamped";
    std::ifstream err((app.path() + L"\\err.txt").c_str(), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(err)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.substr(0, 5), "old\r\n");
    EXPECT_NE(text.find("stderr line"), std::string::npos) << "appended";
  }
}

}  // namespace

namespace {

// A trace is only ever an addition: a launch traced into a file that cannot
// be written runs as one without a trace, and a traced launch says what it
// did, step by step.
TEST(JavaLaunch, TheTraceRecordsTheLaunchAndNeverChangesIt) {
  JavaApp app(currentTestName());
  app.addRuntime(L"jre");
  app.writeIni(kMain + "[Class Path]\r\nClass Path=C:\\x.jar\r\n");
  const std::wstring locked = app.path() + L"\\locked.txt";
  HANDLE lock = CreateFileW(locked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  for (const std::wstring& trace : {app.path() + L"\\no such folder\\trace.txt", locked, app.path()}) {
    robot::Outcome outcome = app.launchTraced(L"one", {}, trace);
    EXPECT_EQ(outcome.exitCodeSigned(), 0) << narrow(trace) << report(outcome);
    EXPECT_EQ(app.journal("arg"), std::vector<std::string>{"one"}) << narrow(trace);
  }
  CloseHandle(lock);

  robot::Outcome traced = app.launchTraced(L"one");
  EXPECT_EQ(traced.exitCodeSigned(), 0) << report(traced);
  const std::string text = app.traceText();
  for (const char* step : {"executable ", "single instance: no", "beside the executable: ", "chosen by beside the executable",
                           "set QL_JVM_PATH=", "VM option -Djava.class.path=C:\\x.jar", "Java thread stack size ",
                           "JNI_CreateJavaVM returned 0", "main com.example.App loaded by the runtime's launcher class in mode 1",
                           "main form: static main(String[])", "exit code 0"}) {
    EXPECT_NE(text.find(step), std::string::npos) << step << "\n" << text;
  }
}

}  // namespace

namespace {

// "Class Data Sharing=auto": Java 19 and later get an archive per user and
// runtime below LOCALAPPDATA; older runtimes, runtimes without a release file,
// a class path with a folder (the runtime archives jars only), a folder on the
// boot class path and an archive folder that cannot be made get nothing, and
// launch as ever. A damaged archive is deleted before the next launch, and a
// runtime replaced in place gets an archive of its own.
TEST(JavaLaunch, ClassDataSharingArchivePerUserAndRuntime) {
  const struct {
    const char* name;
    const char* release;  // null: none
    const char* value;
    const char* classPath;
    bool folderBlocked;   // the product folder's name is taken by a file
    bool archive;
    const char* parameters = "";
    const char* before = "";  // "zeroed" archive or "replaced" jvm.dll, then a second launch
  } cases[] = {
      {"Java 21", "JAVA_VERSION=\"21.0.5\"\n", "auto", "app.jar", false, true},
      {"any case", "JAVA_VERSION=\"25\"\n", "AUTO", "app.jar", false, true},
      {"Java 17", "JAVA_VERSION=\"17.0.13\"\n", "auto", "app.jar", false, false},
      {"no release file", nullptr, "auto", "app.jar", false, false},
      {"not asked for", "JAVA_VERSION=\"21.0.5\"\n", "", "app.jar", false, false},
      {"a folder on the class path", "JAVA_VERSION=\"21.0.5\"\n", "auto", "app.jar;classes", false, false},
      {"the folder cannot be made", "JAVA_VERSION=\"21.0.5\"\n", "auto", "app.jar", true, false},
      {"a boot class path folder", "JAVA_VERSION=\"21.0.5\"\n", "auto", "app.jar", false, false,
       "-Xbootclasspath/a:%APP%\\classes"},
      {"a damaged archive", "JAVA_VERSION=\"21.0.5\"\n", "auto", "app.jar", false, true, "", "zeroed"},
      {"a replaced runtime", "JAVA_VERSION=\"21.0.5\"\n", "auto", "app.jar", false, true, "", "replaced"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    JavaApp app(currentTestName() + std::to_wstring(n++));
    app.addRuntime(L"jre");
    if (c.release) app.folder().writeFile(L"jre\\release", c.release);
    // The runtime's base archive: magic and format version 19.
    app.folder().writeFile(L"jre\\bin\\server\\classes.jsa",
                           std::string("\xa2\xab\x0b\xf0\0\0\0\0\x13", 9) + std::string(99, '\0'));
    const std::wstring local = app.path() + L"\\local";
    CreateDirectoryW(local.c_str(), nullptr);
    if (c.folderBlocked) app.folder().writeFile(L"local\\Shop", "");
    app.folder().writeFile(L"app.jar", "");
    CreateDirectoryW((app.path() + L"\\classes").c_str(), nullptr);
    app.writeIni("[Product Information]\r\nProduct Name=Shop\r\nProduct Code={C0DE}\r\n" + kMain +
                 "Class Data Sharing=" + c.value + "\r\nVirtual Machine Parameters=" + c.parameters +
                 "\r\n[Class Path]\r\nClass Path=" + c.classPath + "\r\n");
    SetEnvironmentVariableW(L"LOCALAPPDATA", local.c_str());
    SetEnvironmentVariableW(L"APP", app.path().c_str());
    robot::Outcome outcome = app.launch();
    EXPECT_EQ(outcome.exitCodeSigned(), 0) << report(outcome) << app.journalText();
    const std::vector<std::string> options = optionsBeforeHooks(app);
    if (!c.archive) {
      EXPECT_EQ(options.size(), *c.parameters ? 2u : 1u) << "the class path and the parameters only";
      continue;
    }
    ASSERT_EQ(options.size(), 3u) << app.journalText();
    const std::string archive = options[1].substr(options[1].find('=') + 1);
    EXPECT_EQ(options[1].rfind("-XX:SharedArchiveFile=" + narrow(local) + "\\Shop\\{C0DE}\\Shop-", 0), 0u) << options[1];
    EXPECT_EQ(archive.substr(archive.size() - 4), ".jsa");
    EXPECT_NE(GetFileAttributesA(archive.substr(0, archive.rfind('\\')).c_str()), INVALID_FILE_ATTRIBUTES)
        << "the archive's folder is made";
    EXPECT_EQ(options[2], "-XX:+AutoCreateSharedArchive");
    if (!*c.before) continue;
    const bool replaced = std::string(c.before) == "replaced";
    // A launch killed while writing leaves the header zero; a new time on jvm.dll stands for a new build.
    std::ofstream(archive, std::ios::binary) << std::string(2048, '\0');
    if (replaced) {
      HANDLE jvm = CreateFileW((app.path() + L"\\jre\\bin\\server\\jvm.dll").c_str(), FILE_WRITE_ATTRIBUTES, 0,
                               nullptr, OPEN_EXISTING, 0, nullptr);
      const FILETIME later{0, 0x01e00000};
      EXPECT_TRUE(SetFileTime(jvm, nullptr, nullptr, &later));
      CloseHandle(jvm);
    }
    app.launch();
    EXPECT_EQ(optionsBeforeHooks(app).at(1) != options[1], replaced);
    EXPECT_EQ(GetFileAttributesA(archive.c_str()) != INVALID_FILE_ATTRIBUTES, replaced) << "deleted when damaged";
  }
  SetEnvironmentVariableW(L"LOCALAPPDATA", nullptr);
  SetEnvironmentVariableW(L"APP", nullptr);
}

}  // namespace
