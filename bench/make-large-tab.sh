#!/usr/bin/env bash
# Makes a large MapInfo table for the table-loading benchmark from Natural
# Earth 1:10m countries (public domain; npm package world-atlas): a .tab with
# its .dat/.map/.id of at least MIN_MB megabytes together (default 10),
# bench/data/countries-10m-tab.tab, and the same data as a MIF/MID pair,
# bench/data/countries-10m-tab.mif, both written by ogr2ogr.
# Not committed (bench/data/ is ignored). Re-running keeps tables that are
# large enough; FORCE=1 rebuilds them.
set -euo pipefail
cd "$(dirname "$0")/.."

. scripts/world-atlas.sh
MIN_MB="${MIN_MB:-10}"
base="bench/data/countries-10m-tab"
min_bytes=$((MIN_MB * 1024 * 1024))

table_bytes() {
  local n=0 f
  for f in "$base".tab "$base".dat "$base".map "$base".id; do
    [ -f "$f" ] && n=$((n + $(stat -c %s "$f")))
  done
  echo "$n"
}

if [ "${FORCE:-0}" != 1 ] && [ "$(table_bytes)" -ge "$min_bytes" ] && [ -f "$base.mif" ]; then
  echo "$base.tab: $(table_bytes) bytes with its files (kept; FORCE=1 rebuilds)"
  exit 0
fi

world_atlas_topojson make-large-tab 10m
topo="$TOPOJSON"
mkdir -p bench/data

# Rings across the 180th meridian are cut there, as for the samples. The one
# country without a geometry at this scale is left out (-skipfailures).
fixed="CASE WHEN ST_MinX(geometry) < -179.9 AND ST_MaxX(geometry) > 179.9
                  AND ST_MinY(geometry) > -80
        THEN ST_Union(
               ST_CollectionExtract(ST_Intersection(ST_MakeValid(ST_Shift_Longitude(geometry)),
                                                    BuildMbr(-180, -90, 180, 90)), 3),
               ST_Translate(ST_CollectionExtract(ST_Intersection(ST_MakeValid(ST_Shift_Longitude(geometry)),
                                                                 BuildMbr(180, -90, 540, 90)), 3),
                            -360, 0, 0))
        ELSE geometry END"
one="SELECT $fixed AS geometry, name FROM countries"

convert() { # $1: SQL
  rm -f "$base".tab "$base".dat "$base".map "$base".id "$base".mif "$base".mid
  ogr2ogr -skipfailures -f "MapInfo File" -a_srs EPSG:4326 -nln countries \
    "$base.tab" "$topo" -dialect SQLite -sql "$1" 2>/dev/null || true
}

convert "$one"
size=$(table_bytes)
if [ "$size" -lt "$min_bytes" ]; then
  # Not large enough at this scale: repeat the countries as often as needed.
  copies=$(((min_bytes + size - 1) / size))
  sql="$one"
  for ((i = 1; i < copies; i++)); do sql="$sql UNION ALL $one"; done
  convert "$sql"
fi
# The same features as a MIF/MID pair, for our own reader.
ogr2ogr -f "MapInfo File" -dsco FORMAT=MIF "$base.mif" "$base.tab"

echo "$base.tab: $(table_bytes) bytes with its files, $(ogrinfo -ro -so -al "$base.tab" | sed -n 's/^Feature Count: //p') features"
echo "$base.mif: $(stat -c %s "$base.mif") bytes (+ $(stat -c %s "$base.mid") bytes .mid)"
