#pragma once
// The launcher's use of the JNI: creating the VM with its exit and abort
// hooks, redirecting System.out and System.err, finding and calling the main
// class, and reading an exception's stack trace. Portable: it runs against
// any runtime that honours the JNI, natively and on Windows.
#include <jni.h>

#include <functional>
#include <string>
#include <vector>

#include "common/text.h"
#include "vm/java_host.h"
#include "vm/jni_entries.h"
#include "vm/main_target.h"

// A java.lang.String of the UTF-16 code units, or null (exception pending).
jstring newJavaString(JNIEnv* env, StringView text);
// A String[] of the texts, or null.
jobjectArray newStringArray(JNIEnv* env, const StringList& texts);

// What the VM says while it is created is kept, up to its last this many bytes.
constexpr size_t kVmPrintLimit = 4096;

// Called on the thread that creates the VM when the VM has said "Error
// occurred during initialization of VM" and its reason: some such failures
// end the process from inside JNI_CreateJavaVM without the exit hook, so
// this is the launch's last chance to say why. It does not return.
using VmFatalReport = std::function<void(const std::string& printed)>;

// JNI_CreateJavaVM with the "vfprintf" hook first (the VM reads its options
// in order: a message about an earlier option would miss the hook), the
// options in order, then "abort" and "exit" with the launcher's hooks;
// unrecognised options are not ignored. Everything the VM prints goes on to
// standard error; what it printed during the creation is in `printed`.
jint createVmWithHooks(CreateJavaVmEntry create, const std::vector<std::string>& options, JavaVM** vm, JNIEnv** env,
                       std::string* printed = nullptr, const VmFatalReport& fatal = {});

// The text of the string table that explains a failed creation, or 0.
unsigned vmCreationReason(jint status);

// The runtime's default Java stack size in bytes (JNI 1.1 record), or 0.
uint32_t defaultStackSize(DefaultInitArgsEntry defaults);

enum class JavaStream { Out, Err };
// System.setOut/setErr to a PrintStream over a FileOutputStream of `file`.
bool redirectJavaStream(JNIEnv* env, StringView file, bool append, JavaStream stream);

// The text of a Java string, its UTF-16 code units as they are.
String javaStringText(JNIEnv* env, jstring text);

// The exception's printed stack trace, empty when it cannot be had. It is
// printed into a StringWriter, so no byte encoding can lose a character.
String stackTraceText(JNIEnv* env, jthrowable thrown);

struct MainInvocation {
  MainTarget main;
  StringList arguments;
  FindClassFromBootLoaderEntry findClassFromBootLoader = nullptr;
  bool failureCheck = false;
  bool stayAttached = false;  // IBM runtimes: the thread is parked after main
};

// Finds the main class, calls main with the arguments and detaches the
// thread. A class is loaded by the runtime's launcher class, or found by
// FindClass on a runtime without one; a jar's or a module's main only by the
// launcher class. False when the class, main or the arguments could not be
// had, or the detach failed; an exception thrown by main is not a failure.
bool invokeMain(JavaVM* vm, JNIEnv* env, const MainInvocation& call, JavaHost& host);

// Hands a secondary launch's arguments to the main class's static
// secondaryMain(String[]) (the void form, else the int form) on a thread
// attached for the call; `mainClass` is the global reference the host got
// as main was about to run. `answer` gets 0 just before the void form runs,
// or the int form's result after it returned. False when nothing could be
// called or the call threw.
bool deliverSecondary(JavaVM* vm, jclass mainClass, const StringList& arguments, bool stayAttached,
                      const std::function<void(int32_t)>& answer);
