// The runtime classes the launcher uses, with their real names and signatures.
#include "runtime_classes.h"

#include <cstdlib>

#include "journal.h"
#include "runtime_state.h"
#include "shutdown.h"
#include "streams.h"
#include "text.h"
#include "thread.h"

namespace test_runtime {
namespace {

StringObject* asString(const jvalue& value) { return dynamic_cast<StringObject*>(objectArg(value)); }

jvalue stringFromChars(Thread& thread, Object* self, const jvalue* args) {
  auto* chars = dynamic_cast<CharArray*>(objectArg(args[0]));
  if (!chars) {
    thread.raise("java/lang/NullPointerException", u"", "java.lang.String.<init>");
    return noValue();
  }
  static_cast<StringObject*>(self)->text.assign(chars->items.begin(), chars->items.end());
  return noValue();
}

jvalue systemExit(Thread&, Object*, const jvalue* args) { exitRuntime(args[0].i); }

}  // namespace

void exitRuntime(jint status) {
  journal("exit", static_cast<long long>(status));
  shutDown();
  if (ExitHook hook = runtimeState.exitHook.load()) {
    journal("exit-hook-called", static_cast<long long>(status));
    hook(status);
  }
  ExitProcess(static_cast<UINT>(status));
}

namespace {

// As HotSpot's console handler: Ctrl+C is SIGINT and closing the console
// SIGTERM, both ending the VM through its shutdown with 128 + the signal;
// Ctrl+Break prints the threads and goes on.
BOOL WINAPI consoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
      journal("console-event", "ctrl-c");
      exitRuntime(130);
    case CTRL_BREAK_EVENT:
      journal("console-event", "ctrl-break");
      printLine(systemOut(), "Full thread dump");
      return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      journal("console-event", "close");
      exitRuntime(143);
    default:
      return FALSE;
  }
}

}  // namespace

void handleConsoleEvents() { SetConsoleCtrlHandler(consoleEvent, TRUE); }

