#!/usr/bin/env bash
# Builds and runs an application against an installed Vellaro, as a user would:
#   check_consumer.sh PREFIX PLUGIN_FOLDER SOURCE_DIR WORK_DIR
# with CMake's find_package(Vellaro) and with pkg-config, then loads the Designer plugin and
# checks that it comes from PLUGIN_FOLDER.
set -euo pipefail
prefix=$1 plugin_dir=$2 source_dir=$3 work=$4
export QT_QPA_PLATFORM=offscreen
mkdir -p "$work"

echo "== find_package(Vellaro) from $prefix"
cmake -S "$source_dir/tests/install/consumer" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$prefix" -DVELLARO_EXAMPLES_DIR="$source_dir/examples" >/dev/null
cmake --build "$work/build"
(cd "$work" && "$work/build/FirstJob")
pages=$(pdfinfo "$work/first-job.pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" = 2 ] || { echo "FirstJob printed $pages pages, not 2" >&2; exit 1; }
pdftotext "$work/first-job.pdf" - | grep -q "Page 2 starts here" || { echo "FirstJob's text is missing" >&2; exit 1; }

echo "== pkg-config vellaro from $prefix"
pcdir=$(dirname "$(find "$prefix/lib" -name vellaro.pc -print -quit)")
flags=$(PKG_CONFIG_PATH="$pcdir" pkg-config --cflags --libs vellaro)
g++ -o "$work/FirstJob-pc" "$source_dir/examples/FirstJob.cpp" $flags -Wl,-rpath,"$(dirname "$pcdir")"
rm -f "$work/first-job.pdf"
(cd "$work" && "$work/FirstJob-pc")
[ -s "$work/first-job.pdf" ] || { echo "the pkg-config build printed nothing" >&2; exit 1; }

echo "== the Designer plugin"
"$work/build/DesignerPluginProbe" "$plugin_dir"
