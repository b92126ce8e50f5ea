# Sourced by the scripts that make map data: fetches public-domain map data
# packaged as TopoJSON in npm packages: Natural Earth countries (world-atlas)
# and US Census counties (us-atlas).
#
#   world_atlas_topojson NAME RESOLUTION   sets TOPOJSON to the path of countries-RESOLUTION.json
#   us_atlas_topojson NAME                 sets TOPOJSON to the path of counties-10m.json
#
# Call them directly, not in $(...): the folder lives as long as the caller.
#
# The packages go into a temporary folder that is removed when the calling
# script exits; nothing is installed into the repository.

WORLD_ATLAS_VERSION="${WORLD_ATLAS_VERSION:-2.0.2}"
US_ATLAS_VERSION="${US_ATLAS_VERSION:-3.0.1}"

# atlas_file NAME PACKAGE@VERSION FILE: sets TOPOJSON to FILE of the package.
atlas_file() {
  local name="$1" package="$2" file="$3" tool dir
  for tool in npm ogr2ogr; do
    command -v "$tool" >/dev/null || { echo "$name: $tool is required" >&2; return 1; }
  done
  if [ -z "${atlas_tmp:-}" ]; then
    atlas_tmp="$(mktemp -d)"
    trap 'rm -rf "$atlas_tmp"' EXIT
  fi
  dir="$atlas_tmp/${package%@*}"
  if [ ! -d "$dir" ]; then
    mkdir -p "$dir"
    (cd "$dir" && npm pack --silent "$package" >/dev/null)
    tar -xzf "$dir"/*.tgz -C "$dir"
  fi
  TOPOJSON="$dir/package/$file"
  [ -f "$TOPOJSON" ] || { echo "$name: $file missing from $package" >&2; return 1; }
}

world_atlas_topojson() {
  atlas_file "$1" "world-atlas@$WORLD_ATLAS_VERSION" "countries-$2.json"
}

us_atlas_topojson() {
  atlas_file "$1" "us-atlas@$US_ATLAS_VERSION" "counties-10m.json"
}
