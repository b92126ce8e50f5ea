# Sourced by make-large-mif.sh and make-large-tab.sh: Natural Earth 1:10m
# countries (public domain; npm package world-atlas) written by the caller's
# converter, repeated until the output reaches MIN_MB megabytes (default 10).
#
#   make_large_countries NAME CONVERT SIZE
#     CONVERT SOURCE SQL   writes the output from the TopoJSON SOURCE, selected
#                          by SQL (SQLite dialect)
#     SIZE                 prints the output's size in bytes

. scripts/world-atlas.sh
MIN_MB="${MIN_MB:-10}"
min_bytes=$((MIN_MB * 1024 * 1024))

# Rings across the 180th meridian are cut there, as for the samples.
countries_sql="SELECT CASE WHEN ST_MinX(geometry) < -179.9 AND ST_MaxX(geometry) > 179.9
                  AND ST_MinY(geometry) > -80
        THEN ST_Union(
               ST_CollectionExtract(ST_Intersection(ST_MakeValid(ST_Shift_Longitude(geometry)),
                                                    BuildMbr(-180, -90, 180, 90)), 3),
               ST_Translate(ST_CollectionExtract(ST_Intersection(ST_MakeValid(ST_Shift_Longitude(geometry)),
                                                                 BuildMbr(180, -90, 540, 90)), 3),
                            -360, 0, 0))
        ELSE geometry END AS geometry, name FROM countries"

make_large_countries() {
  local name="$1" convert="$2" size_fn="$3" size copies i sql
  world_atlas_topojson "$name" 10m
  mkdir -p bench/data
  "$convert" "$TOPOJSON" "$countries_sql"
  size=$("$size_fn")
  [ "$size" -gt 0 ] || { echo "$name: ogr2ogr wrote nothing" >&2; return 1; }
  if [ "$size" -lt "$min_bytes" ]; then
    # Not large enough at this scale: repeat the countries as often as needed.
    copies=$(((min_bytes + size - 1) / size))
    sql="$countries_sql"
    for ((i = 1; i < copies; i++)); do sql="$sql UNION ALL $countries_sql"; done
    "$convert" "$TOPOJSON" "$sql"
  fi
}
