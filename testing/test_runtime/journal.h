#pragma once
// The journal: what the stand-in runtime saw, for tests to read afterwards.
//
// UTF-8 text, one record "key=value" per line ("\n"). Each record is appended
// on its own (open, append, close), so it survives an abrupt process end, and
// one process at a time, so that processes sharing a journal lose no record.
// Values given as narrow strings by the caller (options, class names, splash
// paths) are written byte for byte; wide and Java strings as UTF-8. Line
// breaks inside a value are written as spaces (arg16 keeps the exact text).
//
// Location: the Windows path in TEST_JVM_JOURNAL when set, else journal.txt
// in the runtime home (jvm.dll in <home>\bin\server, splashscreen.dll in <home>\bin).
//
// Keys, in the order a launch writes them:
//   loaded-thread=<tid>                   DllMain attach of jvm.dll
//   default-args=<version as 0x%08x>      JNI_GetDefaultJavaVMInitArgs
//   create-clock=<counter>                JNI_CreateJavaVM entered: QueryPerformanceCounter
//   create-working-set=<bytes>              the process's working set at that moment
//   create-thread=<tid>                     ...
//   create-thread-is-loader=<0|1>           ...on the thread that loaded jvm.dll?
//   create-stack=<bytes>                    reserved stack of the calling thread
//   env-QL_JVM_PATH=, env-QL_JVM_HOME=, env-Path=   (empty when unset)
//   version=<0x%08x>
//   ignore-unrecognized=<0|1>
//   option=<text>                           every option, in order ("" too);
//                                           none when TEST_JVM_JOURNAL_OPTIONS=0
//   option-hook=<text>                      option with a non-null extraInfo
//   reject=<text>                           first option HotSpot would refuse
//   freeze=<ms>, thawed=<n>                 -Dtest.jvm.freeze: the n other threads stop, then go on
//   status=<jint>                           what JNI_CreateJavaVM returns
//   find-class=<name>                     FindClass
//   find-class-boot=<name>                JVM_FindClassFromBootLoader
//   static-method=<class>.<name><sig>     GetStaticMethodID (found or not)
//   static-field=<class>.<name>           GetStaticFieldID (never found)
//   check-and-load-main=<dotted name>     LauncherHelper.checkAndLoadMain
//   main=<class>, argc=<n>, arg=<UTF-8>, arg16=<hex units>   application main
//   secondary=<args joined by |>, secondary-thread=<tid>      secondaryMain
//   secondary-handles=<n>, secondary-working-set=<bytes>      ...with -Dtest.jvm.journal-footprint
//   thread-end                            test/Threaded's thread finished
//   exit=<status>                         System.exit
//   exit-hook-called=<status>             just before the "exit" hook is called
//   abort                                 test/Abort, before the "abort" hook
//   attach=<tid>, detach=<tid>            Attach/DetachCurrentThread succeeded
//   detach-unattached=<tid>               DetachCurrentThread on a stranger (-2)
//   destroy=<tid>, destroy-done           DestroyJavaVM begins / ends
//   define-class=<name>, define-class-refused=<why>   JNI DefineClass
//   shutdown-hook-added=<thread name>, shutdown-hook-ended=<thread name or delay>
//   vm-ended                              the shutdown hooks have run; the VM has ended
//   main-args=<args joined by |>         main of the single-instance classes, in one record
//   stopped=<tid>                         their thread that stays up ends (test_runtime_stop)
//   secondary-returned                    secondaryMain returns (-Dtest.jvm.secondary-delay)
//   blocked-for-good=<where>              a thread still in Java after the VM ended
//   destroy-threads=<tid,tid,...>         the process's other threads as DestroyJavaVM begins
//   unexpected=<index>                    a JNIEnv slot without implementation
//   unexpected=vm-<index>                 a JavaVM slot without implementation
//   splash-init, splash-load-file=<path>, splash-jar-file=<file>,
//   splash-jar-name=<jar>, splash-close   splashscreen.dll
//   bin-library=<name>                    a library of the dependency-in-bin runtime loaded
//   planted-library                       the library planted in the current directory loaded
#include <windows.h>

#include <string_view>

namespace test_runtime {

// The module whose home holds the default journal, and how many folders
// above the module's own folder that home is.
void journalSetHome(HMODULE module, int levelsAboveFolder);

void journal(std::string_view key, std::string_view value);
void journal(std::string_view key, long long value);
void journalFlag(std::string_view key);
// The process's working set in bytes, under `key` (nothing when unknown).
void journalWorkingSet(std::string_view key);

}  // namespace test_runtime
