// The test runtime's JNI contract, exercised through its real exports and
// function tables. One VM per process: the VM tests share one VM in this
// process; creation, exit and crash cases run in child processes.
#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <set>

#include "vm/jni_init_args_1_1.h"
#include "process_start/process_start.h"
#include "runtime_harness.h"

// What test.Throw throws, as the stand-in writes it: modified UTF-8.
#define TEST_THROW_TEXT "java.lang.IllegalStateException: thrown by test.Throw: Gr\xC3\xB6\xC3\x9F" "e \xE2\x9C\x93 \xE4\xB8\xAD\xE6\x96\x87 \xED\xA0\xBD\xED\xB8\x80"

namespace {

using harness::inOrder;
using harness::joinLines;
using Records = std::vector<std::string>;

std::wstring journalPath() {
  static const std::wstring path = harness::scratchFolder(L"in-process") + L"\\journal.txt";
  return path;
}

const harness::Entries& runtime() {
  static const harness::Entries entries = [] {
    SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", journalPath().c_str());
    return harness::load(harness::runtimePath(L"bin\\server\\jvm.dll"));
  }();
  return entries;
}

JavaVM* sharedVm = nullptr;
JNIEnv* sharedEnv() {
  static JNIEnv* env = [] {
    JNIEnv* created = nullptr;
    harness::createVm(runtime(), {"-Dshared=1"}, false, &sharedVm, &created);
    return created;
  }();
  return env;
}

// Journal records written since the object was made.
class JournalTail {
 public:
  JournalTail() : start_(harness::readJournal(journalPath()).size()) {}
  Records records() const {
    const Records all = harness::readJournal(journalPath());
    return Records(all.begin() + static_cast<std::ptrdiff_t>(start_), all.end());
  }

 private:
  size_t start_;
};

jobject newPrintStream(JNIEnv* env, jobject target) {
  jclass cls = env->FindClass("java/io/PrintStream");
  return env->NewObject(cls, env->GetMethodID(cls, "<init>", "(Ljava/io/OutputStream;)V"), target);
}

jobject newByteStream(JNIEnv* env) {
  jclass cls = env->FindClass("java/io/ByteArrayOutputStream");
  return env->NewObject(cls, env->GetMethodID(cls, "<init>", "()V"));
}

std::string byteStreamText(JNIEnv* env, jobject stream) {
  jmethodID toString = env->GetMethodID(env->GetObjectClass(stream), "toString", "()Ljava/lang/String;");
  return harness::utf8(env, static_cast<jstring>(env->CallObjectMethod(stream, toString)));
}

void setSystemStream(JNIEnv* env, const char* setter, jobject stream) {
  jclass system = env->FindClass("java/lang/System");
  env->CallStaticVoidMethod(system, env->GetStaticMethodID(system, setter, "(Ljava/io/PrintStream;)V"), stream);
}

void runMain(JNIEnv* env, const char* className, const std::vector<std::string>& args) {
  jclass cls = env->FindClass(className);
  env->CallStaticVoidMethod(cls, env->GetStaticMethodID(cls, "main", "([Ljava/lang/String;)V"),
                            harness::stringArray(env, args));
}

std::string pendingClass(JNIEnv* env) {
  jthrowable pending = env->ExceptionOccurred();
  if (!pending) return "<none>";
  jclass cls = env->GetObjectClass(pending);
  env->ExceptionClear();
  for (const char* name : {"java/lang/NoClassDefFoundError", "java/lang/NoSuchMethodError",
                           "java/io/FileNotFoundException", "java/lang/ArrayIndexOutOfBoundsException"}) {
    if (env->IsSameObject(cls, env->FindClass(name))) return name;
  }
  return "<other>";
}

// ---- in the child processes ----

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
    parts.push_back(text.substr(start, end - start));
  if (!text.empty()) parts.push_back(text.substr(start));
  return parts;
}

