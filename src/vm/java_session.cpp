#include "vm/java_session.h"

#include "resources/resource_ids.h"

namespace {

// The VM calls these before it exits or aborts; the launcher has nothing to
// do then, but passing them lets it be told.
void JNICALL exitHook(jint) {}
void JNICALL abortHook() {}

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

jint createVmWithHooks(CreateJavaVmEntry create, const std::vector<std::string>& options, JavaVM** vm, JNIEnv** env) {
  std::vector<std::string> texts = options;
  texts.push_back("abort");
  texts.push_back("exit");
  std::vector<JavaVMOption> array(texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    array[i].optionString = texts[i].data();
    array[i].extraInfo = nullptr;
  }
  array[texts.size() - 2].extraInfo = hookPointer(abortHook);
  array[texts.size() - 1].extraInfo = hookPointer(exitHook);

  JavaVMInitArgs args{};
  args.version = JNI_VERSION_1_2;
  args.nOptions = static_cast<jint>(array.size());
  args.options = array.data();
  args.ignoreUnrecognized = JNI_FALSE;
  return create(vm, reinterpret_cast<void**>(env), &args);
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

String stackTraceText(JNIEnv* env, jthrowable thrown, JavaHost& host) {
  jclass bufferClass = env->FindClass("java/io/ByteArrayOutputStream");
  if (!bufferClass) return {};
  jmethodID bufferInit = env->GetMethodID(bufferClass, "<init>", "()V");
  if (!bufferInit) return {};
  jobject buffer = env->NewObject(bufferClass, bufferInit);
  if (!buffer) return {};
  jclass printStreamClass = env->FindClass("java/io/PrintStream");
  if (!printStreamClass) return {};
  jmethodID printStreamInit = env->GetMethodID(printStreamClass, "<init>", "(Ljava/io/OutputStream;)V");
  if (!printStreamInit) return {};
  jobject printStream = env->NewObject(printStreamClass, printStreamInit, buffer);
  if (!printStream) return {};
  jclass thrownClass = env->GetObjectClass(thrown);
  if (!thrownClass) return {};
  jmethodID print = env->GetMethodID(thrownClass, "printStackTrace", "(Ljava/io/PrintStream;)V");
  if (!print) return {};
  env->CallObjectMethod(thrown, print, printStream);
  if (env->ExceptionOccurred()) env->ExceptionDescribe();

  jclass bufferObjectClass = env->GetObjectClass(buffer);
  if (!bufferObjectClass) return {};
  jmethodID toString = env->GetMethodID(bufferObjectClass, "toString", "()Ljava/lang/String;");
  if (!toString) return {};
  auto text = static_cast<jstring>(env->CallObjectMethod(buffer, toString));
  if (env->ExceptionOccurred()) env->ExceptionDescribe();
  if (!text) return {};
  const char* bytes = env->GetStringUTFChars(text, nullptr);
  if (!bytes) return {};
  String result = host.fromAnsi(bytes);
  env->ReleaseStringUTFChars(text, bytes);
  return result;
}

namespace {

// The runtime's own launcher class checks and loads the main class, with
// its messages on standard error; null when it is not there or refuses.
jclass loadThroughLauncherHelper(JNIEnv* env, const MainInvocation& call) {
  if (!call.findClassFromBootLoader) return nullptr;
  jclass helper = call.findClassFromBootLoader(env, "sun/launcher/LauncherHelper");
  if (!helper) return nullptr;
  jmethodID check = env->GetStaticMethodID(helper, "checkAndLoadMain", "(ZILjava/lang/String;)Ljava/lang/Class;");
  if (!check) return nullptr;
  String dotted = call.mainClass;
  for (char16_t& c : dotted) {
    if (c == u'/') c = u'.';
  }
  jstring name = newJavaString(env, dotted);
  if (!name) return nullptr;
  return static_cast<jclass>(env->CallStaticObjectMethod(helper, check, JNI_TRUE, static_cast<jint>(1), name));
}

jclass findMainClass(JNIEnv* env, const MainInvocation& call, JavaHost& host) {
  if (jclass found = loadThroughLauncherHelper(env, call)) return found;
  jstring name = newJavaString(env, call.mainClass);
  if (!name) {
    host.formatError(IDS_MAIN_CLASS_LOAD_FAILED, {call.mainClass});
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
    host.formatError(IDS_MAIN_CLASS_NOT_FOUND, {host.fromAnsi(chars)});
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

}  // namespace

bool invokeMain(JavaVM* vm, JNIEnv* env, const MainInvocation& call, JavaHost& host) {
  jclass mainClass = findMainClass(env, call, host);
  if (!mainClass) return false;
  jmethodID main = env->GetStaticMethodID(mainClass, "main", "([Ljava/lang/String;)V");
  if (!main) {
    if (env->ExceptionOccurred()) {
      env->ExceptionDescribe();
    } else {
      host.showError(IDS_NO_MAIN_METHOD);
    }
    return false;
  }
  jobjectArray arguments = newStringArray(env, call.arguments);
  if (!arguments) {
    env->ExceptionDescribe();
    return false;
  }
  host.mainAboutToRun();
  env->CallStaticVoidMethod(mainClass, main, arguments);

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
  if (call.stayAttached) host.park();
  return vm->DetachCurrentThread() == JNI_OK;
}

namespace {

bool callSecondaryMain(JNIEnv* env, const std::string& mainClass, const StringList& arguments,
                       const std::function<void(int32_t)>& answer) {
  jclass target = env->FindClass(mainClass.c_str());
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

bool deliverSecondary(JavaVM* vm, const std::string& mainClass, const StringList& arguments, bool stayAttached,
                      const std::function<void(int32_t)>& answer) {
  if (!vm) return false;
  JNIEnv* env = nullptr;
  if (vm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr) != JNI_OK) return false;
  bool delivered = callSecondaryMain(env, mainClass, arguments, answer);
  if (!stayAttached) vm->DetachCurrentThread();
  return delivered;
}
