#!/usr/bin/env python3
"""Checks that every source file includes only its own folder and the floors below it.

    scripts/check_floors.py [root]

The program is built in floors, from the ground up; a file may include headers of its own folder
(its win32/ or posix/ sub-folders included) and of the folders on lower floors, never of a folder
on its own floor or above. The console helper is a program of its own: it may include only the
ground floor, and no folder of the main program includes it. tests/ and tools/ stand above every
floor. Prints each include that breaks the rule as "file:line: ..." and exits with 1 if any does.
"""
import pathlib
import re
import sys

# Folder -> floor. The README's developer section shows the same table.
FLOORS = {
    "platform": 0,
    "ui": 1,
    "settings": 2,
    "sources": 3,
    "menu": 4,
    "settings_window": 4,
    "shell": 5,
}
# Separate programs: folder -> the folders it may include besides itself.
SEPARATE = {"console": ["platform"]}

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"/]+)/[^"]*"')


def allowed(folder):
    if folder in SEPARATE:
        return set(SEPARATE[folder]) | {folder}
    floor = FLOORS[folder]
    return {other for other, level in FLOORS.items() if level < floor} | {folder}


def check(root):
    faults = []
    for folder in list(FLOORS) + list(SEPARATE):
        may = allowed(folder)
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".cpp", ".h", ".rc") or not path.is_file():
                continue
            text = path.read_text(encoding="utf-8", errors="replace")
            for number, line in enumerate(text.splitlines(), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                target = match.group(1)
                if (target in FLOORS or target in SEPARATE) and target not in may:
                    included = line.split('"')[1]
                    faults.append(f"{path.relative_to(root)}:{number}: includes {included}: "
                                  f"{folder} may include only {', '.join(sorted(may))}")
    return faults


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent)
    faults = check(root)
    for fault in faults:
        print(fault)
    if faults:
        print(f"check_floors: {len(faults)} include(s) climb a floor", file=sys.stderr)
        return 1
    print("check_floors: every include stays on its floor or below")
    return 0


if __name__ == "__main__":
    sys.exit(main())