void JNICALL exitHook(jint status) {
  const std::string line = "exit hook " + std::to_string(status) + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

DWORD WINAPI createOnThread(void*) {
  const harness::Entries entries = harness::load(harness::runtimePath(L"bin\\server\\jvm.dll"));
  const std::vector<std::string> options = split(harness::environment("TEST_RUNTIME_OPTIONS"), ';');
  const bool ignore = harness::environment("TEST_RUNTIME_IGNORE") == "1";
  const auto version = static_cast<jint>(std::strtol(harness::environment("TEST_RUNTIME_VERSION").c_str(), nullptr, 16));
  JavaVM* vm = nullptr;
  JNIEnv* env = nullptr;
  if (harness::createVm(entries, options, ignore, &vm, &env, version) == JNI_OK) {
    harness::createVm(entries, options, ignore, &vm, &env, version);
  }
  return 0;
}

void childScenario(const std::string& scenario) {
  if (scenario == "create") {
    harness::load(harness::runtimePath(L"bin\\server\\jvm.dll"));  // loaded here, created elsewhere
    HANDLE thread = CreateThread(nullptr, 4 << 20, &createOnThread, nullptr, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return;
  }
  if (scenario == "variants") {
    EXPECT_EQ(harness::load(harness::variantPath(L"no-create\\bin\\server\\jvm.dll")).create, nullptr);
    EXPECT_EQ(harness::load(harness::variantPath(L"no-default-args\\bin\\server\\jvm.dll")).defaultArgs, nullptr);
    EXPECT_EQ(harness::load(harness::variantPath(L"no-boot-finder\\bin\\server\\jvm.dll")).bootFinder, nullptr);
    EXPECT_NE(harness::load(harness::variantPath(L"client-only\\bin\\client\\jvm.dll")).create, nullptr);
    EXPECT_EQ(LoadLibraryW(harness::variantPath(L"missing-dependency\\bin\\server\\jvm.dll").c_str()), nullptr);
    EXPECT_EQ(GetLastError(), 126u);
    HMODULE splash = LoadLibraryW(harness::variantPath(L"splash-no-jarname\\bin\\splashscreen.dll").c_str());
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(GetProcAddress(splash, "SplashSetFileJarName"), nullptr);
    EXPECT_NE(GetProcAddress(splash, "SplashInit"), nullptr);
    return;
  }
  const std::wstring dll = scenario == "default-home" ? std::wstring(_wgetenv(L"TEST_RUNTIME_JVM"))
                                                      : harness::runtimePath(L"bin\\server\\jvm.dll");
  const harness::Entries entries = harness::load(dll);
  JavaVM* vm = nullptr;
  JNIEnv* env = nullptr;
  ASSERT_EQ(harness::createVm(entries, {"exit", "abort"}, false, &vm, &env, JNI_VERSION_1_2,
                              reinterpret_cast<void*>(&exitHook)),
            JNI_OK);
  if (scenario == "unexpected") {
    env->MonitorEnter(nullptr);
    FAIL() << "MonitorEnter returned";
  } else if (scenario == "exit") {
    runMain(env, "test/Exit", {"7"});
    FAIL() << "System.exit returned";
  } else if (scenario == "print") {
    runMain(env, "test/Print", {});
  } else if (scenario == "refused-main") {
    jclass helper = env->FindClass("sun/launcher/LauncherHelper");
    jmethodID check = env->GetStaticMethodID(helper, "checkAndLoadMain", "(ZILjava/lang/String;)Ljava/lang/Class;");
    env->CallStaticObjectMethod(helper, check, JNI_TRUE, 1, env->NewStringUTF("test.Nope"));
    FAIL() << "checkAndLoadMain returned";
  } else if (scenario == "uncaught") {
    runMain(env, "test/Throw", {});
    vm->DetachCurrentThread();
  } else if (scenario == "threaded") {
    runMain(env, "test/Threaded", {});
    vm->DestroyJavaVM();
  }
}

TEST(Child, Run) {
  const std::string scenario = harness::childScenario();
  if (scenario.empty()) GTEST_SKIP() << "runs only as a child of the other tests";
  childScenario(scenario);
}

// ---- VM creation, each in a fresh process ----

struct CreateCase {
  const char* name;
  const char* options;  // separated by ';'
  bool ignore;
  const char* version;
  Records expected;     // in this order
};

class CreateVm : public testing::TestWithParam<CreateCase> {};

TEST_P(CreateVm, JournalsAndReturns) {
  const CreateCase& row = GetParam();
  const harness::Child child = harness::runChild(
      "create", {{L"TEST_RUNTIME_OPTIONS", std::wstring(row.options, row.options + strlen(row.options))},
                 {L"TEST_RUNTIME_IGNORE", row.ignore ? L"1" : L"0"},
                 {L"TEST_RUNTIME_VERSION", std::wstring(row.version, row.version + strlen(row.version))}});
  EXPECT_EQ(child.exitCode, 0u) << child.output;
  EXPECT_TRUE(inOrder(child.journal, row.expected)) << joinLines(child.journal);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CreateVm,
    testing::Values(
        CreateCase{"accepted",
                   "-Dapp.x=1;-Xss2m;-Xmx64m;-Xms8m;-Xrs;-ea;-da;-esa;-verbose:gc;-Xss0",
                   false,
                   "10002",
                   {"create-thread-is-loader=0", "create-stack=4194304", "version=0x00010002",
                    "ignore-unrecognized=0", "option=-Dapp.x=1", "option=-Xss2m", "option=-Xss0",
                    "status=0", "status=-5"}},
        CreateCase{"rejected", "-Dok=1;-Xbogus;-Dafter=2", false, "10002",
                   {"option=-Xbogus", "option=-Dafter=2", "reject=-Xbogus", "status=-1"}},
        // As HotSpot: an empty option, a bad size, a stack below 136 KB.
        CreateCase{"empty", "-Dok=1;;-Dafter=2", false, "10002", {"reject=", "status=-1"}},
        CreateCase{"bad_heap", "-Xmx-1K", false, "10002", {"reject=-Xmx-1K", "status=-6"}},
        CreateCase{"small_stack", "-Xss64k", false, "10002", {"reject=-Xss64k", "status=-1"}},
        // Module options only as "name=value"; the java launcher's spellings are refused.
        CreateCase{"module_options", "--add-opens=java.base/java.lang=ALL-UNNAMED;--module-path=mods", false, "10002",
                   {"option=--add-opens=java.base/java.lang=ALL-UNNAMED", "option=--module-path=mods", "status=0"}},
        CreateCase{"launcher_spelling", "--module=app/app.Main", false, "10002",
                   {"reject=--module=app/app.Main", "status=-1"}},
        CreateCase{"ignored", "-Xbogus", true, "10008", {"ignore-unrecognized=1", "option=-Xbogus", "status=0"}},
        CreateCase{"chosen_status", "-Dtest.jvm.status=-4", false, "10002", {"status=-4"}},
        CreateCase{"frozen", "-Dtest.jvm.freeze=50;-Dafter=1", false, "10002",
                   {"option=-Dtest.jvm.freeze=50", "freeze=50", "thawed=1", "option=-Dafter=1", "status=0"}},
        CreateCase{"old_version", "", false, "10001", {"version=0x00010001", "status=-3"}}),
    [](const testing::TestParamInfo<CreateCase>& info) { return std::string(info.param.name); });

TEST(CreateVm, JournalsCallerAndEnvironment) {
  const harness::Child child = harness::runChild("create", {{L"QL_JVM_HOME", L"C:\\jre home"},
                                                            {L"TEST_RUNTIME_OPTIONS", L""},
                                                            {L"TEST_RUNTIME_VERSION", L"10002"}});
  EXPECT_EQ(harness::value(child.journal, "env-QL_JVM_HOME"), "C:\\jre home");
  EXPECT_EQ(harness::value(child.journal, "env-QL_JVM_PATH"), "");
  EXPECT_NE(harness::value(child.journal, "env-Path"), "<none>");
  EXPECT_NE(harness::value(child.journal, "loaded-thread"), harness::value(child.journal, "create-thread"));
}

TEST(Journal, DefaultsToTheRuntimeHome) {
  const std::wstring home = harness::scratchFolder(L"home");
  CreateDirectoryW((home + L"\\bin").c_str(), nullptr);
  CreateDirectoryW((home + L"\\bin\\server").c_str(), nullptr);
  const std::wstring dll = home + L"\\bin\\server\\jvm.dll";
  ASSERT_TRUE(CopyFileW(harness::runtimePath(L"bin\\server\\jvm.dll").c_str(), dll.c_str(), FALSE));
  DeleteFileW((home + L"\\journal.txt").c_str());
  harness::runChild("default-home", {{L"TEST_JVM_JOURNAL", L""}, {L"TEST_RUNTIME_JVM", dll}});
  const Records records = harness::readJournal(home + L"\\journal.txt");
  EXPECT_TRUE(inOrder(records, {"option=exit", "option-hook=exit", "status=0"})) << joinLines(records);
}

// Eight processes append 500 records each to one journal at once: every
// record arrives whole, once.
TEST(Journal, KeepsEveryRecordOfProcessesAppendingAtOnce) {
  const std::wstring journal = harness::scratchFolder(L"appends") + L"\\journal.txt";
  DeleteFileW(journal.c_str());
  std::wstring writer(32768, L'\0');
  writer.resize(GetModuleFileNameW(nullptr, writer.data(), 32768));
  writer = writer.substr(0, writer.find_last_of(L'\\')) + L"\\journal_writer.exe";
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", journal.c_str());
  std::vector<HANDLE> writers;
  for (int i = 0; i < 8; ++i) {
    std::wstring commandLine = L"\"" + writer + L"\" 500 w" + std::to_wstring(i);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!startProcess(writer.c_str(), commandLine.data(), FALSE, 0, nullptr, nullptr, &startup, &process)) break;
    CloseHandle(process.hThread);
    writers.push_back(process.hProcess);
  }
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", nullptr);
  ASSERT_EQ(writers.size(), 8u);
  EXPECT_EQ(WaitForMultipleObjects(8, writers.data(), TRUE, 120000), WAIT_OBJECT_0);
  for (HANDLE process : writers) {
    DWORD exitCode = 1;
    GetExitCodeProcess(process, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process);
  }
  const Records records = harness::readJournal(journal);
  EXPECT_EQ(records.size(), 4000u);
  EXPECT_EQ(std::set<std::string>(records.begin(), records.end()).size(), 4000u);
}

// ---- process endings ----

TEST(ProcessEnd, UnexpectedSlotEndsWith86) {
  const harness::Child child = harness::runChild("unexpected");
  const auto index = offsetof(JNINativeInterface_, MonitorEnter) / sizeof(void*);
  EXPECT_EQ(child.exitCode, 86u);
  EXPECT_EQ(child.journal.back(), "unexpected=" + std::to_string(index));
  EXPECT_NE(child.output.find("test runtime: unexpected JNI function " + std::to_string(index)), std::string::npos);
}

TEST(ProcessEnd, SystemExitCallsTheHook) {
  const harness::Child child = harness::runChild("exit");
  EXPECT_EQ(child.exitCode, 7u);
  EXPECT_TRUE(inOrder(child.journal, {"main=test/Exit", "arg=7", "exit=7", "exit-hook-called=7"}))
      << joinLines(child.journal);
  EXPECT_NE(child.output.find("exit hook 7\n"), std::string::npos) << child.output;
}

// A refused main class ends the process through System.exit(1); an exception
// still pending at the detach is printed as the thread's uncaught one.
TEST(ProcessEnd, AsHotSpotDoes) {
  const struct {
    const char* scenario;
    DWORD exitCode;
    const char* prints;
    Records journal;
  } cases[] = {
      {"refused-main", 1, "Error: Could not find or load main class test.Nope\r\n",
       {"check-and-load-main=test.Nope", "exit=1", "exit-hook-called=1"}},
      // The child's standard error passes through the console's code page.
      {"uncaught", 0, "Exception in thread \"main\" java.lang.IllegalStateException: thrown by test.Throw: Gr",
       {"main=test/Throw"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scenario);
    const harness::Child child = harness::runChild(c.scenario);
    EXPECT_EQ(child.exitCode, c.exitCode) << child.output;
    EXPECT_NE(child.output.find(c.prints), std::string::npos) << child.output;
    EXPECT_TRUE(inOrder(child.journal, c.journal)) << joinLines(child.journal);
  }
}

TEST(ProcessEnd, PrintWritesToTheStandardHandles) {
  const harness::Child child = harness::runChild("print");
  EXPECT_NE(child.output.find("stdout line\r\nstderr line\r\n"), std::string::npos) << child.output;
}

TEST(ProcessEnd, DestroyWaitsForThreads) {
  const auto start = std::chrono::steady_clock::now();
  const harness::Child child = harness::runChild("threaded");
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1400));
  EXPECT_TRUE(inOrder(child.journal, {"main=test/Threaded", "destroy=" + harness::value(child.journal, "create-thread"),
                                      "thread-end", "destroy-done"}))
      << joinLines(child.journal);
}

