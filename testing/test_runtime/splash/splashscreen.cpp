// splashscreen.dll of the test runtime: journals the calls the launcher makes.
// TEST_SPLASH_NO_JAR_NAME leaves out SplashSetFileJarName.
#include <windows.h>

#include "journal.h"

using test_runtime::journal;
using test_runtime::journalFlag;

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  // The library sits in <home>\bin, one folder below the home.
  if (reason == DLL_PROCESS_ATTACH) test_runtime::journalSetHome(module, 1);
  return TRUE;
}

extern "C" __declspec(dllexport) void SplashInit() { journalFlag("splash-init"); }

extern "C" __declspec(dllexport) int SplashLoadFile(const char* fileName) {
  journal("splash-load-file", fileName ? fileName : "");
  return 1;
}

#ifndef TEST_SPLASH_NO_JAR_NAME
extern "C" __declspec(dllexport) void SplashSetFileJarName(const char* fileName, const char* jarName) {
  journal("splash-jar-file", fileName ? fileName : "");
  journal("splash-jar-name", jarName ? jarName : "");
}
#endif

extern "C" __declspec(dllexport) void SplashClose() { journalFlag("splash-close"); }
