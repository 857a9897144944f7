#!/usr/bin/env python3
"""Generates data/BKHough1.CSV, the default sand curves (see docs/sand-curves.md)."""
import math
import sys

# (void ratio at 10 kN/m2, Hough's bearing capacity index C') per sand class
CLASSES = [(0.90, 50.0), (0.80, 80.0), (0.70, 130.0), (0.60, 200.0), (0.50, 300.0)]
PRESSURES = [10.0, 20.0, 50.0, 100.0, 200.0, 500.0, 1000.0, 2000.0]

def main(path):
    rows = [str(len(PRESSURES))]
    for p in PRESSURES:
        fields = ["%.1f" % p]
        for e0, c in CLASSES:
            cc = (1.0 + e0) / c
            fields.append("%.3f" % (e0 - cc * math.log10(p / 10.0)))
        rows.append(",".join(fields))
    with open(path, "wb") as f:
        f.write(("\r\n".join(rows) + "\r\n").encode("ascii"))

if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "data/BKHough1.CSV")