TEST(Variants, LackWhatTheirNamesSay) {
  const harness::Child child = harness::runChild("variants");
  EXPECT_EQ(child.exitCode, 0u) << child.output;
}

// ---- one VM in this process ----

TEST(Exports, DefaultArgsLeaveTheJavaStackSizeAsHotSpotOnWindowsDoes) {
  Jdk11InitArgs args{};
  args.version = JNI_VERSION_1_1;
  args.javaStackSize = 12345;
  runtime();
  const JournalTail tail;
  EXPECT_EQ(runtime().defaultArgs(&args), JNI_OK);
  EXPECT_EQ(args.javaStackSize, 12345);
  EXPECT_EQ(tail.records(), Records{"default-args=0x00010001"});
}

TEST(Exports, BootFinderKnowsOnlyRuntimeClasses) {
  JNIEnv* env = sharedEnv();
  EXPECT_NE(runtime().bootFinder(env, "sun/launcher/LauncherHelper"), nullptr);
  EXPECT_EQ(runtime().bootFinder(env, "test/Echo"), nullptr);
  EXPECT_FALSE(env->ExceptionCheck());
}

TEST(Classes, FindClassOfKnownAndUnknownNames) {
  JNIEnv* env = sharedEnv();
  for (const char* known : {"java/lang/String", "java/lang/System", "test/Echo", "com/example/App", "test/NoMain"}) {
    EXPECT_NE(env->FindClass(known), nullptr) << known;
    EXPECT_FALSE(env->ExceptionCheck()) << known;
  }
  for (const char* unknown : {"test/Missing", "java.lang.String", ""}) {
    const JournalTail tail;
    EXPECT_EQ(env->FindClass(unknown), nullptr) << unknown;
    EXPECT_EQ(pendingClass(env), "java/lang/NoClassDefFoundError") << unknown;
    EXPECT_EQ(tail.records().front(), std::string("find-class=") + unknown);
  }
}

