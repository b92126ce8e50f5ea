#!/usr/bin/env bash
# Rebuilds the sample layers from Natural Earth 1:110m countries (public
# domain), as packaged in the npm package world-atlas (TopoJSON).
#
#   samples/countries.mif/.mid  one region per country: name, soft fill, grey outline
#   samples/places.mif/.mid     one point inside each country, with its name
#   samples/us-counties.mif/.mid  US counties (us-atlas), converted as they come:
#                               GDAL fails on one empty geometry and leaves its
#                               keyword behind, as real files in the wild have it
#
# Needs npm and GDAL's ogr2ogr (scripts/deps installs gdal-bin). Re-runnable:
# the outputs are replaced. Nothing is installed into the repository.
set -euo pipefail
cd "$(dirname "$0")/.."

. scripts/world-atlas.sh
RESOLUTION="${RESOLUTION:-110m}"
out="samples"

world_atlas_topojson make-samples "$RESOLUTION"
topo="$TOPOJSON"

# The TopoJSON is spherical: rings of Fiji and Russia run across the 180th
# meridian and would draw as bands round the whole plane map. Such geometries
# are shifted to 0..360, cut at 180 and the eastern half moved back by -360.
# Antarctica also touches both edges but closes along the bottom of the map,
# which is already right in the plane, hence the latitude test.
fixed="CASE WHEN ST_MinX(geometry) < -179.9 AND ST_MaxX(geometry) > 179.9
                  AND ST_MinY(geometry) > -80
        THEN ST_Union(
               ST_CollectionExtract(ST_Intersection(ST_MakeValid(ST_Shift_Longitude(geometry)),
                                                    BuildMbr(-180, -90, 180, 90)), 3),
               ST_Translate(ST_CollectionExtract(ST_Intersection(ST_MakeValid(ST_Shift_Longitude(geometry)),
                                                                 BuildMbr(180, -90, 540, 90)), 3),
                            -360, 0, 0))
        ELSE geometry END"

# Seven soft fills, taken in turn, so that neighbours mostly differ.
palette="'#e8d3a9#c9dfb4#f2c9b1#b9d4e6#e6c8dc#d9e4a6#f1e2a0'"
style="printf('BRUSH(fc:%s);PEN(c:#5a5a5a,w:1px)', substr($palette, (rowid % 7) * 7 + 1, 7))"

rm -f "$out"/countries.mif "$out"/countries.mid "$out"/places.mif "$out"/places.mid \
  "$out"/us-counties.mif "$out"/us-counties.mid
ogr2ogr -f "MapInfo File" -dsco FORMAT=MIF -select name -nln countries \
  "$out/countries.mif" "$topo" -dialect SQLite \
  -sql "SELECT $fixed AS geometry, name, $style AS OGR_STYLE FROM countries ORDER BY name"

ogr2ogr -f "MapInfo File" -dsco FORMAT=MIF -select name -nln places \
  "$out/places.mif" "$out/countries.mif" -dialect SQLite \
  -sql "SELECT ST_PointOnSurface(geometry) AS geometry, name,
               'SYMBOL(id:\"mapinfo-sym-34\",c:#b03a2e,s:6pt)' AS OGR_STYLE
        FROM countries ORDER BY name"

# Unfiltered: -skipfailures goes on past the county that has no geometry.
us_atlas_topojson make-samples
ogr2ogr -skipfailures -f "MapInfo File" -dsco FORMAT=MIF -nln us-counties \
  "$out/us-counties.mif" "$TOPOJSON" counties 2>/dev/null || true

# The world layers again as MapInfo tables, and a workspace over them in the
# statement forms a workspace file uses.
rm -f "$out"/countries.tab "$out"/countries.dat "$out"/countries.map "$out"/countries.id \
  "$out"/places.tab "$out"/places.dat "$out"/places.map "$out"/places.id
for f in countries places; do
  ogr2ogr -f "MapInfo File" -a_srs EPSG:4326 "$out/$f.tab" "$out/$f.mif"
done
cat >"$out/world.wor" <<'WOR'
!Workspace
!Version 600
!Charset Neutral
Open Table "countries" As Countries Interactive
Open Table "places" As Places Interactive
Map From Places,Countries
  Position (0.1,0.1) Units "in"
  Width 10 Units "in" Height 5 Units "in"
Set Window FrontWindow() ScrollBars Off Autoscroll On
Set Map
  CoordSys Earth Projection 1, 104
  Center (10,20)
  Zoom 40000 Units "km"
  Preserve Zoom Display Zoom
  Distance Units "km" Area Units "sq km" XY Units "degree"
Set Map
  Layer 1
    Display Global
    Global Pen (1,2,0) Global Brush (2,11549230,16777215) Global Symbol (34,11549230,6) Global Line (1,2,0) Global Font ("DejaVu Sans",0,8,4210752)
    Zoom (0, 30000) Units "km" Off
    Label Line None Position Right Font ("DejaVu Sans",0,8,4210752) Pen (1,2,0)
      With name
      Parallel On Auto On Overlap Off Duplicates On Offset 2
      Visibility On
  Layer 2
    Display Global
    Global Pen (1,2,5921370) Global Brush (2,15258537,0) Global Symbol (35,0,12) Global Line (1,2,0) Global Font ("DejaVu Sans",0,9,0)
    Zoom (0, 50000) Units "km" On
    Label Line None Position Center Font ("DejaVu Sans",0,9,0) Pen (1,2,0)
      With name
      Parallel On Auto Off Overlap Off Duplicates On Offset 2
      Visibility On
Set Map Layer 2 Editable
WOR

for f in countries places us-counties; do
  n=$(grep -ciE '^(region|pline|point)' "$out/$f.mif" || true)
  echo "$out/$f.mif: $n objects, $(du -k "$out/$f.mif" | cut -f1) KiB"
done
echo "$out/world.wor: countries.tab and places.tab, $(cat "$out"/countries.* "$out"/places.* | wc -c) bytes with the .mif pairs"
