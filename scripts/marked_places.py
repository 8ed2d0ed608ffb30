#!/usr/bin/env python3
"""The places the programs mark for the fatal error report (KV_MARKED_FILE, KV_MARK).

    scripts/marked_places.py            checks that no two marked places share a number
    scripts/marked_places.py 5010081    prints the file and line a reported "Program line" names
    scripts/marked_places.py --list     prints every marked place with its number

A place's number is the file's number x 10,000 + the source line. The check fails, naming the
files, when two files share a number, when a file marks places without a number or names one
twice, when a header marks places (it would take each includer's number), or when a number or a
line does not fit.
"""
import pathlib
import re
import sys

PROGRAM_FOLDERS = ["platform", "ui", "settings", "sources", "menu", "settings_window", "shell", "console"]
LINES_PER_FILE = 10000
MAX_FILE = 0x00FFFFFF // LINES_PER_FILE - 1  # as kMaxMarkedFile: every place fits 24 bits

FILE_NUMBER = re.compile(r"^\s*KV_MARKED_FILE\((\d+)\)")
MARK = re.compile(r"\bKV_MARK\(\)")


def sources(root):
    for folder in PROGRAM_FOLDERS:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix in (".cpp", ".h") and path.is_file():
                yield path


def places(root):
    """(faults, places): places maps a number to (file, line, text)."""
    faults, found, owners = [], {}, {}
    for path in sources(root):
        name = str(path.relative_to(root))
        lines = path.read_text(encoding="utf-8", errors="replace").splitlines()
        numbers = [int(m.group(1)) for m in map(FILE_NUMBER.match, lines) if m]
        marks = [(n, text) for n, text in enumerate(lines, 1) if MARK.search(text) and "#define" not in text
                 and not text.lstrip().startswith("//")]
        if not marks and not numbers:
            continue
        if path.suffix == ".h":
            faults.append(f"{name}: a header marks places; mark them in the .cpp file")
            continue
        if len(numbers) != 1:
            faults.append(f"{name}: marks places but names {len(numbers)} file numbers (KV_MARKED_FILE)")
            continue
        file_number = numbers[0]
        if not 1 <= file_number <= MAX_FILE:
            faults.append(f"{name}: file number {file_number} is outside 1-{MAX_FILE}")
        if file_number in owners:
            faults.append(f"{name}: file number {file_number} is also {owners[file_number]}'s")
        owners[file_number] = name
        for line, text in marks:
            if line >= LINES_PER_FILE:
                faults.append(f"{name}:{line}: marked line past {LINES_PER_FILE - 1}")
            number = file_number * LINES_PER_FILE + line
            if number in found:
                faults.append(f"{name}:{line}: place {number} is also {found[number][0]}:{found[number][1]}")
            found[number] = (name, line, text.strip())
    return faults, found


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    faults, found = places(root)
    argument = sys.argv[1] if len(sys.argv) > 1 else ""
    if argument == "--list":
        for number in sorted(found):
            name, line, text = found[number]
            print(f"{number}\t{name}:{line}\t{text}")
    elif argument:
        number = int(argument)
        if number in found:
            name, line, text = found[number]
            print(f"{name}:{line}: {text}")
        else:
            owner = [f[0] for n, f in found.items() if n // LINES_PER_FILE == number // LINES_PER_FILE]
            where = f" (file {number // LINES_PER_FILE} is {owner[0]})" if owner else ""
            print(f"no marked place has number {number}{where}", file=sys.stderr)
            return 1
    for fault in faults:
        print(fault, file=sys.stderr)
    if faults:
        return 1
    if not argument:
        print(f"marked_places: {len(found)} places, each with a number of its own")
    return 0


if __name__ == "__main__":
    sys.exit(main())