TEST(Classes, MissingMethodsLeaveNoSuchMethodError) {
  JNIEnv* env = sharedEnv();
  const JournalTail tail;
  EXPECT_EQ(env->GetStaticMethodID(env->FindClass("test/NoMain"), "main", "([Ljava/lang/String;)V"), nullptr);
  EXPECT_EQ(pendingClass(env), "java/lang/NoSuchMethodError");
  EXPECT_TRUE(inOrder(tail.records(), {"static-method=test/NoMain.main([Ljava/lang/String;)V"}));
  EXPECT_EQ(env->GetMethodID(env->FindClass("test/Echo"), "main", "([Ljava/lang/String;)V"), nullptr);
  EXPECT_EQ(pendingClass(env), "java/lang/NoSuchMethodError");
}

enum class Form { Variadic, List, Array };

void callEcho(JNIEnv* env, Form form, jclass cls, jmethodID main, jobjectArray args, ...) {
  va_list list;
  va_start(list, args);
  const jvalue values[] = {{.l = args}};
  switch (form) {
    case Form::Variadic: env->CallStaticVoidMethod(cls, main, args); break;
    case Form::List: env->CallStaticVoidMethodV(cls, main, list); break;
    case Form::Array: env->CallStaticVoidMethodA(cls, main, values); break;
  }
  va_end(list);
}

