#!/usr/bin/env bash
# Makes a large MIF/MID pair for the loading benchmark from Natural Earth
# 1:10m countries (bench/large-countries.sh), at least MIN_MB megabytes
# (default 10): bench/data/countries-10m.mif/.mid.
# Not committed (bench/data/ is ignored). Re-running keeps an existing file
# that is large enough; FORCE=1 rebuilds it.
set -euo pipefail
cd "$(dirname "$0")/.."

. bench/large-countries.sh
out="bench/data/countries-10m.mif"

size_of() { stat -c %s "$1" 2>/dev/null || echo 0; }
mif_bytes() { size_of "$out"; }

if [ "${FORCE:-0}" != 1 ] && [ "$(mif_bytes)" -ge "$min_bytes" ] && [ -f "${out%.mif}.mid" ]; then
  echo "$out: $(mif_bytes) bytes (kept; FORCE=1 rebuilds)"
  exit 0
fi

# Unfiltered: one country has no geometry at this scale; GDAL fails on it,
# leaves its keyword behind and goes on (-skipfailures), as files in the wild
# have it.
convert() { # $1: source, $2: SQL
  rm -f "$out" "${out%.mif}.mid"
  ogr2ogr -skipfailures -f "MapInfo File" -dsco FORMAT=MIF -select name -nln countries \
    "$out" "$1" -dialect SQLite -sql "$2" 2>/dev/null || true
}

make_large_countries make-large-mif convert mif_bytes

objects=$(grep -ciE '^(region|pline|point)' "$out" || true)
echo "$out: $(mif_bytes) bytes, $objects objects (+ $(size_of "${out%.mif}.mid") bytes .mid)"
