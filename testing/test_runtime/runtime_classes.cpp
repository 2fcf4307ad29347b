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
  HANDLE file = CreateFileW(toWide(path->text).c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE,
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

// As the JDK's launcher class up to Java 24: a class it cannot load, or one
// without static main(String[]), is refused on standard error and the
// process ends through System.exit(1).
jvalue checkAndLoadMain(Thread& thread, Object*, const jvalue* args) {
  StringObject* name = asString(args[2]);
  if (!name) {
    thread.raise("java/lang/NullPointerException", u"", "sun.launcher.LauncherHelper.checkAndLoadMain");
    return noValue();
  }
  const std::string dotted = toUtf8(name->text);
  journal("check-and-load-main", dotted);
  std::string internal = dotted;
  for (char& c : internal) {
    if (c == '.') c = '/';
  }
  Class* found = findClass(internal);
  if (found && found->find("main", "([Ljava/lang/String;)V", true)) return objectValue(found);
  if (found) {
    printLine(systemErr(), "Error: Main method not found in class " + dotted +
                               ", please define the main method as:\r\n   public static void main(String[] args)");
  } else {
    printLine(systemErr(), "Error: Could not find or load main class " + dotted);
    printLine(systemErr(), "Caused by: java.lang.ClassNotFoundException: " + dotted);
  }
  exitRuntime(1);
}

void defineThrowables(ClassTable& table) {
  table.define("java/lang/Throwable", "java/lang/Object", &allocate<ThrowableObject>,
               {{"<init>", "()V", false, &noOperation},
                {"<init>", "(Ljava/lang/String;)V", false, &throwableWithMessage},
                {"printStackTrace", "(Ljava/io/PrintStream;)V", false, &throwablePrintTo},
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
  defineThrowables(table);
  defineShutdownClasses(table);
  table.define("sun/launcher/LauncherHelper", "java/lang/Object", nullptr,
               {{"checkAndLoadMain", "(ZILjava/lang/String;)Ljava/lang/Class;", true, &checkAndLoadMain}});
}

}  // namespace test_runtime