TEST(Calls, EchoArgumentsRoundTripInEveryForm) {
  JNIEnv* env = sharedEnv();
  jclass echo = env->FindClass("test/Echo");
  jmethodID main = env->GetStaticMethodID(echo, "main", "([Ljava/lang/String;)V");
  const std::wstring out = harness::scratchFolder(L"echo") + L"\\out.txt";
  jstring path = env->NewString(reinterpret_cast<const jchar*>(out.c_str()), static_cast<jsize>(out.size()));
  jclass file = env->FindClass("java/io/FileOutputStream");
  setSystemStream(env, "setOut",
                  newPrintStream(env, env->NewObject(file, env->GetMethodID(file, "<init>", "(Ljava/lang/String;Z)V"),
                                                     path, JNI_FALSE)));
  for (Form form : {Form::Variadic, Form::List, Form::Array}) {
    jobjectArray args = harness::stringArray(env, {"plain", "", "\xC3\xA9\xF0\x9F\x98\x80", "a b"});
    const JournalTail tail;
    callEcho(env, form, echo, main, args, args);
    EXPECT_FALSE(env->ExceptionCheck());
    EXPECT_EQ(tail.records(), (Records{"main=test/Echo", "argc=4", "arg=plain", "arg16=0070 006c 0061 0069 006e",
                                       "arg=", "arg16=", "arg=\xC3\xA9\xF0\x9F\x98\x80", "arg16=00e9 d83d de00",
                                       "arg=a b", "arg16=0061 0020 0062"}));
  }
  const std::string line = "plain\r\n\r\n\xC3\xA9\xF0\x9F\x98\x80\r\na b\r\n";
  EXPECT_EQ(harness::readFile(out), line + line + line);
}

