#include "vm/java_session.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

#include "common/c_format.h"
#include "resources/resource_ids.h"
#include "vm/jni_init_args_1_1.h"

namespace {

// Set while the runtime's launcher class checks the main class: it rejects a
// class by printing why and calling System.exit(1), and the launcher's
// promise for that case is its own message and -1.
struct MainClassCheck {
  JavaHost* host;
  String name;
};
std::atomic<const MainClassCheck*> mainClassCheck{nullptr};

// The VM calls the exit hook before it ends the process (and ends it itself
// when the hook returns), the abort hook when it aborts.
void JNICALL exitHook(jint) {
  if (const MainClassCheck* check = mainClassCheck.exchange(nullptr)) {
    check->host->report({IDS_MAIN_CLASS_LOAD_FAILED, 0, {check->name}});
    check->host->endProcess(-1);
  }
}
void JNICALL abortHook() {}

// A lock for the few moments the print hook holds it; a spin lock needs no
// thread library in the executable.
class SpinLock {
 public:
  void lock() {
    while (flag_.test_and_set(std::memory_order_acquire)) {
    }
  }
  void unlock() { flag_.clear(std::memory_order_release); }

 private:
  std::atomic_flag flag_ = ATOMIC_FLAG_INIT;
};

class SpinGuard {
 public:
  explicit SpinGuard(SpinLock& lock) : lock_(lock) { lock_.lock(); }
  ~SpinGuard() { lock_.unlock(); }
  SpinGuard(const SpinGuard&) = delete;
  SpinGuard& operator=(const SpinGuard&) = delete;

 private:
  SpinLock& lock_;
};

// What the VM prints while it is being created. The hook has no context of
// its own; there is one VM per process.
struct CreationPrint {
  SpinLock lock;
  bool active = false;
  std::string kept;
  VmFatalReport fatal;
};
// At namespace scope, so that it is set up before main on the main thread:
// the Java thread is the first to use it.
CreationPrint creationPrintState;
CreationPrint& creationPrint() { return creationPrintState; }

constexpr char kInitializationError[] = "Error occurred during initialization of VM\n";

// True once the header and the complete line after it have arrived.
bool saysFatal(const std::string& text) {
  const size_t header = text.find(kInitializationError);
  if (header == std::string::npos) return false;
  const size_t reason = header + sizeof kInitializationError - 1;
  return text.find('\n', reason) != std::string::npos;
}

jint JNICALL vfprintfHook(FILE*, const char* format, va_list args) {
  const std::string text = vformatC(format, args);
  const jint length = static_cast<jint>(text.size());
  // Where the VM would have written it, and in its words.
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);

  CreationPrint& print = creationPrint();
  VmFatalReport fatal;
  std::string said;
  {
    SpinGuard guard(print.lock);
    if (!print.active) return length;
    print.kept += text;
    if (print.kept.size() > kVmPrintLimit) print.kept.erase(0, print.kept.size() - kVmPrintLimit);
    if (print.fatal && saysFatal(print.kept)) {
      print.active = false;
      fatal = print.fatal;
      said = print.kept;
    }
  }
  if (fatal) fatal(said);
  return length;
}

template <typename Function>
void* hookPointer(Function function) {
  return reinterpret_cast<void*>(function);
}

}  // namespace

jstring newJavaString(JNIEnv* env, StringView text) {
  jclass stringClass = env->FindClass("java/lang/String");
  if (!stringClass) return nullptr;
  jmethodID constructor = env->GetMethodID(stringClass, "<init>", "([C)V");
  if (!constructor) return nullptr;
  auto length = static_cast<jsize>(text.size());
  jcharArray chars = env->NewCharArray(length);
  if (!chars) return nullptr;
  env->SetCharArrayRegion(chars, 0, length, reinterpret_cast<const jchar*>(text.data()));
  jstring result = nullptr;
  if (!env->ExceptionOccurred()) result = static_cast<jstring>(env->NewObject(stringClass, constructor, chars));
  env->DeleteLocalRef(chars);
  return result;
}

