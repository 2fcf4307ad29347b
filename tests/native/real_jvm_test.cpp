// The launcher's JNI code against every real JDK on this machine, each
// scenario in a process of its own (jvm_scenario).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "jvm/installed_jvms.h"
#include "resources/resource_ids.h"  // IWYU pragma: keep
#include "vm/shared_archive_rules.h"

namespace {

namespace fs = std::filesystem;

struct ScenarioRun {
  int exitCode = -1;
  std::string output;
  bool has(const std::string& line) const { return ("\n" + output).find("\n" + line + "\n") != std::string::npos; }
};

// `options` go to the VM after the class path, and `classes` is the class path.
ScenarioRun runScenario(const std::string& jvm, const std::string& scenario, const std::string& extra = "",
                        const std::vector<std::string>& options = {}, const std::string& classes = JVM_CLASSES_DIR) {
  // HotSpot handles its own SIGSEGVs (null checks, safepoints): the sanitizer must let it.
  // Writing a class-data archive, it copies symbols with wide reads: no checked memcpy then.
  std::string command = "ASAN_OPTIONS=handle_segv=0:allow_user_segv_handler=1:detect_leaks=0" +
                        std::string(options.empty() ? "" : ":replace_intrin=0") + " JVM_SCENARIO_OPTIONS='";
  for (const std::string& option : options) command += option + "\n";
  command += "' " + std::string(JVM_SCENARIO_EXE) + " '" + jvm + "' '" + classes + "' " + scenario + " " + extra + " 2>&1";
  ScenarioRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  size_t read;
  while ((read = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, read);
  int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// The launcher's verdict: is `archive` a dynamic archive of the runtime's base archive's format?
bool isArchiveOfJvm(const std::string& jvm, const fs::path& archive) {
  std::string base(kArchiveHeaderBytes, '\0'), found = base;
  std::ifstream(fs::path(jvm).parent_path() / "classes.jsa", std::ios::binary).read(base.data(), kArchiveHeaderBytes);
  std::ifstream(archive, std::ios::binary).read(found.data(), kArchiveHeaderBytes);
  auto bytes = [](const std::string& text) { return reinterpret_cast<const uint8_t*>(text.data()); };
  return isDynamicArchiveOf(baseArchiveVersion(bytes(base), base.size()), bytes(found), found.size(), fs::file_size(archive));
}

std::string fileText(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class RealJvm : public testing::TestWithParam<std::string> {};

TEST_P(RealJvm, MainIsFoundAndGetsTheArgumentsUnchanged) {
  for (const char* scenario : {"echo", "echo-plain"}) {
    SCOPED_TRACE(scenario);
    ScenarioRun run = runScenario(GetParam(), scenario);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(run.has("create-status=0")) << run.output;
    EXPECT_TRUE(run.has("main-about-to-run=1")) << run.output;
    EXPECT_TRUE(run.has("argc=4")) << run.output;
    EXPECT_TRUE(run.has("arg16=0066 0069 0072 0073 0074")) << run.output;
    EXPECT_TRUE(run.has("arg16=")) << "the empty argument\n" << run.output;
    EXPECT_TRUE(run.has("arg16=0062 006c 0061 006e 006b 0020 0069 006e 0020 0069 0074")) << run.output;
    EXPECT_TRUE(run.has("arg16=65e5 672c 0020 d83d de00 0020 00fc")) << "UTF-16 as given\n" << run.output;
    EXPECT_TRUE(run.has("invoked=1")) << run.output;
    EXPECT_GT(std::stoul(run.output.substr(run.output.find("default-stack=") + 14)), 0u) << run.output;
  }
}

bool isJava25OrLater(const std::string& jvm) { return jvmFeatureVersion(jvm) >= 25; }

TEST_P(RealJvm, MissingClassOrMainIsReported) {
  const std::string rejected = "report " + std::to_string(IDS_MAIN_CLASS_LOAD_FAILED) + "=";
  const struct {
    const char* scenario;
    std::string says;
    int exitCode;
  } cases[] = {
      // The runtime's own launcher class prints why and calls System.exit(1);
      // the exit hook reports the class and ends the process with -1.
      {"missing", "Error: Could not find or load main class com.example.Missing", 255},
      {"missing", rejected + "com/example/Missing", 255},
      {"no-main", rejected + "test/NoMain", 255},
      {"missing-plain", "report " + std::to_string(IDS_MAIN_CLASS_NOT_FOUND) + "=com/example/Missing", 0},
      // A real VM leaves NoSuchMethodError pending: its trace is the report.
      {"no-main-plain", "java.lang.NoSuchMethodError: static Ltest/NoMain;.main([Ljava/lang/String;)V", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scenario);
    ScenarioRun run = runScenario(GetParam(), c.scenario);
    EXPECT_NE(run.output.find(c.says), std::string::npos) << run.output;
    EXPECT_EQ(run.exitCode, c.exitCode) << run.output;
    if (c.exitCode == 0) {
      EXPECT_TRUE(run.has("invoked=0")) << run.output;
    }
    EXPECT_FALSE(run.has("main-about-to-run=1")) << run.output;
  }
}

// Since Java 25 main may be an instance method or take no arguments; older
// runtimes' launcher class rejects such classes.
TEST_P(RealJvm, MainMethodsOfJava25RunWhereTheRuntimeAllowsThem) {
  const bool modern = isJava25OrLater(GetParam());
  const struct {
    const char* scenario;
    const char* prints;
    bool needsJava25;
  } cases[] = {
      {"instance-main", "instance-main=constructed argc=2", true},
      {"no-args-main", "no-args-main=1", true},
      {"instance-no-args-main", "instance-no-args-main=1", true},
      {"both-mains", "chosen=static-with-arguments", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scenario);
    ScenarioRun run = runScenario(GetParam(), c.scenario);
    if (modern || !c.needsJava25) {
      EXPECT_TRUE(run.has(c.prints)) << run.output;
      EXPECT_TRUE(run.has("invoked=1")) << run.output;
    } else {
      EXPECT_NE(run.output.find("report " + std::to_string(IDS_MAIN_CLASS_LOAD_FAILED) + "="), std::string::npos)
          << run.output;
      EXPECT_EQ(run.exitCode, 255) << run.output;
    }
  }
}

TEST_P(RealJvm, StandardStreamsGoToFilesReplacedOrAppended) {
  fs::path folder = fs::temp_directory_path() / ("real-jvm-streams-" + std::to_string(getpid()));
  fs::create_directories(folder);
  std::ofstream(folder / "out.txt") << "old output\n";
  std::ofstream(folder / "err.txt") << "old errors\n";
  ScenarioRun run = runScenario(GetParam(), "print", (folder / "out.txt").string() + " " + (folder / "err.txt").string());
  EXPECT_TRUE(run.has("redirect-out=1")) << run.output;
  EXPECT_TRUE(run.has("redirect-err=1")) << run.output;
  EXPECT_EQ(fileText(folder / "out.txt"), "stdout line\n") << "replaced";
  EXPECT_EQ(fileText(folder / "err.txt"), "old errors\nstderr line\n") << "appended";
  fs::remove_all(folder);
}

TEST_P(RealJvm, ExitStatusThreadsAndCreationFailures) {
  ScenarioRun exit = runScenario(GetParam(), "exit");
  EXPECT_EQ(exit.exitCode, 7) << exit.output;
  EXPECT_FALSE(exit.has("invoked=1")) << "System.exit ends the process\n" << exit.output;

  ScenarioRun threaded = runScenario(GetParam(), "threaded");
  size_t end = threaded.output.find("thread-end");
  size_t destroyed = threaded.output.find("destroyed=1");
  ASSERT_NE(end, std::string::npos) << threaded.output;
  EXPECT_LT(end, destroyed) << "DestroyJavaVM waits for the non-daemon thread\n" << threaded.output;

  // A delivery that attaches while the application's shutdown hook runs is
  // not waited for by the VM: it blocks for good once the VM has ended,
  // unless the launcher's own hook holds the VM until it has returned.
  ScenarioRun unwaited = runScenario(GetParam(), "late-delivery-unwaited");
  EXPECT_TRUE(unwaited.has("destroyed=1")) << unwaited.output;
  EXPECT_FALSE(unwaited.has("secondary-returned")) << unwaited.output;
  ScenarioRun waited = runScenario(GetParam(), "late-delivery");
  EXPECT_TRUE(waited.has("hook-added=1")) << waited.output;
  EXPECT_TRUE(waited.has("launcher-hook-waited=1")) << waited.output;
  const size_t returned = waited.output.find("secondary-returned");
  ASSERT_NE(returned, std::string::npos) << waited.output;
  EXPECT_LT(returned, waited.output.find("destroyed=1")) << waited.output;
  EXPECT_EQ(waited.exitCode, 0) << waited.output;

  ScenarioRun bad = runScenario(GetParam(), "bad-option");
  EXPECT_TRUE(bad.has("create-status=-1")) << bad.output;
  EXPECT_TRUE(bad.has("reason=" + std::to_string(IDS_JNI_UNKNOWN))) << bad.output;
  EXPECT_TRUE(bad.has("printed=Unrecognized option: -Xbogus-option")) << "through the hook\n" << bad.output;

  // The VM ends the process from inside JNI_CreateJavaVM, without the exit
  // hook: the launcher hears it through the print hook first.
  ScenarioRun heap = runScenario(GetParam(), "huge-heap");
  EXPECT_EQ(heap.exitCode, 5) << heap.output;
  EXPECT_NE(heap.output.find("fatal=Error occurred during initialization of VM\nCould not reserve enough space for "),
            std::string::npos)
      << heap.output;
}

TEST_P(RealJvm, AnUncaughtExceptionComesBackAsItsStackTrace) {
  // Without "Failure Check" the runtime prints its own trace, and the VM
  // ends without ending the process: the launcher's exit code, 1, stands.
  ScenarioRun plain = runScenario(GetParam(), "throw");
  EXPECT_TRUE(plain.has("main-threw=1") && plain.has("destroyed=1")) << plain.output;
  EXPECT_NE(plain.output.find("Exception in thread \"main\" java.lang.IllegalStateException"), std::string::npos)
      << plain.output;

  ScenarioRun ignore = runScenario(GetParam(), "throw-ignore");
  EXPECT_TRUE(ignore.has("main-threw=1")) << ignore.output;
  EXPECT_NE(ignore.output.find("trace=java.lang.IllegalStateException: thrown by test.Throw: Gr\u00f6\u00dfe \u2713 "
                               "\u4e2d\u6587 \U0001F600"),
            std::string::npos)
      << ignore.output;
  EXPECT_NE(ignore.output.find("at test.Throw.main(Throw.java"), std::string::npos) << ignore.output;
  EXPECT_TRUE(ignore.has("invoked=1")) << "Ignore goes on as after a normal return\n" << ignore.output;

  ScenarioRun stop = runScenario(GetParam(), "throw-stop");
  EXPECT_EQ(stop.exitCode, 255) << "System.exit(-1)\n" << stop.output;
  EXPECT_FALSE(stop.has("invoked=1")) << stop.output;
}

// "Class Data Sharing=auto" as the launcher decides it (vm/shared_archive_rules.h),
// on the runtimes that create the archive: whatever the archive's file held
// and whatever the VM parameters, System.exit's code comes through, and the
// launch after one that archived maps the application's classes.
TEST_P(RealJvm, ClassDataArchiveKeepsTheExitCodeAndReplacesAForeignFile) {
  if (jvmFeatureVersion(GetParam()) < 19) GTEST_SKIP() << "the runtime creates no archive";
  const fs::path folder = fs::temp_directory_path() / ("real-jvm-cds-" + std::to_string(getpid()));
  fs::create_directories(folder / "boot/test");
  std::ofstream(folder / "boot/test/Extra.class") << "";
  const fs::path archive = folder / "app.jsa", old = folder / "old.jsa";
  const std::vector<std::string> archiveOptions{"-XX:SharedArchiveFile=" + archive.string(), "-XX:+AutoCreateSharedArchive"};
  for (const std::string& jvm : installedJvms()) {
    if (jvmFeatureVersion(jvm) < 19) runScenario(jvm, "exit", "", {"-XX:ArchiveClassesAtExit=" + old.string()}, JVM_CLASSES_JAR);
  }
  const struct {
    const char* name;
    const char* file;  // the archive's path before the launch: "zeroed", "old", "cut" or nothing
    std::string parameter;
    bool archived;
  } cases[] = {
      {"no file yet", "", "", true},
      {"a header left zero by a launch killed while writing", "zeroed", "", true},
      {"written by a runtime before Java 19", "old", "", true},
      {"a header longer than the file", "cut", "", true},
      {"a jar on the appended boot class path", "", "-Xbootclasspath/a:" JVM_CLASSES_JAR, true},
      {"a folder on the appended boot class path", "", "-Xbootclasspath/a:" + (folder / "boot").string(), false},
      {"a native agent", "", "-agentlib:jdwp=transport=dt_socket,server=y,suspend=n,address=127.0.0.1:0", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = c.file;
    fs::remove(archive);
    if (file == "old" && fs::exists(old)) fs::copy_file(old, archive);
    if (file == "zeroed" || file == "cut") {
      runScenario(GetParam(), "exit", "", archiveOptions, JVM_CLASSES_JAR);
      std::fstream(archive, std::ios::binary | std::ios::in | std::ios::out) << std::string(file == "zeroed" ? 4096 : 0, '\0');
      if (file == "cut") fs::resize_file(archive, kArchiveHeaderBytes + 8);
    }
    // The launcher's decision.
    if (fs::exists(archive) && !isArchiveOfJvm(GetParam(), archive)) fs::remove(archive);
    EXPECT_FALSE(fs::exists(archive)) << "deleted";
    const StringList parameters{fromUtf8(c.parameter)};
    auto isFolder = [](const String& path) { return fs::is_directory(toUtf8(path)); };
    const bool archived = optionPreventingArchive(parameters, u':', isFolder).empty();
    EXPECT_EQ(archived, c.archived);
    std::vector<std::string> options{c.parameter};
    if (archived) options.insert(options.end(), archiveOptions.begin(), archiveOptions.end());
    EXPECT_EQ(runScenario(GetParam(), "exit", "", options, JVM_CLASSES_JAR).exitCode, 7);
    if (!archived) options.insert(options.end(), archiveOptions.begin(), archiveOptions.end());
    options.push_back("-Xlog:class+load=info:stdout:none");
    ScenarioRun next = runScenario(GetParam(), "exit", "", options, JVM_CLASSES_JAR);
    // What the rule spares: the runtime fails as it writes the archive.
    EXPECT_EQ(next.exitCode, archived ? 7 : 1) << next.output;
    EXPECT_EQ(next.has("test.Exit source: shared objects file (top)"), archived) << next.output;
  }
  fs::remove_all(folder);
}

// The java command's module and jar modes as the launcher asks for them: the
// runtime's launcher class resolves the main module from the module path (its
// own main class when the text names none) and applies an executable jar's
// manifest, even with other bytes before the jar; the same class loaded by
// name gets neither. Java 24 and later warn of System.load without native access.
TEST_P(RealJvm, ModuleAndJarModesApplyTheDescriptorAndTheManifest) {
  const std::string apps = LAUNCH_APPS, jar = apps + "/opener.jar", exe = apps + "/opener.exe";
  const std::vector<std::string> modular{"--module-path=" + apps + "/app.main.jar:" + apps + "/modules/app.lib",
                                         "-Djdk.module.main=app.main"};
  const std::vector<std::string> runsModule{"module=app.main", "lib=app.lib", "classpath-lib=2024-02-29"};
  const struct {
    std::string launch;  // mode, text and arguments
    std::vector<std::string> options;
    std::string classes;
    std::vector<std::string> prints;
    bool warns;
  } cases[] = {
      {"3 app.main/app.Main a b", modular, apps + "/cplib", runsModule, false},
      {"3 app.main a b", modular, apps + "/cplib", runsModule, false},
      {"2 " + jar, {}, jar + ":" JVM_CLASSES_DIR, {"opened=1", "loaded=1"}, false},
      {"1 opener.Opener", {}, jar, {"opened=0", "loaded=1"}, true},
      {"2 " + exe, {}, exe, {"opened=1", "loaded=1"}, false},
  };
  const bool warnsOfNativeAccess = jvmFeatureVersion(GetParam()) >= 24;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.launch);
    const std::string text = c.launch.substr(2);  // as sun.java.command, the last option
    std::vector<std::string> options = c.options;
    options.push_back("-Dsun.java.command=" + text);
    ScenarioRun run = runScenario(GetParam(), "launch", c.launch, options, c.classes);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(run.has("invoked=1")) << run.output;
    for (const std::string& line : c.prints) EXPECT_TRUE(run.has(line)) << run.output;
    if (c.launch[0] == '3') {
      EXPECT_TRUE(run.has("command=" + text)) << run.output;
    }
    const bool warned = run.output.find("WARNING: A restricted method") != std::string::npos;
    EXPECT_EQ(warned, c.warns && warnsOfNativeAccess) << run.output;
  }
}

INSTANTIATE_TEST_SUITE_P(Installed, RealJvm, testing::ValuesIn(installedJvms()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           std::string name = fs::path(info.param).parent_path().parent_path().parent_path().filename();
                           for (char& c : name) {
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
