#!/usr/bin/env bash
# Installs the built tree into a scratch prefix and builds a consumer program
# against it twice, with find_package(Chartix) and with pkg-config, running
# each headless on a sample file; checks that the Designer plugin finds the
# installed libraries.
# Usage: check-package.sh BUILD_DIR SAMPLE.mif SAMPLE.tab
set -euo pipefail
build=$1
mif=$2
tab=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
# The consumers must start from their own run paths, and find the MITAB
# module from the installation, not from the build.
unset LD_LIBRARY_PATH CHARTIX_MODULE_PATH

cmake --install "$build" --prefix "$work/prefix" >/dev/null
echo "installed:"
(cd "$work/prefix" && find . -type f -o -type l | sort | grep -v '^./include/chartix/.*/' ; \
 echo "./include/chartix/: $(find include/chartix -name '*.h' | wc -l) headers")

# Every installed header stands on the installed ones alone.
for h in $(cd "$work/prefix/include" && find chartix -name '*.h' | sort); do
  echo "#include <$h>"
done >"$work/all-headers.cpp"
echo "== $(wc -l <"$work/all-headers.cpp") installed headers compile together"
# shellcheck disable=SC2046
c++ -std=c++20 -fPIC -fsyntax-only -I"$work/prefix/include" \
    $(pkg-config --cflags Qt6Widgets fmt) "$work/all-headers.cpp"
for lib in libchartix.so libchartix_platform.so; do
  echo "$lib exports $(nm -D --defined-only "$(find "$work/prefix" -name "$lib")" | wc -l) symbols"
done

echo "== find_package(Chartix)"
cmake -S "$here/consumer" -B "$work/with-cmake" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/with-cmake" >/dev/null
"$work/with-cmake/consumer" "$mif" "$tab"

echo "== pkg-config chartix"
export PKG_CONFIG_PATH
PKG_CONFIG_PATH=$(dirname "$(find "$work/prefix" -name chartix.pc)")
# shellcheck disable=SC2046
c++ -std=c++20 -fPIC "$here/consumer/consumer.cpp" -o "$work/consumer-pc" \
    $(pkg-config --cflags --libs chartix)
"$work/consumer-pc" "$mif" "$tab"

# The Designer plugin, when it was built, finds the installed libraries from
# its own folder (Designer loads it from anywhere).
plugin=$(find "$work/prefix" -name 'libchartix_designer.so')
if [ -n "$plugin" ]; then
  echo "== Designer plugin ${plugin#"$work/prefix/"}"
  # Read whole first: grep -q stopping early would fail the pipe under pipefail.
  deps=$(ldd "$plugin")
  for lib in libchartix.so.0 libchartix_platform.so.0; do
    grep -q "$lib => $work/prefix/" <<<"$deps" || { echo "the plugin misses the installed $lib" >&2; exit 1; }
  done
  echo "finds the installed libraries"
fi
