#!/usr/bin/env bash
# Installs the built tree as a user without root would, and uses the install:
#   install_test.sh BUILD_DIR SOURCE_DIR
# 1. A staged install (DESTDIR) writes nothing outside DESTDIR/prefix.
# 2. An install into a temporary prefix, moved to another folder afterwards, still serves an
#    application built with find_package(Vellaro) and with pkg-config, and Designer loads the
#    plugin from it (relative run paths, a relocatable CMake package and pkg-config file).
set -euo pipefail
build=$1 source_dir=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

echo "== staged install"
DESTDIR="$tmp/stage" cmake --install "$build" --prefix /opt/vellaro >/dev/null
outside=$(cd "$tmp/stage" && find . -type f -o -type l | grep -v '^\./opt/vellaro/' || true)
if [ -n "$outside" ]; then
  echo "files installed outside the prefix:" >&2; echo "$outside" >&2; exit 1
fi
[ -f "$tmp/stage/opt/vellaro/share/vellaro-demo/Vellaro.rtf" ] || { echo "the demo's data is not installed" >&2; exit 1; }

echo "== install into a prefix, then move it"
cmake --install "$build" --prefix "$tmp/first" >/dev/null
mv "$tmp/first" "$tmp/moved"
plugin=$(find "$tmp/moved" -name '*VellaroDesignerPlugin*.so')
case "$plugin" in
  "$tmp"/moved/lib/*qt6/plugins/designer/*) ;;
  *) echo "the Designer plugin is not in the prefix's Qt plugin folder: $plugin" >&2; exit 1 ;;
esac
readelf -d "$plugin" | grep -q 'R.*PATH.*\$ORIGIN' || { echo "the plugin's run path is not relative" >&2; exit 1; }
plugin_dir=$(dirname "$plugin")
QT_PLUGIN_PATH=$(dirname "$plugin_dir") "$source_dir/tests/install/check_consumer.sh" \
  "$tmp/moved" "$plugin_dir" "$source_dir" "$tmp/work"

echo "== the installed demo finds its data"
QT_QPA_PLATFORM=offscreen "$tmp/moved/bin/VLDemo" --headless "$tmp/demo-out" >/dev/null
[ -s "$tmp/demo-out/demo-BioLife.pdf" ] || { echo "the installed demo printed no database page" >&2; exit 1; }
echo "install test passed"
