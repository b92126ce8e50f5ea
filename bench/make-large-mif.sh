#!/usr/bin/env bash
# Makes a large MIF/MID pair for the loading benchmark from Natural Earth
# 1:10m countries (public domain; npm package world-atlas), at least
# MIN_MB megabytes (default 10): bench/data/countries-10m.mif/.mid.
# Not committed (bench/data/ is ignored). Re-running keeps an existing file
# that is large enough; FORCE=1 rebuilds it.
set -euo pipefail
cd "$(dirname "$0")/.."

. scripts/world-atlas.sh
MIN_MB="${MIN_MB:-10}"
out="bench/data/countries-10m.mif"
min_bytes=$((MIN_MB * 1024 * 1024))

size_of() { stat -c %s "$1" 2>/dev/null || echo 0; }

if [ "${FORCE:-0}" != 1 ] && [ "$(size_of "$out")" -ge "$min_bytes" ] && [ -f "${out%.mif}.mid" ]; then
  echo "$out: $(size_of "$out") bytes (kept; FORCE=1 rebuilds)"
  exit 0
fi

world_atlas_topojson make-large-mif 10m
topo="$TOPOJSON"

mkdir -p bench/data
# Unfiltered: one country has no geometry at this scale; GDAL fails on it,
# leaves its keyword behind and goes on (-skipfailures), as files in the wild
# have it. Rings across the 180th meridian are cut there, as for the samples.
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
  rm -f "$out" "${out%.mif}.mid"
  ogr2ogr -skipfailures -f "MapInfo File" -dsco FORMAT=MIF -select name -nln countries \
    "$out" "$topo" -dialect SQLite -sql "$1" 2>/dev/null || true
}

convert "$one"
size=$(size_of "$out")
if [ "$size" -lt "$min_bytes" ]; then
  # Not large enough at this scale: repeat the countries as often as needed.
  copies=$(((min_bytes + size - 1) / size))
  sql="$one"
  for ((i = 1; i < copies; i++)); do sql="$sql UNION ALL $one"; done
  convert "$sql"
fi

objects=$(grep -ciE '^(region|pline|point)' "$out" || true)
echo "$out: $(size_of "$out") bytes, $objects objects (+ $(size_of "${out%.mif}.mid") bytes .mid)"