jobjectArray newStringArray(JNIEnv* env, const StringList& texts) {
  jclass stringClass = env->FindClass("java/lang/String");
  if (!stringClass) return nullptr;
  jobjectArray array = env->NewObjectArray(static_cast<jsize>(texts.size()), stringClass, nullptr);
  if (!array) return nullptr;
  for (size_t i = 0; i < texts.size(); ++i) {
    jstring element = newJavaString(env, texts[i]);
    if (!element) return nullptr;
    env->SetObjectArrayElement(array, static_cast<jsize>(i), element);
    env->DeleteLocalRef(element);
  }
  return array;
}

jint createVmWithHooks(CreateJavaVmEntry create, const std::vector<std::string>& options, JavaVM** vm, JNIEnv** env,
                       std::string* printed, const VmFatalReport& fatal) {
  std::vector<std::string> texts{"vfprintf"};
  texts.insert(texts.end(), options.begin(), options.end());
  texts.push_back("abort");
  texts.push_back("exit");
  std::vector<JavaVMOption> array(texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    array[i].optionString = texts[i].data();
    array[i].extraInfo = nullptr;
  }
  array.front().extraInfo = hookPointer(vfprintfHook);
  array[texts.size() - 2].extraInfo = hookPointer(abortHook);
  array[texts.size() - 1].extraInfo = hookPointer(exitHook);

  JavaVMInitArgs args{};
  args.version = JNI_VERSION_1_2;
  args.nOptions = static_cast<jint>(array.size());
  args.options = array.data();
  args.ignoreUnrecognized = JNI_FALSE;
  CreationPrint& print = creationPrint();
  {
    SpinGuard guard(print.lock);
    print.active = true;
    print.kept.clear();
    print.fatal = fatal;
  }
  const jint status = create(vm, reinterpret_cast<void**>(env), &args);
  SpinGuard guard(print.lock);
  print.active = false;
  print.fatal = nullptr;
  if (printed) *printed = std::move(print.kept);
  print.kept.clear();
  return status;
}

unsigned vmCreationReason(jint status) {
  switch (status) {
    case -1: return IDS_JNI_UNKNOWN;
    case -2: return IDS_JNI_DETACHED;
    case -3: return IDS_JNI_VERSION;
    case -4: return IDS_JNI_NO_MEMORY;
    case -5: return IDS_JNI_EXISTS;
    case -6: return IDS_JNI_INVALID_ARGUMENTS;
    default: return 0;
  }
}

uint32_t defaultStackSize(DefaultInitArgsEntry defaults) {
  Jdk11InitArgs args{};
  args.version = JNI_VERSION_1_1;
  defaults(&args);
  return args.javaStackSize > 0 ? static_cast<uint32_t>(args.javaStackSize) : 0;
}

bool redirectJavaStream(JNIEnv* env, StringView file, bool append, JavaStream stream) {
  jstring name = newJavaString(env, file);
  if (!name) return false;
  jclass fileStreamClass = env->FindClass("java/io/FileOutputStream");
  if (!fileStreamClass) return false;
  jmethodID fileStreamInit = env->GetMethodID(fileStreamClass, "<init>", "(Ljava/lang/String;Z)V");
  if (!fileStreamInit) return false;
  jobject fileStream = env->NewObject(fileStreamClass, fileStreamInit, name, static_cast<jboolean>(append));
  if (!fileStream) return false;
  jclass printStreamClass = env->FindClass("java/io/PrintStream");
  if (!printStreamClass) return false;
  jmethodID printStreamInit = env->GetMethodID(printStreamClass, "<init>", "(Ljava/io/OutputStream;)V");
  if (!printStreamInit) return false;
  jobject printStream = env->NewObject(printStreamClass, printStreamInit, fileStream);
  if (!printStream) return false;
  jclass systemClass = env->FindClass("java/lang/System");
  if (!systemClass) return false;
  jmethodID setter = env->GetStaticMethodID(systemClass, stream == JavaStream::Out ? "setOut" : "setErr",
                                            "(Ljava/io/PrintStream;)V");
  if (!setter) return false;
  env->CallStaticVoidMethod(systemClass, setter, printStream);
  if (env->ExceptionOccurred()) {
    env->ExceptionDescribe();
    return false;
  }
  return true;
}

