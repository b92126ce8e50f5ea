# Sourced by the scripts that make map data: fetches Natural Earth countries
# (public domain) as packaged in the npm package world-atlas (TopoJSON).
#
#   world_atlas_topojson NAME RESOLUTION   sets TOPOJSON to the path of countries-RESOLUTION.json
#
# Call it directly, not in $(...): the folder lives as long as the caller.
#
# The package goes into a temporary folder that is removed when the calling
# script exits; nothing is installed into the repository.

WORLD_ATLAS_VERSION="${WORLD_ATLAS_VERSION:-2.0.2}"

world_atlas_topojson() {
  local name="$1" resolution="$2" tool
  for tool in npm ogr2ogr; do
    command -v "$tool" >/dev/null || { echo "$name: $tool is required" >&2; return 1; }
  done
  world_atlas_tmp="$(mktemp -d)"
  trap 'rm -rf "$world_atlas_tmp"' EXIT
  (cd "$world_atlas_tmp" && npm pack --silent "world-atlas@$WORLD_ATLAS_VERSION" >/dev/null)
  tar -xzf "$world_atlas_tmp"/world-atlas-*.tgz -C "$world_atlas_tmp"
  TOPOJSON="$world_atlas_tmp/package/countries-$resolution.json"
  [ -f "$TOPOJSON" ] || { echo "$name: $TOPOJSON missing from the package" >&2; return 1; }
}
