#!/usr/bin/env bash
# Makes a large MapInfo table for the table-loading benchmark from Natural
# Earth 1:10m countries (bench/large-countries.sh): a .tab with its
# .dat/.map/.id of at least MIN_MB megabytes together (default 10),
# bench/data/countries-10m-tab.tab, and the same data as a MIF/MID pair,
# bench/data/countries-10m-tab.mif, both written by ogr2ogr.
# Not committed (bench/data/ is ignored). Re-running keeps tables that are
# large enough; FORCE=1 rebuilds them.
set -euo pipefail
cd "$(dirname "$0")/.."

. bench/large-countries.sh
base="bench/data/countries-10m-tab"

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

# The one country without a geometry at this scale is left out (-skipfailures).
convert() { # $1: source, $2: SQL
  rm -f "$base".tab "$base".dat "$base".map "$base".id "$base".mif "$base".mid
  ogr2ogr -skipfailures -f "MapInfo File" -a_srs EPSG:4326 -nln countries \
    "$base.tab" "$1" -dialect SQLite -sql "$2" 2>/dev/null || true
}

make_large_countries make-large-tab convert table_bytes
# The same features as a MIF/MID pair, for our own reader.
ogr2ogr -f "MapInfo File" -dsco FORMAT=MIF "$base.mif" "$base.tab"

echo "$base.tab: $(table_bytes) bytes with its files, $(ogrinfo -ro -so -al "$base.tab" | sed -n 's/^Feature Count: //p') features"
echo "$base.mif: $(stat -c %s "$base.mif") bytes (+ $(stat -c %s "$base.mid") bytes .mid)"
