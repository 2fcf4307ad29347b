// jvm.dll's exports. The variant runtimes leave some out (TEST_RUNTIME_NO_*)
// or depend on a helper DLL that is not shipped (TEST_RUNTIME_MISSING_DEPENDENCY)
// or that lies in the runtime's bin folder (TEST_RUNTIME_BIN_DEPENDENCY).
#include <jni.h>
#include <windows.h>

#include "entry_points.h"

#ifdef TEST_RUNTIME_MISSING_DEPENDENCY
extern "C" __declspec(dllimport) int missing_helper_value();
#endif
#ifdef TEST_RUNTIME_BIN_DEPENDENCY
extern "C" __declspec(dllimport) int bin_helper_value();
#endif

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
#ifdef TEST_RUNTIME_MISSING_DEPENDENCY
    if (missing_helper_value() != 0) return FALSE;
#endif
#ifdef TEST_RUNTIME_BIN_DEPENDENCY
    if (bin_helper_value() != 0) return FALSE;
#endif
    test_runtime::onProcessAttach(module);
  }
  return TRUE;
}

#ifndef TEST_RUNTIME_NO_CREATE
extern "C" JNIEXPORT jint JNICALL JNI_CreateJavaVM(JavaVM** vm, void** env, void* args) {
  return test_runtime::createJavaVm(vm, env, args);
}
#endif

#ifndef TEST_RUNTIME_NO_DEFAULT_ARGS
extern "C" JNIEXPORT jint JNICALL JNI_GetDefaultJavaVMInitArgs(void* args) {
  return test_runtime::defaultInitArgs(args);
}
#endif

#ifndef TEST_RUNTIME_NO_BOOT_FINDER
extern "C" JNIEXPORT jclass JNICALL JVM_FindClassFromBootLoader(JNIEnv* env, const char* name) {
  return test_runtime::findBootClass(env, name);
}
#endif
