#!/usr/bin/env python3
"""Fails when a source folder includes from a layer above it.

Layers, lowest first: components, foundation, patterns, the subsystems
(records, worksheets, reports, exchange, admin, website, services; they may
use one another's operations), shell. A file outside a gui/ folder belongs to
the widget-free core and may not include a header from any gui/ folder.
"""
import pathlib
import re
import sys

RANK = {"components": 0, "foundation": 1, "patterns": 2,
        "records": 3, "worksheets": 3, "reports": 3, "exchange": 3,
        "admin": 3, "website": 3, "services": 3, "shell": 4}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def main(src: pathlib.Path) -> int:
    faults = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        rel = path.relative_to(src)
        folder = rel.parts[0]
        if folder not in RANK:
            faults.append(f"{rel}: folder {folder!r} has no place among the layers")
            continue
        in_gui = "gui" in rel.parts[:-1]
        for target in INCLUDE.findall(path.read_text(encoding="utf-8")):
            parts = pathlib.PurePosixPath(target).parts
            if len(parts) < 2 or parts[0] not in RANK:
                continue  # a header beside it or outside src
            if RANK[parts[0]] > RANK[folder]:
                faults.append(f"{rel}: includes {target} from a higher layer")
            if not in_gui and "gui" in parts[:-1]:
                faults.append(f"{rel}: core code includes widget code {target}")
    for fault in faults:
        print(fault)
    print(f"{len(faults)} layering faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1])))
