#!/usr/bin/env python3
"""Checks that the folders of src/ are layers: a file includes only its own folder and the
folders below it in LAYERS.

Every `#include "..."` of src/ must name a folder of LAYERS ("folder/File.h", rooted at src/)
that is the including file's own folder or one below it. Each include that points up the
order, across into a folder that is not below, or into no known folder is printed as
"file:line: includes "x" (why)"; the exit status is then 1.

Usage: check_layers.py [--known FILE] [source root]
  (default root: the src/ beside this script's folder)

--known FILE names includes that are known to break the order, one "file: include" a line as
printed above without the line number ("#" starts a comment). They are not reported; a line
of FILE that no longer breaks the order is a fault, so that the list only shrinks.
"""

import pathlib
import re
import sys

# Bottom to top. The README's Layout section shows the same order.
LAYERS = [
    "platform",  # the small layer over the operating system
    "text",      # strings, statements, text files, patterns, fonts
    "policy",    # policies, the policy set and what it owns, policy files, messages
    "engine",    # the conversion context, its tables and registries
    "analysis",  # the line object, the line analysis, the recognition of tags
    "tags",      # directives and the execution of in-line tags
    "rtf",       # the RTF writer and its helpers, help files
    "tables",    # table settings from tags, pre-formatted regions, the table writer
    "convert",   # the per-file driver: its three passes over the 40-line window
    "lang",      # the desktop program's interface languages
    "pages",     # the desktop program's option pages
    "wx",        # the desktop program's window backend
    "app",       # programs
]

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]*)"')
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc", ".inc"}


def check_file(path, folder, root):
    rank = {name: position for position, name in enumerate(LAYERS)}
    faults = []
    text = path.read_text(encoding="latin-1")
    for number, line in enumerate(text.splitlines(), start=1):
        match = INCLUDE.match(line)
        if not match:
            continue
        target = match.group(1)
        parts = target.split("/")
        where = f"{path.relative_to(root.parent)}:{number}"
        if len(parts) < 2:
            faults.append(f'{where}: includes "{target}" (not rooted at src/: name its folder)')
            continue
        if parts[0] not in rank:
            faults.append(f'{where}: includes "{target}" (folder "{parts[0]}" is not a layer)')
            continue
        if rank[parts[0]] > rank[folder]:
            faults.append(f'{where}: includes "{target}" ("{parts[0]}" is above "{folder}")')
    return faults


def read_known(path):
    known = set()
    for line in pathlib.Path(path).read_text(encoding="utf-8").splitlines():
        line = line.split("#", 1)[0].strip()
        if line:
            known.add(line)
    return known


# "src/x/File.cpp:12: includes "y/Other.h" (...)" -> "src/x/File.cpp: y/Other.h"
def known_key(fault):
    match = re.match(r'^([^:]+):\d+: includes "([^"]*)"', fault)
    return f"{match.group(1)}: {match.group(2)}" if match else None


def main(argv):
    args = list(argv[1:])
    known = set()
    if len(args) >= 2 and args[0] == "--known":
        known = read_known(args[1])
        args = args[2:]
    root = pathlib.Path(args[0]) if args else pathlib.Path(__file__).resolve().parent.parent / "src"
    if not root.is_dir():
        print(f"check_layers: no source folder {root}", file=sys.stderr)
        return 2
    rank = {name: position for position, name in enumerate(LAYERS)}
    faults = []
    for path in sorted(root.rglob("*")):
        if not path.is_file() or path.suffix not in SOURCE_SUFFIXES:
            continue
        folder = path.relative_to(root).parts[0]
        if folder not in rank or len(path.relative_to(root).parts) < 2:
            faults.append(f"{path.relative_to(root.parent)}: lies in no layer folder of src/")
            continue
        faults.extend(check_file(path, folder, root))
    met = {known_key(fault) for fault in faults}
    faults = [fault for fault in faults if known_key(fault) not in known]
    faults.extend(f"{entry}: listed as known but no longer breaks the order (drop the line)"
                  for entry in sorted(known - met))
    for fault in faults:
        print(fault)
    if faults:
        print(f"check_layers: {len(faults)} include(s) break the order "
              f"(bottom to top: {', '.join(LAYERS)})", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
