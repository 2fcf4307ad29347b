#!/usr/bin/python3
"""Checks the relative links of README.md and docs/*.md: the target file
exists and an #anchor names one of its headings (GitHub's rule); links with a
scheme (http, https) are not checked. Prints each broken link as FILE:LINE.

usage: check_docs.py REPOSITORY_ROOT
"""
import glob
import os
import re
import sys

LINK = re.compile(r"!?\[[^\]]*\]\(\s*<?([^)\s>]*)>?(?:\s+\"[^\"]*\")?\s*\)")
HEADING = re.compile(r"^ {0,3}#{1,6}\s+(.*?)\s*#*\s*$")
CODE_SPAN = re.compile(r"`+[^`]*`+")
FENCE = re.compile(r"^\s*(```|~~~)")


def prose_lines(path):
    """(line number, text) of the lines outside fenced code blocks."""
    fenced = False
    with open(path, encoding="utf-8") as file:
        for number, line in enumerate(file, 1):
            if FENCE.match(line):
                fenced = not fenced
            elif not fenced:
                yield number, line.rstrip("\n")


def anchors(path):
    """Lower case, no punctuation but - and _, blanks to -; a repeat gains -1, -2, ..."""
    found, seen = set(), {}
    for _, line in prose_lines(path):
        heading = HEADING.match(line)
        if heading:
            text = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", heading.group(1)).lower()
            base = "".join(c for c in text if c.isalnum() or c in "_- ").replace(" ", "-")
            found.add(f"{base}-{seen[base]}" if base in seen else base)
            seen[base] = seen.get(base, 0) + 1
    return found


def broken_links(root):
    for path in [os.path.join(root, "README.md")] + sorted(glob.glob(os.path.join(root, "docs", "*.md"))):
        for number, line in prose_lines(path):
            for link in LINK.finditer(CODE_SPAN.sub("", line)):
                target = link.group(1)
                if not target or re.match(r"^[a-zA-Z][a-zA-Z0-9+.-]*:", target):
                    continue
                file_part, _, anchor = target.partition("#")
                resolved = os.path.normpath(os.path.join(os.path.dirname(path), file_part)) if file_part else path
                where = f"{os.path.relpath(path, root)}:{number}: {target}"
                if not os.path.exists(resolved):
                    yield f"{where}: no such file"
                elif anchor and (not resolved.endswith(".md") or anchor not in anchors(resolved)):
                    yield f"{where}: no such heading"


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    broken = list(broken_links(sys.argv[1]))
    print("\n".join(broken) if broken else "every relative link of the docs resolves")
    sys.exit(1 if broken else 0)
