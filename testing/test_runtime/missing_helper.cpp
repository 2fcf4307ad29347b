// A DLL the "missing-dependency" runtime imports from and that is never
// copied next to it, so loading that jvm.dll fails with error 126.
extern "C" __declspec(dllexport) int missing_helper_value() { return 0; }