TEST(Streams, FileOutputStreamTruncatesOrAppends) {
  JNIEnv* env = sharedEnv();
  const std::wstring out = harness::scratchFolder(L"redirect") + L"\\out.txt";
  jstring path = env->NewString(reinterpret_cast<const jchar*>(out.c_str()), static_cast<jsize>(out.size()));
  jclass file = env->FindClass("java/io/FileOutputStream");
  jmethodID open = env->GetMethodID(file, "<init>", "(Ljava/lang/String;Z)V");
  const struct {
    jboolean append;
    const char* arg;
    const char* expected;
  } steps[] = {{JNI_FALSE, "one", "one\r\n"}, {JNI_FALSE, "two", "two\r\n"}, {JNI_TRUE, "three", "two\r\nthree\r\n"}};
  for (const auto& step : steps) {
    setSystemStream(env, "setOut", newPrintStream(env, env->NewObject(file, open, path, step.append)));
    runMain(env, "com/example/App", {step.arg});
    EXPECT_EQ(harness::readFile(out), step.expected);
  }
  const std::wstring bad = L"Z:\\no\\such\\folder\\out.txt";
  jstring badPath = env->NewString(reinterpret_cast<const jchar*>(bad.c_str()), static_cast<jsize>(bad.size()));
  EXPECT_EQ(env->NewObject(file, open, badPath, JNI_FALSE), nullptr);
  EXPECT_EQ(pendingClass(env), "java/io/FileNotFoundException");
}

TEST(Exceptions, PrintStackTraceIntoAByteStream) {
  JNIEnv* env = sharedEnv();
  runMain(env, "test/Throw", {});
  jthrowable thrown = env->ExceptionOccurred();
  ASSERT_NE(thrown, nullptr);
  env->ExceptionClear();
  EXPECT_TRUE(env->IsInstanceOf(thrown, env->FindClass("java/lang/IllegalStateException")));
  jobject bytes = newByteStream(env);
  env->CallVoidMethod(thrown, env->GetMethodID(env->GetObjectClass(thrown), "printStackTrace", "(Ljava/io/PrintStream;)V"),
                      newPrintStream(env, bytes));
  EXPECT_EQ(byteStreamText(env, bytes),
            TEST_THROW_TEXT "\r\n\tat test.Throw.main(Unknown Source)\r\n");
}

TEST(Exceptions, DescribeAndLauncherHelperWriteToSystemErr) {
  JNIEnv* env = sharedEnv();
  jobject bytes = newByteStream(env);
  setSystemStream(env, "setErr", newPrintStream(env, bytes));
  runMain(env, "test/Throw", {});
  env->ExceptionDescribe();
  EXPECT_FALSE(env->ExceptionCheck());

  jclass helper = env->FindClass("sun/launcher/LauncherHelper");
  jmethodID check = env->GetStaticMethodID(helper, "checkAndLoadMain", "(ZILjava/lang/String;)Ljava/lang/Class;");
  EXPECT_TRUE(env->IsSameObject(env->CallStaticObjectMethod(helper, check, JNI_TRUE, 1, env->NewStringUTF("test.Echo")),
                                env->FindClass("test/Echo")));
  EXPECT_EQ(byteStreamText(env, bytes),
            "Exception in thread \"main\" " TEST_THROW_TEXT "\r\n\tat test.Throw.main(Unknown Source)\r\n");
}

