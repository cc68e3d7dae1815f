#!/usr/bin/env python3
"""Fails when a file in src/ or cli/ includes a folder above its own.

    tests/IncludeArrowsTest.py SOURCE_ROOT

Folders sit in layers; a file may include its own folder and any lower layer. A `ui/`
subfolder belongs to its subsystem's layer and may include that subsystem, but code outside
a `ui/` folder never includes one. Before walking the tree the rule is checked against a
table of known answers, so a broken rule cannot pass an unbroken tree.
"""

import os
import re
import sys

# Lower number: lower layer. Folders on one layer do not include each other.
LAYERS = {
    "platform": 0,
    "model": 1,
    "search": 2,
    "results": 3,
    "settings": 3,
    "export": 3,
    "actions": 3,
    "ui": 4,
    "cli": 4,
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def unit_of(parts):
    """(subsystem, is_ui) of a path given as its components below src/ (or cli/...)."""
    top = parts[0]
    return top, top == "ui" or (len(parts) > 2 and parts[1] == "ui")


def verdict(source_parts, header):
    """None when the include is allowed, otherwise the reason it is not."""
    target_parts = header.split("/")
    if len(target_parts) < 2 or target_parts[0] not in LAYERS:
        return None  # a header beside the file, or not ours
    source, source_ui = unit_of(source_parts)
    target, target_ui = unit_of(target_parts)
    if target_ui and not source_ui:
        return "code outside ui/ includes a ui folder"
    if target == source:
        return None
    if LAYERS[target] < LAYERS[source]:
        return None
    return "%s (layer %d) includes %s (layer %d)" % (source, LAYERS[source], target,
                                                   LAYERS[target])


KNOWN = [
    # (file, header, allowed)
    ("search/SearchDriver.cpp", "model/DuplicateTypes.h", True),
    ("search/SearchDriver.cpp", "results/ViewOrderSort.h", False),
    ("platform/DriveList.h", "model/DuplicateTypes.h", False),
    ("model/SortProcedures.cpp", "model/NativeText.h", True),
    ("results/ResultsViewInput.h", "results/ui/ResultsModel.h", False),
    ("results/ui/ResultsModel.cpp", "results/ViewOrderSort.h", True),
    ("results/ui/ResultsModel.cpp", "ui/TamberMain.h", False),
    ("results/ui/ResultsModel.cpp", "export/ExportList.h", False),
    ("settings/ui/MaskUnit.cpp", "model/ui/DialogFrame.h", True),
    ("export/ExportList.h", "model/MessagePrompter.h", True),
    ("ui/TamberMain.cpp", "results/ui/ResultsModel.h", True),
    ("cli/main.cpp", "export/ReportFile.h", True),
    ("cli/main.cpp", "ui/TamberMain.h", False),
    ("cli/main.cpp", "ScanOptions.h", True),
]


def check_rule():
    wrong = 0
    for path, header, allowed in KNOWN:
        if (verdict(path.split("/"), header) is None) != allowed:
            print("rule wrong: %s including %s should be %s" %
                  (path, header, "allowed" if allowed else "refused"))
            wrong += 1
    return wrong


def check_tree(root):
    bad = 0
    for base in ("src", "cli"):
        top = os.path.join(root, base)
        for folder, _, files in os.walk(top):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(folder, name)
                rel = os.path.relpath(path, top if base == "src" else root).split(os.sep)
                with open(path, encoding="utf-8") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        reason = m and verdict(rel, m.group(1))
                        if reason:
                            print("%s:%d: includes \"%s\": %s" %
                                  (os.path.relpath(path, root), number, m.group(1), reason))
                            bad += 1
    return bad


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    failures = check_rule() + check_tree(root)
    print("%d include(s) against the arrows" % failures)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
