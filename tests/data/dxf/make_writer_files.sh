#!/bin/sh
# Writes the DXF test drawings of other writers: Debian's gdal-bin (ogr2ogr),
# pstoedit and libdxflib-dev (a small program built with g++).
#
#     sh tests/data/dxf/make_writer_files.sh tests/data/dxf
#
#   gdal_section.dxf   a 60 m section (ground, embankment, one layer line)
#                      exported from GeoJSON in metres; the writer's header
#                      declares inches.
#   gdal_polygons.dxf  the same ground as three polygons, which the writer
#                      turns into hatches: no line among them.
#   pstoedit_mm.dxf    a 194 mm wide section drawn in PostScript, written
#                      with -mm: no units in the header.
#   dxflib_mm.dxf      a 40 m section in millimetres ($INSUNITS 4): the
#                      ground as LINEs on a layer of its own, a layer line
#                      as a polyline (the library writes LWPOLYLINE).
set -e
out=${1:-.}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cat >"$tmp/section.geojson" <<'JSON'
{"type": "FeatureCollection", "features": [
 {"type": "Feature", "properties": {}, "geometry": {"type": "LineString",
  "coordinates": [[-30, 0], [-10, 0], [-4, 3], [4, 3], [10, 0], [30, 0]]}},
 {"type": "Feature", "properties": {}, "geometry": {"type": "LineString",
  "coordinates": [[-30, -6], [30, -6]]}}
]}
JSON
cat >"$tmp/polygons.geojson" <<'JSON'
{"type": "FeatureCollection", "features": [
 {"type": "Feature", "properties": {}, "geometry": {"type": "Polygon",
  "coordinates": [[[-30, 0], [-10, 0], [-10, -6], [-30, -6], [-30, 0]]]}},
 {"type": "Feature", "properties": {}, "geometry": {"type": "Polygon",
  "coordinates": [[[-10, 0], [10, 0], [10, -6], [-10, -6], [-10, 0]]]}},
 {"type": "Feature", "properties": {}, "geometry": {"type": "Polygon",
  "coordinates": [[[10, 0], [30, 0], [30, -6], [10, -6], [10, 0]]]}}
]}
JSON
rm -f "$out/gdal_section.dxf" "$out/gdal_polygons.dxf"
ogr2ogr -f DXF "$out/gdal_section.dxf" "$tmp/section.geojson"
ogr2ogr -f DXF "$out/gdal_polygons.dxf" "$tmp/polygons.geojson"
# 194 mm = 550 points; the embankment 40 mm high.
cat >"$tmp/section.ps" <<'PS'
%!PS
0.5 setlinewidth
100 300 moveto 250 300 lineto 300 413.39 lineto 350 413.39 lineto 400 300 lineto 650 300 lineto stroke
100 200 moveto 650 200 lineto stroke
showpage
PS
pstoedit -q -f "dxf:-mm" "$tmp/section.ps" "$out/pstoedit_mm.dxf"
cat >"$tmp/section.cpp" <<'CPP'
#include <dxflib/dl_dxf.h>
#include <dxflib/dl_attributes.h>
#include <cstdio>
// A 40 m section drawn in millimetres: ground, embankment, one layer line.
int main(int argc, char** argv) {
    DL_Dxf dxf;
    DL_WriterA* dw = dxf.out(argv[1], DL_Codes::AC1015);
    if (!dw) return 1;
    dxf.writeHeader(*dw);
    dw->dxfString(9, "$INSUNITS");
    dw->dxfInt(70, 4);
    dw->sectionEnd();
    dw->sectionTables();
    dxf.writeVPort(*dw);
    dw->tableLinetypes(1);
    dxf.writeLinetype(*dw, DL_LinetypeData("CONTINUOUS", "Continuous", 0, 0, 0.0));
    dw->tableEnd();
    dw->tableLayers(2);
    dxf.writeLayer(*dw, DL_LayerData("0", 0), DL_Attributes("", 7, 0x00ff0000, 15, "CONTINUOUS"));
    dxf.writeLayer(*dw, DL_LayerData("GROUND", 0), DL_Attributes("", 3, 0x0000ff00, 15, "CONTINUOUS"));
    dw->tableEnd();
    dw->tableStyle(1);
    dxf.writeStyle(*dw, DL_StyleData("standard", 0, 2.5, 1.0, 0.0, 0, 2.5, "txt", ""));
    dw->tableEnd();
    dxf.writeView(*dw);
    dxf.writeUcs(*dw);
    dw->tableAppid(1);
    dxf.writeAppid(*dw, "ACAD");
    dw->tableEnd();
    dxf.writeDimStyle(*dw, 1, 1, 1, 1, 1);
    dxf.writeBlockRecord(*dw);
    dw->tableEnd();
    dw->sectionEnd();
    dw->sectionBlocks();
    dxf.writeBlock(*dw, DL_BlockData("*Model_Space", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(*dw, "*Model_Space");
    dxf.writeBlock(*dw, DL_BlockData("*Paper_Space", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(*dw, "*Paper_Space");
    dw->sectionEnd();
    dw->sectionEntities();
    const DL_Attributes ground("GROUND", 256, -1, "BYLAYER", 1.0);
    const double surface[][2] = {{-20000, 0}, {-7500, 0}, {-2500, 2500}, {2500, 2500}, {7500, 0}, {20000, 0}};
    for (int i = 0; i + 1 < 6; ++i)
        dxf.writeLine(*dw, DL_LineData(surface[i][0], surface[i][1], 0, surface[i + 1][0], surface[i + 1][1], 0), ground);
    dxf.writePolyline(*dw, DL_PolylineData(2, 0, 0, 0), DL_Attributes("0", 256, -1, "BYLAYER", 1.0));
    dxf.writeVertex(*dw, DL_VertexData(-20000, -5250, 0, 0));
    dxf.writeVertex(*dw, DL_VertexData(20000, -5250, 0, 0));
    dxf.writePolylineEnd(*dw);
    dw->sectionEnd();
    dxf.writeObjects(*dw);
    dxf.writeObjectsEnd(*dw);
    dw->dxfEOF();
    dw->close();
    delete dw;
    return 0;
}
CPP
g++ -o "$tmp/section" "$tmp/section.cpp" $(pkg-config --cflags --libs dxflib)
"$tmp/section" "$out/dxflib_mm.dxf"
