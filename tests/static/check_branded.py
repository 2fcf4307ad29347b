#!/usr/bin/env python3
"""Checks an exe built by add_java_launcher: check_branded.py EXE ICON NAME VERSION SHIPPED.

It must carry the application's icon (every image of the .ico, in order),
its version information, and the launcher's own string table and dialogs;
and its code must be the shipped launcher SHIPPED's, byte for byte (the same
sources, options and internal-failure handling: only the resources differ).
"""
import struct
import sys

import pefile


def code(pe):
    return b"".join(section.get_data() for section in pe.sections if section.Name.rstrip(b"\0") == b".text")


def main(exe, icon, name, version, shipped):
    pe = pefile.PE(exe)
    resources = {}
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for entry in kind.directory.entries:
            for language in entry.directory.entries:
                data = pe.get_data(language.data.struct.OffsetToData, language.data.struct.Size)
                resources[(kind.id, entry.id)] = data
    problems = []
    with open(icon, "rb") as f:
        ico = f.read()
    count = struct.unpack_from("<H", ico, 4)[0]
    images = [ico[offset:offset + size] for size, offset in
              (struct.unpack_from("<II", ico, 6 + 16 * i + 8) for i in range(count))]
    group = resources.get((pefile.RESOURCE_TYPE["RT_GROUP_ICON"], 1), b"")
    if len(group) < 6 or struct.unpack_from("<H", group, 4)[0] != count:
        problems.append(f"the icon group does not list the {count} images of {icon}")
    for i, image in enumerate(images, 1):
        if resources.get((pefile.RESOURCE_TYPE["RT_ICON"], i)) != image:
            problems.append(f"icon image {i} is not the file's image {i}")
    strings = {}
    for info in getattr(pe, "FileInfo", [[]])[0]:
        for table in getattr(info, "StringTable", []):
            strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    for key, expected in (("ProductName", name), ("FileVersion", version), ("OriginalFilename", name + ".exe")):
        if strings.get(key) != expected:
            problems.append(f"version text {key} is {strings.get(key)!r}, not {expected!r}")
    for kind, what in ((pefile.RESOURCE_TYPE["RT_STRING"], "string table"), (pefile.RESOURCE_TYPE["RT_DIALOG"], "dialogs")):
        if not any(k == kind for k, _ in resources):
            problems.append(f"the launcher's {what} are missing")
    if code(pe) != code(pefile.PE(shipped)):
        problems.append(f"its code differs from the shipped launcher {shipped}")
    for problem in problems:
        print(f"{exe}: {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