namespace {

jvalue systemSetOut(Thread&, Object*, const jvalue* args) {
  setSystemOut(dynamic_cast<OutputStreamObject*>(objectArg(args[0])));
  return noValue();
}

jvalue systemSetErr(Thread&, Object*, const jvalue* args) {
  setSystemErr(dynamic_cast<OutputStreamObject*>(objectArg(args[0])));
  return noValue();
}

jvalue parseInt(Thread& thread, Object*, const jvalue* args) {
  StringObject* text = asString(args[0]);
  const std::string digits = text ? toUtf8(text->text) : "";
  char* end = nullptr;
  const long number = std::strtol(digits.c_str(), &end, 10);
  if (digits.empty() || *end != '\0') {
    thread.raise("java/lang/NumberFormatException", u"For input string: \"" + (text ? text->text : u"null") + u"\"",
                 "java.lang.Integer.parseInt");
    return noValue();
  }
  return intValue(static_cast<jint>(number));
}

jvalue fileStreamOpen(Thread& thread, Object* self, const jvalue* args) {
  StringObject* path = asString(args[0]);
  if (!path) {
    thread.raise("java/lang/NullPointerException", u"", "java.io.FileOutputStream.<init>");
    return noValue();
  }
  const bool append = args[1].z != JNI_FALSE;
  // As the JDK opens files: a long drive path in its \\?\ form.
  std::wstring name = toWide(path->text);
  if (name.size() >= 248 && name.size() > 2 && name[1] == L':') name = L"\\\\?\\" + name;
  HANDLE file = CreateFileW(name.c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const std::string reason = " (Windows error " + std::to_string(GetLastError()) + ")";
    thread.raise("java/io/FileNotFoundException", path->text + fromAscii(reason), "java.io.FileOutputStream.<init>");
    return noValue();
  }
  static_cast<FileOutputStreamObject*>(self)->handle = file;
  return noValue();
}

jvalue noOperation(Thread&, Object*, const jvalue*) { return noValue(); }

jvalue bytesToString(Thread&, Object* self, const jvalue*) {
  const std::string& bytes = static_cast<ByteArrayOutputStreamObject*>(self)->bytes;
  return objectValue(newString(decodeModifiedUtf8(bytes)));
}

jvalue printStreamOpen(Thread& thread, Object* self, const jvalue* args) {
  auto* target = dynamic_cast<OutputStreamObject*>(objectArg(args[0]));
  if (!target) {
    thread.raise("java/lang/NullPointerException", u"", "java.io.PrintStream.<init>");
    return noValue();
  }
  static_cast<PrintStreamObject*>(self)->target = target;
  return noValue();
}

jvalue printStreamPrintln(Thread&, Object* self, const jvalue* args) {
  StringObject* text = asString(args[0]);
  printLine(static_cast<PrintStreamObject*>(self), text ? toUtf8(text->text) : "null");
  return noValue();
}

jvalue throwableWithMessage(Thread&, Object* self, const jvalue* args) {
  auto* exception = static_cast<ThrowableObject*>(self);
  if (StringObject* message = asString(args[0])) {
    exception->hasMessage = true;
    exception->message = message->text;
  }
  return noValue();
}

jvalue throwablePrintTo(Thread& thread, Object* self, const jvalue* args) {
  auto* stream = dynamic_cast<OutputStreamObject*>(objectArg(args[0]));
  if (!stream) {
    thread.raise("java/lang/NullPointerException", u"", "java.lang.Throwable.printStackTrace");
    return noValue();
  }
  printStackTrace(*static_cast<ThrowableObject*>(self), stream);
  return noValue();
}

jvalue throwablePrint(Thread&, Object* self, const jvalue*) {
  printStackTrace(*static_cast<ThrowableObject*>(self), systemErr());
  return noValue();
}

jvalue throwableMessage(Thread&, Object* self, const jvalue*) {
  auto* exception = static_cast<ThrowableObject*>(self);
  return exception->hasMessage ? objectValue(newString(exception->message)) : objectValue(nullptr);
}

jvalue throwableText(Thread&, Object* self, const jvalue*) {
  return objectValue(newString(decodeModifiedUtf8(describe(*static_cast<ThrowableObject*>(self)))));
}

// The module whose descriptor names its main class (the only one the
// stand-in knows), and that class.
constexpr char kModuleWithMainClass[] = "com.example.app";
constexpr char kModuleMainClass[] = "com.example.App";

[[noreturn]] void refuseLaunch(const std::string& message) {
  printLine(systemErr(), message);
  exitRuntime(1);
}

// The value of the manifest's Main-Class, or why the jar has none in the
// JDK's words. The stand-in reads stored (uncompressed) manifests only.
std::string jarMainClass(const std::u16string& path) {
  const std::string jar = toUtf8(path);
  HANDLE file = CreateFileW(toWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  const std::string unreadable = "Error: An unexpected error occurred while trying to open file " + jar;
  if (file == INVALID_HANDLE_VALUE) refuseLaunch(unreadable);
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  // A zip ends with its end record.
  if (bytes.find("PK\x05\x06") == std::string::npos) refuseLaunch(unreadable);
  const size_t manifest = bytes.find("META-INF/MANIFEST.MF");
  if (manifest == std::string::npos) refuseLaunch("manifest not found in " + jar);
  constexpr std::string_view key = "\nMain-Class: ";
  const size_t at = bytes.find(key, manifest);
  if (at == std::string::npos) refuseLaunch("no main manifest attribute, in " + jar);
  const size_t start = at + key.size();
  return bytes.substr(start, bytes.find_first_of("\r\n", start) - start);
}

// Whether an entry of a path option exists on disk. HotSpot decodes the
// option's bytes with the process code page and opens each entry, so a class
// loads only from an entry that exists: a "?" for a character the page lacks
// names nothing. The stand-in's classes are in every entry that exists.
bool anyEntryExists(const std::string& paths) {
  for (size_t start = 0; start <= paths.size();) {
    size_t end = paths.find(';', start);
    if (end == std::string::npos) end = paths.size();
    const std::string entry = paths.substr(start, end - start);
    // An empty entry, or no class path at all, is the current directory.
    if (entry.empty()) return true;
    const int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, entry.data(), static_cast<int>(entry.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, entry.data(), static_cast<int>(entry.size()), wide.data(), length);
    if (length > 0 && GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    start = end + 1;
  }
  return false;
}

// As the JDK's launcher class up to Java 24, in its three modes: a class (1),
// a jar's Main-Class (2), a module's class or its own main class (3). A
// class it cannot load, or one without static main(String[]), is refused on
// standard error and the process ends through System.exit(1); a module that
// is not the boot layer's main module is an InternalError.
jvalue checkAndLoadMain(Thread& thread, Object*, const jvalue* args) {
  StringObject* name = asString(args[2]);
  if (!name) {
    thread.raise("java/lang/NullPointerException", u"", "sun.launcher.LauncherHelper.checkAndLoadMain");
    return noValue();
  }
  const jint mode = args[1].i;
  const std::string text = toUtf8(name->text);
  journal("check-and-load-main", text);
  journal("check-and-load-mode", static_cast<long long>(mode));
  std::string dotted = text;
  std::string inModule;  // how a module launch's messages name the module
  if (mode == 2) dotted = jarMainClass(name->text);
  if (mode == 3) {
    const size_t slash = text.find('/');
    const std::string module = text.substr(0, slash);
    inModule = " in module " + module;
    if (module != runtimeState.mainModule) {
      thread.raise("java/lang/InternalError", fromAscii("Module " + module + " not in boot Layer"),
                   "sun.launcher.LauncherHelper.loadModuleMainClass");
      return noValue();
    }
    if (slash != std::string::npos) {
      dotted = text.substr(slash + 1);
    } else if (module == kModuleWithMainClass) {
      dotted = kModuleMainClass;
    } else {
      refuseLaunch("module " + module + " does not have a ModuleMainClass attribute, use -m <module>/<main-class>");
    }
  }
  std::string internal = dotted;
  for (char& c : internal) {
    if (c == '.') c = '/';
  }
  const bool reachable = mode == 2 || (mode == 3 ? !runtimeState.modulePath.empty() && anyEntryExists(runtimeState.modulePath)
                                                  : anyEntryExists(runtimeState.classPath));
  Class* found = reachable ? findClass(internal) : nullptr;
  if (found && found->find("main", "([Ljava/lang/String;)V", true)) return objectValue(found);
  if (found) {
    refuseLaunch("Error: Main method not found in class " + dotted +
                 ", please define the main method as:\r\n   public static void main(String[] args)");
  }
  printLine(systemErr(), "Error: Could not find or load main class " + dotted + inModule);
  if (mode == 3) exitRuntime(1);
  refuseLaunch("Caused by: java.lang.ClassNotFoundException: " + dotted);
}

void defineThrowables(ClassTable& table) {
  table.define("java/lang/Throwable", "java/lang/Object", &allocate<ThrowableObject>,
               {{"<init>", "()V", false, &noOperation},
                {"<init>", "(Ljava/lang/String;)V", false, &throwableWithMessage},
                {"printStackTrace", "(Ljava/io/PrintStream;)V", false, &throwablePrintTo},
                {"printStackTrace", "(Ljava/io/PrintWriter;)V", false, &throwablePrintTo},
                {"printStackTrace", "()V", false, &throwablePrint},
                {"getMessage", "()Ljava/lang/String;", false, &throwableMessage},
                {"toString", "()Ljava/lang/String;", false, &throwableText}});
  // Subclasses inherit the methods; constructors are their own.
  const std::vector<MethodDef> constructors = {{"<init>", "()V", false, &noOperation},
                                               {"<init>", "(Ljava/lang/String;)V", false, &throwableWithMessage}};
  const char* const hierarchy[][2] = {
      {"java/lang/Exception", "java/lang/Throwable"},
      {"java/lang/RuntimeException", "java/lang/Exception"},
      {"java/lang/IllegalStateException", "java/lang/RuntimeException"},
      {"java/lang/IllegalArgumentException", "java/lang/RuntimeException"},
      {"java/lang/NumberFormatException", "java/lang/IllegalArgumentException"},
      {"java/lang/NullPointerException", "java/lang/RuntimeException"},
      {"java/lang/IndexOutOfBoundsException", "java/lang/RuntimeException"},
      {"java/lang/ArrayIndexOutOfBoundsException", "java/lang/IndexOutOfBoundsException"},
      {"java/lang/NegativeArraySizeException", "java/lang/RuntimeException"},
      {"java/lang/ReflectiveOperationException", "java/lang/Exception"},
      {"java/lang/ClassNotFoundException", "java/lang/ReflectiveOperationException"},
      {"java/lang/InstantiationException", "java/lang/ReflectiveOperationException"},
      {"java/io/IOException", "java/lang/Exception"},
      {"java/io/FileNotFoundException", "java/io/IOException"},
      {"java/lang/Error", "java/lang/Throwable"},
      {"java/lang/VirtualMachineError", "java/lang/Error"},
      {"java/lang/InternalError", "java/lang/VirtualMachineError"},
      {"java/lang/LinkageError", "java/lang/Error"},
      {"java/lang/NoClassDefFoundError", "java/lang/LinkageError"},
      {"java/lang/IncompatibleClassChangeError", "java/lang/LinkageError"},
      {"java/lang/NoSuchMethodError", "java/lang/IncompatibleClassChangeError"},
      {"java/lang/NoSuchFieldError", "java/lang/IncompatibleClassChangeError"},
      {"java/lang/ClassFormatError", "java/lang/LinkageError"},
      {"java/lang/UnsupportedClassVersionError", "java/lang/ClassFormatError"},
      {"java/lang/UnsatisfiedLinkError", "java/lang/LinkageError"},
  };
  for (const auto& entry : hierarchy) table.define(entry[0], entry[1], nullptr, constructors);
}

}  // namespace

std::string describe(const ThrowableObject& exception) {
  std::string text = exception.cls->dottedName();
  if (exception.hasMessage) text += ": " + toUtf8(exception.message);
  return text;
}

void printStackTrace(const ThrowableObject& exception, OutputStreamObject* stream, const std::string& prefix) {
  printLine(stream, prefix + describe(exception));
  if (!exception.origin.empty()) printLine(stream, "\tat " + exception.origin + "(Unknown Source)");
}

void defineRuntimeClasses(ClassTable& table) {
  Class* object = table.define("java/lang/Object", nullptr, &allocate<Object>, {{"<init>", "()V", false, &noOperation}});
  Class* classClass = table.define("java/lang/Class", "java/lang/Object", nullptr, {});
  object->cls = classClass;
  classClass->cls = classClass;
  table.define("java/lang/String", "java/lang/Object", &allocate<StringObject>,
               {{"<init>", "([C)V", false, &stringFromChars}});
  table.define("java/lang/System", "java/lang/Object", nullptr,
               {{"exit", "(I)V", true, &systemExit},
                {"setOut", "(Ljava/io/PrintStream;)V", true, &systemSetOut},
                {"setErr", "(Ljava/io/PrintStream;)V", true, &systemSetErr}});
  table.define("java/lang/Integer", "java/lang/Object", nullptr,
               {{"parseInt", "(Ljava/lang/String;)I", true, &parseInt}});
  table.define("java/io/OutputStream", "java/lang/Object", nullptr, {});
  table.define("java/io/FileOutputStream", "java/io/OutputStream", &allocate<FileOutputStreamObject>,
               {{"<init>", "(Ljava/lang/String;Z)V", false, &fileStreamOpen}});
  table.define("java/io/ByteArrayOutputStream", "java/io/OutputStream", &allocate<ByteArrayOutputStreamObject>,
               {{"<init>", "()V", false, &noOperation}, {"toString", "()Ljava/lang/String;", false, &bytesToString}});
  table.define("java/io/PrintStream", "java/io/OutputStream", &allocate<PrintStreamObject>,
               {{"<init>", "(Ljava/io/OutputStream;)V", false, &printStreamOpen},
                {"println", "(Ljava/lang/String;)V", false, &printStreamPrintln}});
  // Characters, not bytes: the stand-in keeps them in modified UTF-8, which
  // loses nothing, as Java's writers lose nothing.
  table.define("java/io/Writer", "java/lang/Object", nullptr, {});
  table.define("java/io/StringWriter", "java/io/Writer", &allocate<ByteArrayOutputStreamObject>,
               {{"<init>", "()V", false, &noOperation}, {"toString", "()Ljava/lang/String;", false, &bytesToString}});
  table.define("java/io/PrintWriter", "java/io/Writer", &allocate<PrintStreamObject>,
               {{"<init>", "(Ljava/io/Writer;)V", false, &printStreamOpen}, {"flush", "()V", false, &noOperation}});
  defineThrowables(table);
  defineShutdownClasses(table);
  table.define("sun/launcher/LauncherHelper", "java/lang/Object", nullptr,
               {{"checkAndLoadMain", "(ZILjava/lang/String;)Ljava/lang/Class;", true, &checkAndLoadMain}});
}

}  // namespace test_runtime
