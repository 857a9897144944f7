#!/usr/bin/python3
"""Writes the DXF test drawings of a cross-section with Debian's python3-ezdxf.

    /usr/bin/python3 tests/data/dxf/make_ezdxf_sections.py tests/data/dxf

The same section is drawn twice, the way current and older CAD programs
store it:
  section_r2000.dxf  LINE (3D), LWPOLYLINE (open and closed), a block
                     definition with an INSERT, arcs, circles and text.
  section_r12.dxf    LINE, 2D POLYLINE, closed 2D POLYLINE and 3D POLYLINE,
                     saved with CR LF line ends.

Section (m): a ground surface at y = 0 from x = -50.5 to 50.5 with a
trapezoidal embankment on it and a notch cut into it on the right, a layer
boundary at y = -10.25 and the base at y = -20.75. Coordinates are not
round so that the 15-digit round trip of the project file is exercised.
"""
import sys

import ezdxf

L, R = -50.5, 50.5
Y1, Y2 = -10.25, -20.75
SURFACE = [(L, 0.0), (-10.125, 0.0), (10.375, 0.0), (20.0, 0.0), (22.1, -2.2),
           (27.9, -2.2), (30.0, 0.0), (R, 0.0)]
EMBANKMENT = [(-10.125, 0.0), (-4.9, 5.3333333333333), (5.1, 5.3333333333333), (10.375, 0.0)]
NOTCH_TOP = [(20.0, 0.0), (30.0, 0.0)]
UPPER_SIDES = [[(L, 0.0), (L, Y1)], [(L, Y1), (R, Y1)], [(R, Y1), (R, 0.0)]]
LOWER = [(L, Y1), (R, Y1), (R, Y2), (L, Y2)]


def r2000(path):
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    msp.add_lwpolyline(SURFACE)
    msp.add_lwpolyline(EMBANKMENT)
    msp.add_line((NOTCH_TOP[0][0], NOTCH_TOP[0][1], 1.5), (NOTCH_TOP[1][0], NOTCH_TOP[1][1], 1.5))
    msp.add_line((L, 0.0, 0.0), (L, Y1, 0.0))
    msp.add_line((R, 0.0, 0.0), (R, Y1, 0.0))
    # The layer boundary is also an edge of the closed polyline below: the
    # repeated line must be imported once.
    msp.add_line((R, Y1, 0.0), (L, Y1, 0.0))
    msp.add_lwpolyline(LOWER, close=True)
    # Things that are not straight lines of the section.
    msp.add_circle((0.0, -30.0), 2.0)
    msp.add_arc((0.0, -30.0), 3.0, 0, 90)
    msp.add_text("No.1 section")
    # A symbol kept as a block definition; its line comes in where the
    # INSERT places it.
    blk = doc.blocks.new(name="MARK")
    blk.add_line((100.0, 100.0), (101.0, 101.0))
    msp.add_blockref("MARK", (0.0, 40.0))
    doc.saveas(path)


def r12(path):
    doc = ezdxf.new("R12")
    msp = doc.modelspace()
    msp.add_polyline2d(SURFACE)
    msp.add_polyline3d([(x, y, 2.0) for x, y in EMBANKMENT])
    msp.add_line(NOTCH_TOP[0], NOTCH_TOP[1])
    for a, b in UPPER_SIDES:
        msp.add_line(a, b)
    msp.add_polyline2d(LOWER, close=True)
    msp.add_circle((0.0, -30.0), 2.0)
    doc.saveas(path)
    with open(path, "rb") as f:
        data = f.read().replace(b"\r\n", b"\n")
    with open(path, "wb") as f:
        f.write(data.replace(b"\n", b"\r\n"))


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    r2000(out + "/section_r2000.dxf")
    r12(out + "/section_r12.dxf")
