#!/usr/bin/env python3
"""Prints line and branch coverage per source folder from gcovr's JSON summary.

    coverage_summary.py TITLE SUMMARY.json

A folder is the directory of each file as gcovr names it (relative to the
source root): app, app/win32, engine, platform... A folder of which the build
measured one file only is named by that file (platform/platform_win32.cpp in
the Windows build). A folder with no branch at all shows "-".
"""
import json
import os
import sys


def percent(covered, total):
    return "%5.1f %%" % (100.0 * covered / total) if total else "    -  "


def row(name, c):
    return "  %-28s lines %s (%5d of %5d)   branches %s (%5d of %5d)" % (
        name, percent(c[0], c[1]), c[0], c[1], percent(c[2], c[3]), c[2], c[3])


def folders(files):
    """Sums [lines covered, lines, branches covered, branches] per folder."""
    sums = {}
    members = {}
    for f in files:
        if f["line_total"] == 0:
            continue  # compiled out in this build
        name = os.path.dirname(f["filename"]) or "."
        members.setdefault(name, []).append(f["filename"])
        c = sums.setdefault(name, [0, 0, 0, 0])
        c[0] += f["line_covered"]
        c[1] += f["line_total"]
        c[2] += f["branch_covered"]
        c[3] += f["branch_total"]
    return {members[n][0] if len(members[n]) == 1 else n: c for n, c in sums.items()}


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: coverage_summary.py TITLE SUMMARY.json\n")
        return 2
    with open(argv[2], encoding="utf-8") as f:
        summary = json.load(f)
    files = summary.get("files", [])
    if not files:
        print("%s: no source file was measured" % argv[1])
        return 1
    print("%s:" % argv[1])
    sums = folders(files)
    for name in sorted(sums):
        print(row(name, sums[name]))
    total = [sum(c[i] for c in sums.values()) for i in range(4)]
    print(row("all", total))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
