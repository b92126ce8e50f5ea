#!/usr/bin/env bash
# Makes the georeferenced background of out/geotiff-background.png: Natural
# Earth 1:10m countries (bench/data/countries-10m.mif, from
# bench/large-countries.sh) read by chartix-convert (which reads past the
# file's one damaged object), burnt into a lon/lat raster by gdal_rasterize
# and warped to Web Mercator by gdalwarp, so that drawing it on a lon/lat map
# exercises the warp back. Then draws it under the 1:110m borders.
#
#   bench/make-background-tif.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
bin="${1:-build}/bin"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

"$bin/chartix-convert" bench/data/countries-10m.mif "$work/countries-10m.gpkg"
gdal_rasterize -q -burn 225 -burn 210 -burn 170 -init 168 -init 200 -init 226 -ot Byte \
  -a_srs EPSG:4326 -te -180 -90 180 90 -ts 3600 1800 "$work/countries-10m.gpkg" "$work/land-4326.tif"
gdalwarp -q -t_srs EPSG:3857 -te -20037508 -16000000 20037508 18400000 -ts 2400 2060 \
  -r bilinear -co COMPRESS=DEFLATE "$work/land-4326.tif" bench/data/land-3857.tif
ogr2ogr -f GPKG -a_srs EPSG:4326 -nlt MULTILINESTRING "$work/borders.gpkg" samples/countries.mif \
  -nln borders
"$bin/chartix-render" --size 1600x800 --antialias --background bench/data/land-3857.tif \
  --out out/geotiff-background.png "$work/borders.gpkg"