String javaStringText(JNIEnv* env, jstring text) {
  const jsize length = env->GetStringLength(text);
  const jchar* chars = env->GetStringChars(text, nullptr);
  if (!chars) return {};
  String result(reinterpret_cast<const char16_t*>(chars), static_cast<size_t>(length));
  env->ReleaseStringChars(text, chars);
  return result;
}

String stackTraceText(JNIEnv* env, jthrowable thrown) {
  jclass writerClass = env->FindClass("java/io/StringWriter");
  if (!writerClass) return {};
  jmethodID writerInit = env->GetMethodID(writerClass, "<init>", "()V");
  if (!writerInit) return {};
  jobject writer = env->NewObject(writerClass, writerInit);
  if (!writer) return {};
  jclass printWriterClass = env->FindClass("java/io/PrintWriter");
  if (!printWriterClass) return {};
  jmethodID printWriterInit = env->GetMethodID(printWriterClass, "<init>", "(Ljava/io/Writer;)V");
  jmethodID flush = env->GetMethodID(printWriterClass, "flush", "()V");
  if (!printWriterInit || !flush) return {};
  jobject printWriter = env->NewObject(printWriterClass, printWriterInit, writer);
  if (!printWriter) return {};
  jclass thrownClass = env->GetObjectClass(thrown);
  if (!thrownClass) return {};
  jmethodID print = env->GetMethodID(thrownClass, "printStackTrace", "(Ljava/io/PrintWriter;)V");
  if (!print) return {};
  env->CallVoidMethod(thrown, print, printWriter);
  if (env->ExceptionOccurred()) env->ExceptionDescribe();
  env->CallVoidMethod(printWriter, flush);
  if (env->ExceptionOccurred()) env->ExceptionDescribe();

  jmethodID toString = env->GetMethodID(writerClass, "toString", "()Ljava/lang/String;");
  if (!toString) return {};
  auto text = static_cast<jstring>(env->CallObjectMethod(writer, toString));
  if (env->ExceptionOccurred()) env->ExceptionDescribe();
  return text ? javaStringText(env, text) : String();
}

