#!/usr/bin/python3
"""Static checks of the test runtime's DLLs: PE kind and machine, exports by
their plain names (exactly the expected set), imports limited to Windows'
own DLLs (the missing-dependency variant adds its absent helper, the
dependency-in-bin variant the helper in its bin folder).

usage: check_runtime_pe.py x86|x64 TEST_RUNTIME_DIR TEST_RUNTIME_VARIANTS
"""
import os
import sys

import pefile

MACHINES = {"x86": (0x14C, 0x10B), "x64": (0x8664, 0x20B)}
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "advapi32.dll", "msvcrt.dll", "ntdll.dll"}
JVM = {"JNI_CreateJavaVM", "JNI_GetDefaultJavaVMInitArgs", "JVM_FindClassFromBootLoader"}
SPLASH = {"SplashInit", "SplashLoadFile", "SplashSetFileJarName", "SplashClose"}
HELPERS = {"missing-dependency": "missing_helper.dll", "dependency-in-bin": "bin_helper.dll"}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def check_dll(path, arch, exports=None, extra_import=None):
    if not os.path.isfile(path):
        failures.append(f"{path}: missing")
        return
    pe = pefile.PE(path)
    machine, magic = MACHINES[arch]
    check(pe.FILE_HEADER.Machine == machine, f"{path}: machine {pe.FILE_HEADER.Machine:#x}, expected {machine:#x}")
    check(pe.OPTIONAL_HEADER.Magic == magic, f"{path}: optional header magic {pe.OPTIONAL_HEADER.Magic:#x}")
    check(pe.is_dll(), f"{path}: not a DLL")
    names = set()
    if hasattr(pe, "DIRECTORY_ENTRY_EXPORT"):
        names = {symbol.name.decode() for symbol in pe.DIRECTORY_ENTRY_EXPORT.symbols if symbol.name}
    if exports is not None:
        check(names == exports, f"{path}: exports {sorted(names)}, expected {sorted(exports)}")
    imports = {entry.dll.decode().lower() for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])}
    allowed = SYSTEM_DLLS | ({extra_import} if extra_import else set())
    check(imports <= allowed, f"{path}: imports {sorted(imports - allowed)} beyond Windows' own DLLs")
    if extra_import:
        check(extra_import in imports, f"{path}: does not import {extra_import}")
        check(not os.path.exists(os.path.join(os.path.dirname(path), extra_import)),
              f"{path}: {extra_import} lies next to it")


def main():
    arch, runtime, variants = sys.argv[1], sys.argv[2], sys.argv[3]
    check_dll(os.path.join(runtime, "bin", "server", "jvm.dll"), arch, JVM)
    check_dll(os.path.join(runtime, "bin", "java.dll"), arch)
    check_dll(os.path.join(runtime, "bin", "splashscreen.dll"), arch, SPLASH)
    jvm_variants = {
        "no-create": JVM - {"JNI_CreateJavaVM"},
        "no-default-args": JVM - {"JNI_GetDefaultJavaVMInitArgs"},
        "no-boot-finder": JVM - {"JVM_FindClassFromBootLoader"},
        "missing-dependency": JVM,
        "dependency-in-bin": JVM,
        "splash-no-jarname": JVM,
    }
    for name, exports in jvm_variants.items():
        helper = HELPERS.get(name)
        check_dll(os.path.join(variants, name, "bin", "server", "jvm.dll"), arch, exports, helper)
        check_dll(os.path.join(variants, name, "bin", "java.dll"), arch)
    check_dll(os.path.join(variants, "client-only", "bin", "client", "jvm.dll"), arch, JVM)
    check_dll(os.path.join(variants, "client-only", "bin", "java.dll"), arch)
    check(not os.path.exists(os.path.join(variants, "client-only", "bin", "server")), "client-only has bin/server")
    for library in ("bin_helper.dll", "msvcr100.dll"):
        check_dll(os.path.join(variants, "dependency-in-bin", "bin", library), arch)
    check_dll(os.path.join(variants, "planted", "bin_helper.dll"), arch)
    check_dll(os.path.join(variants, "splash-no-jarname", "bin", "splashscreen.dll"), arch,
              SPLASH - {"SplashSetFileJarName"})
    for failure in failures:
        print("FAIL:", failure)
    print(f"{'FAILED' if failures else 'OK'}: test runtime ({arch})")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
