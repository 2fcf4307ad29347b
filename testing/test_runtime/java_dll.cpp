// bin\java.dll of the test runtime: it only has to exist and load.
#include <windows.h>

extern "C" __declspec(dllexport) int test_runtime_java_dll() { return 1; }