namespace {

// The main method the runtime's launcher class chose. Up to Java 24 it is
// always static main(String[]); since Java 25 it may also take no arguments
// or be an instance method of an object made with the no-argument
// constructor, and the launcher class says which in two static fields.
struct MainForm {
  jclass mainClass = nullptr;
  bool isStatic = true;
  bool takesArguments = true;
  bool asked = false;  // the runtime has the launcher class and was asked
};

// A static boolean of the launcher class, or `absent` when it has none.
bool launcherFlag(JNIEnv* env, jclass helper, const char* name, bool absent) {
  jfieldID field = env->GetStaticFieldID(helper, name, "Z");
  if (!field) {
    env->ExceptionClear();  // NoSuchFieldError: a runtime before Java 25
    return absent;
  }
  return env->GetStaticBooleanField(helper, field) == JNI_TRUE;
}

// The runtime's own launcher class checks and loads the main class in the
// launch's mode, with its messages on standard error: a jar's manifest and a
// module's descriptor apply as with the java command. It rejects a class
// through System.exit(1), which the exit hook turns into the launcher's
// report; older runtimes return null with an exception pending instead.
MainForm loadThroughLauncherHelper(JNIEnv* env, const MainInvocation& call, JavaHost& host) {
  if (!call.findClassFromBootLoader) return {};
  jclass helper = call.findClassFromBootLoader(env, "sun/launcher/LauncherHelper");
  jmethodID check =
      helper ? env->GetStaticMethodID(helper, "checkAndLoadMain", "(ZILjava/lang/String;)Ljava/lang/Class;") : nullptr;
  if (!check) {
    env->ExceptionClear();  // NoSuchMethodError: a runtime with a launcher class of its own
    return {};
  }
  jstring text = newJavaString(env, call.main.text);
  if (!text) return {};
  const MainClassCheck checking{&host, reportedMainName(call.main)};
  mainClassCheck = &checking;
  MainForm form;
  form.asked = true;
  form.mainClass = static_cast<jclass>(
      env->CallStaticObjectMethod(helper, check, JNI_TRUE, static_cast<jint>(call.main.mode), text));
  mainClassCheck = nullptr;
  if (form.mainClass) {
    form.isStatic = launcherFlag(env, helper, "isStaticMain", true);
    form.takesArguments = !launcherFlag(env, helper, "noArgMain", false);
  }
  return form;
}

jclass findMainClass(JNIEnv* env, const MainInvocation& call, JavaHost& host) {
  const String internal = reportedMainName(call.main);
  jstring name = newJavaString(env, internal);
  if (!name) {
    host.report({IDS_MAIN_CLASS_LOAD_FAILED, 0, {internal}});
    return nullptr;
  }
  const char* chars = env->GetStringUTFChars(name, nullptr);
  if (!chars) {
    env->ExceptionDescribe();
    return nullptr;
  }
  jclass found = env->FindClass(chars);
  if (!found) {
    env->ExceptionDescribe();
    host.report({IDS_MAIN_CLASS_NOT_FOUND, 0, {internal}});
    env->ReleaseStringUTFChars(name, chars);
    return nullptr;
  }
  env->ReleaseStringUTFChars(name, chars);
  return found;
}

void stopAfterException(JNIEnv* env) {
  jclass system = env->FindClass("java/lang/System");
  if (!system) return;
  jmethodID exit = env->GetStaticMethodID(system, "exit", "(I)V");
  if (!exit) return;
  env->CallStaticVoidMethod(system, exit, static_cast<jint>(-1));
  if (env->ExceptionOccurred()) env->ExceptionDescribe();
}

// Calls the chosen main; an instance form first makes its object, whose
// constructor throwing counts as main throwing.
void callMain(JNIEnv* env, const MainForm& form, jmethodID main, jmethodID constructor, jobjectArray arguments) {
  if (form.isStatic) {
    if (form.takesArguments) {
      env->CallStaticVoidMethod(form.mainClass, main, arguments);
    } else {
      env->CallStaticVoidMethod(form.mainClass, main);
    }
    return;
  }
  jobject receiver = env->NewObject(form.mainClass, constructor);
  if (!receiver) return;
  if (form.takesArguments) {
    env->CallVoidMethod(receiver, main, arguments);
  } else {
    env->CallVoidMethod(receiver, main);
  }
}

// Everything of invokeMain but the detach: false when main could not be called.
bool runMain(JNIEnv* env, const MainInvocation& call, JavaHost& host) {
  MainForm form = loadThroughLauncherHelper(env, call, host);
  const std::string name = toUtf8(call.main.text);
  if (form.mainClass) {
    host.note("main " + name + " loaded by the runtime's launcher class in mode " +
              std::to_string(static_cast<int>(call.main.mode)));
  } else if (call.main.mode != LaunchMode::Class) {
    // Only the launcher class reads a jar's manifest or a module's descriptor.
    if (form.asked) {
      if (env->ExceptionOccurred()) env->ExceptionDescribe();
      host.report({IDS_MAIN_CLASS_LOAD_FAILED, 0, {call.main.text}});
    } else {
      host.report({IDS_NO_LAUNCHER_CLASS, 0, {call.main.text}});
    }
    return false;
  } else {
    if (form.asked && env->ExceptionOccurred()) env->ExceptionDescribe();  // and clears it for FindClass
    form.mainClass = findMainClass(env, call, host);
    if (!form.mainClass) return false;
    host.note("main class " + name + " found by FindClass");
  }
  host.note(std::string("main form: ") + (form.isStatic ? "static " : "instance ") +
            (form.takesArguments ? "main(String[])" : "main()"));
  const char* signature = form.takesArguments ? "([Ljava/lang/String;)V" : "()V";
  jmethodID main = form.isStatic ? env->GetStaticMethodID(form.mainClass, "main", signature)
                                 : env->GetMethodID(form.mainClass, "main", signature);
  jmethodID constructor = form.isStatic ? nullptr : env->GetMethodID(form.mainClass, "<init>", "()V");
  if (!main || (!form.isStatic && !constructor)) {
    if (env->ExceptionOccurred()) {
      env->ExceptionDescribe();
    } else {
      host.report({IDS_NO_MAIN_METHOD, 0, {}});
    }
    return false;
  }
  jobjectArray arguments = newStringArray(env, call.arguments);
  if (!arguments) {
    env->ExceptionDescribe();
    return false;
  }
  // Held for the process's life: deliveries find the class through it.
  host.mainAboutToRun(static_cast<jclass>(env->NewGlobalRef(form.mainClass)));
  callMain(env, form, main, constructor, arguments);

  if (jthrowable thrown = env->ExceptionOccurred()) {
    host.mainThrew();
    if (call.failureCheck) {
      // Printing the trace calls into the VM, which JNI allows only with no
      // exception pending; after Ignore it is pending again as it was.
      env->ExceptionClear();
      if (host.askStopOnException(env, thrown)) {
        stopAfterException(env);
      } else {
        env->Throw(thrown);
      }
    }
    // Otherwise the exception stays as it is and the run goes on.
  }
  return true;
}

}  // namespace

