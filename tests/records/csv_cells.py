#!/usr/bin/env python3
"""Reads a record file with Python's csv module and prints, for each row, the
number of cells and the UTF-8 bytes of the last cell in hex: an independent
reader's view of how a spreadsheet would split the file."""
import csv
import sys

with open(sys.argv[1], encoding="utf-8-sig", newline="") as f:
    for row in csv.reader(f):
        print(len(row), row[-1].encode("utf-8").hex() if row else "")
