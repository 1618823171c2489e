# SPDX-License-Identifier: GPL-3.0-or-later
"""Sums gcovr's summary of each file of src/ by folder, prints a table of the
lines and branches covered, and fails when the lines of the folders free of
windows, together, are below the floor.

    coverage_summary.py COVERAGE.json FLOOR
"""

import json
import sys

# The folders that build without Qt and hold the program's reckoning.
CORE = ("base", "sim", "config", "calc")


def percent(covered, total):
    return 100.0 * covered / total if total else 100.0


def main():
    path, floor = sys.argv[1], float(sys.argv[2])
    with open(path, encoding="utf-8") as f:
        summary = json.load(f)
    folders = {}
    for entry in summary["files"]:
        parts = entry["filename"].split("/")
        folder = parts[1] if len(parts) > 2 and parts[0] == "src" else "(autres)"
        sums = folders.setdefault(folder, [0, 0, 0, 0])
        sums[0] += entry["line_covered"]
        sums[1] += entry["line_total"]
        sums[2] += entry["branch_covered"]
        sums[3] += entry["branch_total"]

    print(f"{'dossier':<12} {'lignes':>16} {'%':>6} {'branches':>16} {'%':>6}")
    core = [0, 0]
    for folder in sorted(folders):
        lc, lt, bc, bt = folders[folder]
        print(f"{folder:<12} {lc:>7} / {lt:<6} {percent(lc, lt):>6.1f} "
              f"{bc:>7} / {bt:<6} {percent(bc, bt):>6.1f}")
        if folder in CORE:
            core[0] += lc
            core[1] += lt
    total = summary
    print(f"{'src/':<12} {total['line_covered']:>7} / {total['line_total']:<6} "
          f"{total['line_percent']:>6.1f} {total['branch_covered']:>7} / "
          f"{total['branch_total']:<6} {total['branch_percent']:>6.1f}")
    share = percent(*core)
    print(f"lignes de {', '.join(CORE)} : {share:.1f} % (plancher : {floor:g} %)")
    if share < floor:
        print("la couverture des lignes est passée sous le plancher", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