TEST(Strings, ModifiedUtf8BothWays) {
  JNIEnv* env = sharedEnv();
  jstring nul = env->NewStringUTF("\xC0\x80");
  EXPECT_EQ(env->GetStringLength(nul), 1);
  const jchar pair[] = {0xD83D, 0xDE00};
  jstring emoji = env->NewString(pair, 2);
  EXPECT_EQ(harness::utf8(env, emoji), "\xED\xA0\xBD\xED\xB8\x80");
  EXPECT_EQ(env->GetStringUTFLength(emoji), 6);

  jclass string = env->FindClass("java/lang/String");
  jcharArray chars = env->NewCharArray(2);
  const jchar hi[] = {'h', 'i'};
  env->SetCharArrayRegion(chars, 0, 2, hi);
  EXPECT_EQ(env->GetArrayLength(chars), 2);
  EXPECT_EQ(harness::utf8(env, static_cast<jstring>(env->NewObject(string, env->GetMethodID(string, "<init>", "([C)V"), chars))),
            "hi");
  env->SetCharArrayRegion(chars, 1, 2, hi);
  EXPECT_EQ(pendingClass(env), "java/lang/ArrayIndexOutOfBoundsException");
}

TEST(Calls, SecondaryMainsOnTheCallingThread) {
  JNIEnv* env = sharedEnv();
  const JournalTail tail;
  jclass plain = env->FindClass("test/Secondary");
  env->CallStaticVoidMethod(plain, env->GetStaticMethodID(plain, "secondaryMain", "([Ljava/lang/String;)V"),
                            harness::stringArray(env, {"a", "b"}));
  jclass counted = env->FindClass("test/SecondaryInt");
  EXPECT_EQ(env->CallStaticIntMethod(counted, env->GetStaticMethodID(counted, "secondaryMain", "([Ljava/lang/String;)I"),
                                     harness::stringArray(env, {"x", "y"})),
            42);
  const std::string thread = "secondary-thread=" + std::to_string(GetCurrentThreadId());
  EXPECT_TRUE(inOrder(tail.records(), {"secondary=a|b", thread, "secondary=x|y", thread}));
}

DWORD WINAPI attachAndDetach(void*) {
  JNIEnv* env = nullptr;
  if (sharedVm->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_8) != JNI_EDETACHED) return 1;
  if (sharedVm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr) != JNI_OK || env == sharedEnv()) return 2;
  if (!env->FindClass("test/Echo")) return 3;
  if (sharedVm->DetachCurrentThread() != JNI_OK) return 4;
  return sharedVm->DetachCurrentThread() == JNI_EDETACHED ? 0 : 5;
}

TEST(Threads, AttachAndDetach) {
  sharedEnv();
  const JournalTail tail;
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, &attachAndDetach, nullptr, 0, &id);
  WaitForSingleObject(thread, INFINITE);
  DWORD result = 99;
  GetExitCodeThread(thread, &result);
  CloseHandle(thread);
  EXPECT_EQ(result, 0u);
  const std::string tid = std::to_string(id);
  EXPECT_TRUE(inOrder(tail.records(), {"attach=" + tid, "detach=" + tid, "detach-unattached=" + tid}))
      << joinLines(tail.records());
  JNIEnv* again = nullptr;
  EXPECT_EQ(sharedVm->GetEnv(reinterpret_cast<void**>(&again), JNI_VERSION_1_8), JNI_OK);
  EXPECT_EQ(again, sharedEnv());
}

TEST(Splash, JournalsItsCallsInOrder) {
  runtime();  // sets the journal
  HMODULE splash = LoadLibraryW(harness::runtimePath(L"bin\\splashscreen.dll").c_str());
  ASSERT_NE(splash, nullptr);
  auto init = harness::procedure<void (*)()>(splash, "SplashInit");
  auto loadFile = harness::procedure<int (*)(const char*)>(splash, "SplashLoadFile");
  auto jarName = harness::procedure<void (*)(const char*, const char*)>(splash, "SplashSetFileJarName");
  auto close = harness::procedure<void (*)()>(splash, "SplashClose");
  ASSERT_TRUE(init && loadFile && jarName && close);
  const JournalTail tail;
  init();
  loadFile("C:\\app\\splash.png");
  jarName("C:\\app\\splash.png", "");
  close();
  EXPECT_EQ(tail.records(), (Records{"splash-init", "splash-load-file=C:\\app\\splash.png",
                                     "splash-jar-file=C:\\app\\splash.png", "splash-jar-name=", "splash-close"}));
}

}  // namespace
