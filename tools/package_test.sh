#!/usr/bin/env bash
# Checks the Debian packages in build-pkg/ (run as root by ./run.sh test, which removes them
# again afterwards): lintian finds no error, they install, an application builds and runs
# against /usr with find_package and pkg-config, Designer loads the plugin from the system's
# folder, and the installed demo finds its sample data.
set -euo pipefail
cd "$(dirname "$0")/.."
lintian --fail-on error --suppress-tags-from-file tools/lintian-suppressed build-pkg/*.deb
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends ./build-pkg/*.deb >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tests/install/check_consumer.sh /usr "$(qtpaths6 --query QT_INSTALL_PLUGINS)/designer" "$PWD" "$work"
QT_QPA_PLATFORM=offscreen VLDemo --headless "$work/demo" >/dev/null
[ -s "$work/demo/demo-BioLife.pdf" ] || { echo "the packaged demo printed no database page" >&2; exit 1; }
echo "Package test passed"
