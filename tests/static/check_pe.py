#!/usr/bin/python3
"""Static checks of a launcher executable: PE kind and machine, GUI subsystem,
imports limited to Windows' own DLLs, and the resources a user meets (string
table texts, dialogs, manifest, version information, icon).

usage: check_pe.py EXE x86|x64
"""
import sys

import pefile

EXPECTED_STRINGS = {
    202: "Windows exception: %s (errno = %d).\n",
    203: "JNI exception: %s\nReason: %s.\n",
    206: "The Java Runtime Environment (JRE) was not found. Please  download and install a JRE with a server JVM (%s) from:",
    207: "The Java Runtime Environment (JRE) was not found. Please  download and install a JRE (%s) from:",
    208: "failed to get the module path",
    209: "Java Class Path was not specified in INI file.",
    210: "Main class was not specified in INI file.",
    211: "Failed to load Main Class: %s.\n",
    212: "cannot find CreateJavaVM JNI",
    213: "failed to create the Java VM",
    214: "Browse for JRE folder",
    215: "Could not find the main class %s.\n",
    216: "No main method found in specified class.\n",
    217: "latest version",
    218: "maximum version %s",
    219: "minimum version %s",
    220: "version %s is required",
    221: "version between %s and %s",
    222: "Failed to load Java VM library: %s (errno = %d).\n",
    225: "unknown",
    226: "thread detached from VM",
    227: "JNI version error",
    228: "not enough memory",
    229: "VM already created",
    230: "invalid arguments",
    231: "\nThe Java VM said:\n%s",
    232: "The application is still closing. Please start it again in a moment.",
    233: "Cannot read the argument file %s named in the Virtual Machine Parameters.",
    234: "Cannot start %s: the Java runtime has no launcher class (sun.launcher.LauncherHelper) to load the main class of a module or an executable jar.",
    235: "Cannot start the module %s: modules need Java 9 or later, and the chosen Java runtime is Java %s.",
    236: "The path %s contains characters that Java cannot receive on this system (ANSI code page %s), and it has no short name without them. Move the application to a folder whose name uses only characters of that code page.",
    237: "The VM option %s contains characters that Java cannot receive on this system (ANSI code page %s).",
    239: "No Java runtime was found that this application can use (wanted: %s). Searched: \"JRE Path\", a runtime beside the executable, the registry, the installations of Java vendors and JAVA_HOME. Set \"JRE Path\" in section \"Java Runtime Environment\" of %s to the folder of a Java runtime, or run \"packager runtimes %s\" to see each runtime found and why none was taken.",
    238: "The Java runtime %s lies in a folder too deep for Java: the path is %s characters long, and Java finds its own files only on paths shorter than 260 characters. Install the runtime, or the application with it, in a shorter folder.",
}

# DLLs that ship with every supported Windows version.
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
    "ole32.dll", "oleaut32.dll", "comctl32.dll", "comdlg32.dll", "shlwapi.dll",
    "msvcrt.dll", "version.dll", "uxtheme.dll",
}

MACHINES = {"x86": (0x14C, 0x10B), "x64": (0x8664, 0x20B)}
EN_US = 0x409
RT_STRING, RT_DIALOG, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 6, 5, 14, 16, 24

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def resources(pe):
    """{(type, id): {language: bytes}}"""
    found = {}
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for name_entry in type_entry.directory.entries:
            for lang_entry in name_entry.directory.entries:
                data = lang_entry.data.struct
                raw = pe.get_data(data.OffsetToData, data.Size)
                found.setdefault((type_entry.id, name_entry.id), {})[lang_entry.id] = raw
    return found


def string_table(res):
    texts = {}
    for (rtype, block), langs in res.items():
        if rtype != RT_STRING:
            continue
        check(set(langs) == {EN_US}, f"string block {block} has languages {sorted(langs)}, expected en-US only")
        raw = langs.get(EN_US) or next(iter(langs.values()))
        pos = 0
        for index in range(16):
            length = int.from_bytes(raw[pos:pos + 2], "little")
            pos += 2
            if length:
                texts[(block - 1) * 16 + index] = raw[pos:pos + 2 * length].decode("utf-16-le")
            pos += 2 * length
    return texts


def check_exe(exe, arch):
    pe = pefile.PE(exe)
    machine, magic = MACHINES[arch]
    check(pe.FILE_HEADER.Machine == machine, f"machine 0x{pe.FILE_HEADER.Machine:X}, expected 0x{machine:X}")
    check(pe.OPTIONAL_HEADER.Magic == magic, f"optional header magic 0x{pe.OPTIONAL_HEADER.Magic:X}, expected 0x{magic:X}")
    # The console flavour is the same program for the console subsystem.
    subsystem, kind = (3, "console") if exe.endswith("-console.exe") else (2, "GUI")
    check(pe.OPTIONAL_HEADER.Subsystem == subsystem, f"subsystem {pe.OPTIONAL_HEADER.Subsystem}, expected {subsystem} ({kind})")

    check(pe.FILE_HEADER.NumberOfSymbols == 0 and pe.FILE_HEADER.PointerToSymbolTable == 0,
          "the executable is not stripped (it has a symbol table)")

    imports = {entry.dll.decode().lower() for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])}
    check(imports, "no imports found")
    check(imports <= SYSTEM_DLLS, f"imports DLLs that are not Windows' own: {sorted(imports - SYSTEM_DLLS)}")

    res = resources(pe)
    texts = string_table(res)
    check(texts == EXPECTED_STRINGS,
          "string table differs: " + "; ".join(
              f"{i}: {texts.get(i)!r} expected {EXPECTED_STRINGS.get(i)!r}"
              for i in sorted(set(texts) | set(EXPECTED_STRINGS)) if texts.get(i) != EXPECTED_STRINGS.get(i)))
    for dialog in (201, 231):
        check((RT_DIALOG, dialog) in res, f"dialog {dialog} is missing")
    check(any(t == RT_GROUP_ICON for t, _ in res), "no icon")
    check(any(t == RT_VERSION for t, _ in res), "no version information")
    manifest = b"".join(v for (t, _), langs in res.items() if t == RT_MANIFEST for v in langs.values()).decode()
    for needle in ('name="Microsoft.Windows.Common-Controls" version="6.0.0.0"', 'level="asInvoker"',
                   ">true/PM</dpiAware>", ">PerMonitorV2, PerMonitor, system</dpiAwareness>", ">true</longPathAware>", "{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"):
        check(needle in manifest, f"manifest lacks {needle}")

    if failures:
        print(f"{exe}:")
        for f in failures:
            print("  FAIL", f)
        sys.exit(1)
    print(f"{exe}: {arch} PE, {kind}, imports {sorted(imports)}, {len(texts)} texts, dialogs 201 and 231: ok")


def main():
    """check_pe.py EXE... ARCH"""
    for exe in sys.argv[1:-1]:
        check_exe(exe, sys.argv[-1])


if __name__ == "__main__":
    main()
