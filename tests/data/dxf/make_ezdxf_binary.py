#!/usr/bin/python3
"""Writes a binary DXF test drawing with Debian's python3-ezdxf.

    /usr/bin/python3 tests/data/dxf/make_ezdxf_binary.py tests/data/dxf

  ezdxf_binary.dxf  a ground line and an embankment in metres, saved in the
                    binary form of the format, which the import does not read.
"""
import sys

import ezdxf

doc = ezdxf.new("R2000")
doc.header["$INSUNITS"] = 6
msp = doc.modelspace()
msp.add_lwpolyline([(-30.0, 0.0), (-10.0, 0.0), (-4.0, 3.0), (4.0, 3.0), (10.0, 0.0), (30.0, 0.0)])
msp.add_line((-30.0, -6.0), (30.0, -6.0))
doc.saveas(sys.argv[1] + "/ezdxf_binary.dxf", fmt="bin")
