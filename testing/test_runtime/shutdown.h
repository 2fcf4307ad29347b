#pragma once
// What the launcher's native shutdown hook needs of the stand-in, as HotSpot
// does it: classes defined from class files (JNI DefineClass), native methods
// bound by RegisterNatives, AllocObject, java.lang.Thread and Runtime's
// shutdown hooks, and the VM's end, after which a thread still in Java never
// comes back.
#include <jni.h>

namespace test_runtime {

class ClassTable;

jclass JNICALL defineClassEntry(JNIEnv* env, const char* name, jobject loader, const jbyte* bytes, jsize length);
jint JNICALL registerNativesEntry(JNIEnv* env, jclass cls, const JNINativeMethod* methods, jint count);
jobject JNICALL allocObjectEntry(JNIEnv* env, jclass cls);

void defineShutdownClasses(ClassTable& table);

// Runs the registered hooks (and the one -Dtest.jvm.shutdown-delay=<ms>
// stands for) to their end, then marks the VM ended. Once only.
void shutDown();
bool vmEnded();
// Where a thread that is still in Java when the VM has ended stays.
[[noreturn]] void blockForGood(const char* where);

}  // namespace test_runtime
