#!/usr/bin/python3
"""Writes the DXF test drawings in drawing units with Debian's python3-ezdxf,
each with the library's full default header (many code-2 variables such as
$DIMSTYLE before $INSUNITS).

    /usr/bin/python3 tests/data/dxf/make_ezdxf_units.py tests/data/dxf

  units_<version>_<unit>.dxf  for R12, R2000, R2010, R2018 and mm, cm, ft, m:
      SHAPE (one polyline), LINE_ and ARC_ below in metres, written in the
      unit, with a linear dimension. R12 has no $INSUNITS: its numbers are
      taken as metres.
  cad_section_mm.dxf, cad_section_m.dxf  a section as users draw it: ground
      and layer lines on two layers, an embankment block inserted twice,
      dimensions, a construction line on a frozen layer and a title block in
      paper space; the same section in millimetres and in metres.
  left_out.dxf  one of every kind of entity the import leaves out, the
      annotation that needs no word, and one line.
"""
import sys

import ezdxf
from ezdxf import units

SHAPE = [(-40.25, 0.0), (-12.5, 0.0), (-4.125, 3.5), (4.125, 3.5), (12.5, 0.0), (40.25, 0.0)]
LINE_ = ((-40.25, -8.75), (40.25, -8.75))
ARC_ = ((0.0, -40.0), 30.0, 80.0, 100.0)  # centre, radius, start and end angle
UNITS = {"mm": (units.MM, 1000.0), "cm": (units.CM, 100.0), "ft": (units.FT, 1 / 0.3048), "m": (units.M, 1.0)}


def matrix(out):
    for version in ("R12", "R2000", "R2010", "R2018"):
        for name, (code, per_m) in UNITS.items():
            doc = ezdxf.new(version)
            doc.units = code
            msp = doc.modelspace()
            s = [(x * per_m, y * per_m) for x, y in SHAPE]
            if version == "R12":
                msp.add_polyline2d(s)
            else:
                msp.add_lwpolyline(s)
            (a, b) = LINE_
            msp.add_line((a[0] * per_m, a[1] * per_m), (b[0] * per_m, b[1] * per_m))
            (c, r, a0, a1) = ARC_
            msp.add_arc((c[0] * per_m, c[1] * per_m), r * per_m, a0, a1)
            dim = msp.add_linear_dim(base=(0, 10 * per_m), p1=s[0], p2=s[-1])
            dim.render()
            doc.saveas(f"{out}/units_{version.lower()}_{name}.dxf")


# The section in metres: ground, a layer line and the base, the sides, and
# an embankment (block coordinates, base point the left toe) at two places.
GROUND = [(-50, 0), (-30, 0), (-16, 0), (10, 0), (24, 0), (50, 0)]
EMBANKMENT = [(0, 0), (4, 3), (10, 3), (14, 0)]


def section(path, per_m):
    def p(pt):
        return (pt[0] * per_m, pt[1] * per_m)

    doc = ezdxf.new("R2010", setup=True)
    doc.units = units.MM if per_m == 1000 else units.M
    doc.layers.add("GROUND", color=3)
    doc.layers.add("SOIL", color=2)
    doc.layers.add("DIM", color=1)
    doc.layers.add("CONSTR", color=8).freeze()
    doc.layers.add("SHEET", color=7)
    emb = doc.blocks.new("EMB")
    emb.add_lwpolyline([p(v) for v in EMBANKMENT])
    title = doc.blocks.new("TITLE")
    for a, b in [((0, 0), (180, 0)), ((180, 0), (180, 40)), ((0, 40), (180, 40))]:
        title.add_line(a, b)
    title.add_text("No.1 section").set_placement((5, 20))
    msp = doc.modelspace()
    msp.add_lwpolyline([p(v) for v in GROUND], dxfattribs={"layer": "GROUND"})
    msp.add_line(p((-50, -6)), p((50, -6)), dxfattribs={"layer": "SOIL"})
    msp.add_lwpolyline([p((-50, 0)), p((-50, -6)), p((-50, -15))], dxfattribs={"layer": "SOIL"})
    msp.add_lwpolyline([p((50, 0)), p((50, -6)), p((50, -15))], dxfattribs={"layer": "SOIL"})
    msp.add_line(p((-50, -15)), p((50, -15)), dxfattribs={"layer": "SOIL"})
    for x1, x2 in [(-30, -16), (10, 24), (-50, 50)]:
        msp.add_linear_dim(base=p((0, 6)), p1=p((x1, 0)), p2=p((x2, 0)), dxfattribs={"layer": "DIM"}).render()
    msp.add_line(p((-60, -3)), p((60, 4)), dxfattribs={"layer": "CONSTR"})
    msp.add_blockref("EMB", p((-30, 0)), dxfattribs={"layer": "GROUND"})
    msp.add_blockref("EMB", p((10, 0)), dxfattribs={"layer": "GROUND"})
    psp = doc.layout("Layout1")
    psp.add_line((0, 0), (420, 0), dxfattribs={"layer": "SHEET"})
    psp.add_line((420, 0), (420, 297), dxfattribs={"layer": "SHEET"})
    psp.add_blockref("TITLE", (240, 0), dxfattribs={"layer": "SHEET"})
    doc.saveas(path)


def left_out(path):
    doc = ezdxf.new("R2018", setup=True)
    doc.units = units.M
    msp = doc.modelspace()
    msp.add_line((0, 0), (10, 0))
    msp.add_mline([(0, 20), (10, 20), (10, 25)])
    msp.add_3dface([(0, 30), (1, 30), (1, 31), (0, 31)])
    msp.add_leader([(0, 40), (5, 45), (8, 45)])
    msp.add_xline((0, 50), (1, 1))
    msp.add_ray((0, 60), (1, 0))
    face = msp.add_polyface()
    face.append_face([(0, 70, 0), (1, 70, 0), (1, 71, 0)])
    msp.add_polymesh((2, 2)).set_mesh_vertex((0, 0), (0, 80, 0))
    msp.add_solid([(0, 90), (1, 90), (0, 91)])
    msp.add_trace([(0, 100), (1, 100), (0, 101), (1, 101)])
    msp.add_trace([(5, 100), (6, 100), (5, 101), (6, 101)])
    hatch = msp.add_hatch(color=2)
    hatch.paths.add_polyline_path([(0, 110), (1, 110), (1, 111)], is_closed=True)
    msp.add_spline([(0, 120), (1, 121), (2, 120), (3, 121)])
    msp.add_wipeout([(0, 130), (1, 130), (1, 131)])
    # Annotation: no word.
    msp.add_text("note").set_placement((0, -10))
    msp.add_mtext("note").set_location((0, -20))
    msp.add_point((0, -30))
    msp.add_linear_dim(base=(0, -40), p1=(0, 0), p2=(10, 0)).render()
    mark = doc.blocks.new("MARK")
    mark.add_attdef("NO", (0, 0))
    msp.add_auto_blockref("MARK", (0, -50), {"NO": "1"})
    doc.saveas(path)


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    matrix(out)
    section(out + "/cad_section_mm.dxf", 1000)
    section(out + "/cad_section_m.dxf", 1)
    left_out(out + "/left_out.dxf")
