#!/usr/bin/env python3
"""Compares a window's control dump at some DPI with its dump at 96 DPI scaled by the rule.

    dpi_compare.py <dump at 96 DPI> <dump at DPI> <DPI> [--geometry]

The rule, computed here on its own: a 96-DPI coordinate v becomes v x DPI / 96 rounded half away
from zero, and a box keeps its scaled edges (left, top, right and bottom each scaled). The
window's inner size is scaled so; every control must have the same number, class and text, and
exactly the scaled rectangle (with --geometry, texts are not compared: values the user changed).
A drop-down list is the one exception: the system sizes its height
from its font, so only its left, top and right edges are compared. Prints each difference and
exits with 1 when there is one.
"""
import sys


def scaled(value, dpi):
    product = value * dpi
    magnitude = (abs(product) * 2 + 96) // (2 * 96)
    return -magnitude if product < 0 else magnitude


def read_dump(path):
    """(inner size, [(id, class, (l, t, r, b), text)]) of a kvtool dump."""
    client, controls = None, []
    with open(path, encoding="utf-8", errors="replace") as dump:
        for line in dump.read().splitlines():
            fields = line.split("\t")
            if fields[0] == "client":
                client = tuple(int(v) for v in fields[1].split(","))
            elif fields[0].isdigit() and len(fields) >= 7:
                rect = tuple(int(v) for v in fields[2].split(","))
                controls.append((int(fields[0]), fields[1], rect, fields[6]))
    return client, controls


def compare(base, other, dpi, texts=True):
    faults = []
    (base_client, base_controls), (client, controls) = base, other
    expected_client = tuple(scaled(v, dpi) for v in base_client)
    if client != expected_client:
        faults.append(f"inner size {client}, expected {expected_client}")
    if len(controls) != len(base_controls):
        faults.append(f"{len(controls)} controls, expected {len(base_controls)}")
    for (number, kind, rect, text), (base_number, base_kind, base_rect, base_text) in zip(controls, base_controls):
        expected = tuple(scaled(v, dpi) for v in base_rect)
        compared = 3 if kind == "ComboBox" else 4
        if (number, kind) != (base_number, base_kind) or (texts and text != base_text):
            faults.append(f"control {number} {kind} '{text}', expected {base_number} {base_kind} '{base_text}'")
        elif rect[:compared] != expected[:compared]:
            faults.append(f"control {number} {kind} '{text}' at {rect}, expected {expected}")
    return faults


def main():
    if len(sys.argv) not in (4, 5) or (len(sys.argv) == 5 and sys.argv[4] != "--geometry"):
        print(__doc__, file=sys.stderr)
        return 2
    dpi = int(sys.argv[3])
    faults = compare(read_dump(sys.argv[1]), read_dump(sys.argv[2]), dpi, texts=len(sys.argv) == 4)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
