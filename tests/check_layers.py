#!/usr/bin/env python3
"""Fails when a source folder includes from a layer above it.

Layers, lowest first: components, foundation, patterns, the subsystems in
their own order, shell. Among the subsystems services (the online services)
come first, then exchange, then records and reports, then worksheets, admin
and website; a subsystem uses only those below it, so two folders of one
rank do not include each other either. A file outside a gui/ folder belongs
to the widget-free core and may not include a header from any gui/ folder.
"""
import pathlib
import re
import sys

RANK = {"components": 0, "foundation": 1, "patterns": 2,
        "services": 3,
        "exchange": 4,
        "records": 5, "reports": 5,
        "worksheets": 6, "admin": 6, "website": 6,
        "shell": 7}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def faults_in(src: pathlib.Path) -> list:
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
            elif RANK[parts[0]] == RANK[folder] and parts[0] != folder:
                faults.append(f"{rel}: includes {target} from a subsystem of the same rank")
            if not in_gui and "gui" in parts[:-1]:
                faults.append(f"{rel}: core code includes widget code {target}")
    return faults


def self_test() -> int:
    """The check itself, on a small tree with one fault of each kind."""
    import tempfile
    files = {
        "components/A.h": '#include "foundation/B.h"\n',        # upward
        "foundation/B.h": '#include "components/C.h"\n',        # fine
        "worksheets/D.cpp": '#include "records/E.h"\n',        # lower subsystem: fine
        "records/L.cpp": '#include "worksheets/E.h"\n',        # higher subsystem
        "records/M.cpp": '#include "reports/N.h"\n',           # same rank, other folder
        "admin/O.cpp": '#include "exchange/P.h"\n',            # fine
        "services/Q.cpp": '#include "exchange/R.h"\n',         # services are the lowest
        "website/S.h": '#include "website/gui/T.h"\n',         # core includes gui
        "records/F.cpp": '#include "records/gui/G.h"\n',        # core includes gui
        "records/gui/G.cpp": '#include "patterns/gui/H.h"\n',   # fine
        "patterns/I.h": '#include "shell/J.h"\n',               # upward
        "misc/K.h": "",                                          # no layer
    }
    with tempfile.TemporaryDirectory() as tmp:
        root = pathlib.Path(tmp)
        for name, text in files.items():
            (root / name).parent.mkdir(parents=True, exist_ok=True)
            (root / name).write_text(text, encoding="utf-8")
        found = sorted(f.split(":")[0] for f in faults_in(root))
    expected = ["components/A.h", "misc/K.h", "patterns/I.h", "records/F.cpp",
                "records/L.cpp", "records/M.cpp", "services/Q.cpp", "website/S.h"]
    if found != expected:
        print(f"self-test: expected faults in {expected}, found {found}")
        return 1
    return 0


def main(src: pathlib.Path) -> int:
    if self_test():
        return 1
    faults = faults_in(src)
    for fault in faults:
        print(fault)
    print(f"{len(faults)} layering faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1])))
