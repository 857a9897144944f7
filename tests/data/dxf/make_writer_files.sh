#!/bin/sh
# Writes the DXF test drawings of other writers: Debian's gdal-bin (ogr2ogr)
# and pstoedit.
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