bool invokeMain(JavaVM* vm, JNIEnv* env, const MainInvocation& call, JavaHost& host) {
  const bool ran = runMain(env, call, host);
  if (ran && call.stayAttached) host.park();
  // Also after a failure: the VM waits for every attached thread at its end.
  const bool detached = vm->DetachCurrentThread() == JNI_OK;
  return ran && detached;
}

namespace {

bool callSecondaryMain(JNIEnv* env, jclass target, const StringList& arguments,
                       const std::function<void(int32_t)>& answer) {
  if (!target) return false;
  bool intForm = false;
  jmethodID method = env->GetStaticMethodID(target, "secondaryMain", "([Ljava/lang/String;)V");
  if (env->ExceptionOccurred()) env->ExceptionClear();
  if (!method) {
    method = env->GetStaticMethodID(target, "secondaryMain", "([Ljava/lang/String;)I");
    intForm = method != nullptr;
  }
  if (!method) {
    if (env->ExceptionOccurred()) env->ExceptionDescribe();
    return false;
  }
  jobjectArray array = newStringArray(env, arguments);
  if (!array) {
    if (env->ExceptionOccurred()) env->ExceptionDescribe();
    return false;
  }
  if (intForm) {
    answer(env->CallStaticIntMethod(target, method, array));
  } else {
    answer(0);
    env->CallStaticVoidMethod(target, method, array);
  }
  if (env->ExceptionOccurred()) {
    env->ExceptionDescribe();
    return false;
  }
  return true;
}

}  // namespace

bool deliverSecondary(JavaVM* vm, jclass mainClass, const StringList& arguments, bool stayAttached,
                      const std::function<void(int32_t)>& answer) {
  if (!vm) return false;
  JNIEnv* env = nullptr;
  if (vm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr) != JNI_OK) return false;
  bool delivered = callSecondaryMain(env, mainClass, arguments, answer);
  if (!stayAttached) vm->DetachCurrentThread();
  return delivered;
}
