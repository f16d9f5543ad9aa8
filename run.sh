#!/usr/bin/env bash
# One entry point for people and CI.
#   ./run.sh demo   install what is missing, build, run the main program
#   ./run.sh test   install what is missing, build, run the whole suite (plain and sanitized)
#   ./run.sh bench  build and run the benchmarks
#   ./run.sh fuzz   build and run the fuzz targets for a short time (VELLARO_FUZZ_SECONDS)
#   ./run.sh package  build the Debian packages into build-pkg/
#   ./run.sh docs   write the API reference to build/docs/html
set -euo pipefail
cd "$(dirname "$0")"
# Qt wants a private runtime folder; a bare root shell or CI has none.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="/tmp/runtime-$(id -u)"
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fi

PACKAGES=(g++ cmake ninja-build qt6-base-dev libqt6sql6-sqlite qt6-tools-dev libqt6opengl6-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev fonts-liberation2 fonts-dejavu-core
  poppler-utils cups printer-driver-cups-pdf xvfb xauth imagemagick clang libclang-rt-14-dev ccache
  postgresql libqt6sql6-psql mariadb-server libqt6sql6-mysql python3 designer-qt6 dpkg-dev lintian
  file doxygen qt6-l10n-tools qt6-svg-dev libqpdf-dev qpdf)

ensure_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local cmd=(apt-get install -y --no-install-recommends "${missing[@]}")
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive "${cmd[@]}"
  elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    echo "Installing: ${missing[*]}"
    sudo apt-get update -qq && sudo DEBIAN_FRONTEND=noninteractive "${cmd[@]}"
  else
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "Install them as root, then run this again:" >&2
    echo "  apt-get update && ${cmd[*]}" >&2
    exit 1
  fi
}

# build DIR [CMAKE_OPTIONS...]; BUILD_TARGET, when set, builds only that target and what it needs.
build() {
  local dir=$1; shift
  local launcher=()
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    # Paths relative to the checkout, so another clone of the project reuses the cache.
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  fi
  cmake -S . -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
  cmake --build "$dir" ${BUILD_TARGET:+--target "$BUILD_TARGET"}
}

run_demo() {
  ensure_packages
  # Only the demo and what it needs: the suite is the test command's business.
  BUILD_TARGET=VLDemo build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
  exec build/demo/VLDemo "$@"
}

run_tests() {
  ensure_packages
  export QT_QPA_PLATFORM=offscreen
  build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
  ctest --test-dir build -j2 --output-on-failure
  run_package_test
  # The readers of outside input, fuzzed for a short time.
  LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" run_fuzz
  # The same suite with AddressSanitizer and UndefinedBehaviorSanitizer (last, so the run ends
  # with the test runner's summary).
  build build-asan -DCMAKE_BUILD_TYPE=Debug -DVELLARO_SANITIZE=ON -DVELLARO_BUILD_BENCHMARKS=OFF
  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-asan -j2 --output-on-failure
}

# Each fuzz target runs for a short fixed time on its seed corpus (a copy, so new inputs stay out
# of the repository). Set VELLARO_FUZZ_SECONDS to fuzz longer.
run_fuzz() {
  local seconds=${VELLARO_FUZZ_SECONDS:-30}
  build build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DVELLARO_FUZZ=ON
  for f in build-fuzz/tests/fuzz/fuzz_*; do
    [ -f "$f" ] && [ -x "$f" ] || continue  # not the *_autogen folders
    local name; name=$(basename "$f"); name=${name#fuzz_}
    local corpus; corpus=$(mktemp -d)
    cp -r "tests/fuzz/corpus/$name/." "$corpus/" 2>/dev/null || true
    echo "Fuzzing $name for ${seconds}s"
    # An input that takes more than 10 s or 2 GiB is reported like a crash.
    ASAN_OPTIONS=detect_leaks=1 "$f" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$corpus"
    rm -rf "$corpus"
  done
}

# The API reference from the header comments; fails on an undocumented published class or member.
run_docs() {
  local out=build/docs version
  version=$(sed -n 's/^project(Vellaro VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
  mkdir -p "$out"
  sed -e "s|@PROJECT_VERSION@|$version|" -e "s|@DOCS_OUTPUT@|$PWD/$out|g" -e "s|@PROJECT_SOURCE_DIR@|$PWD|g" \
    docs/api/Doxyfile.in > "$out/Doxyfile"
  doxygen "$out/Doxyfile"
  tools/check_api_docs.sh "$out/warnings.log"
  echo "$PWD/$out/html/index.html"
}

# The Debian packages, from a tree configured for /usr without tests and benchmarks.
run_package() {
  build build-pkg -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
    -DVELLARO_BUILD_TESTS=OFF -DVELLARO_BUILD_BENCHMARKS=OFF
  rm -f build-pkg/*.deb
  (cd build-pkg && cpack -G DEB >/dev/null)
  ls build-pkg/*.deb
}

# Installs the packages on this machine (root only), builds and runs an application against
# /usr, loads the Designer plugin from the system's folder, and removes the packages again.
run_package_test() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "Package test skipped: installing packages needs root"
    return 0
  fi
  run_package
  local names=(libvellaro1 libvellaro-dev vellaro-designer-plugin vellaro-demo) status=0
  tools/package_test.sh || status=$?
  apt-get purge -y -qq "${names[@]}" >/dev/null 2>&1 || true
  return $status
}

run_bench() {
  ensure_packages
  build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
  export QT_QPA_PLATFORM=offscreen
  # Only the programs: the build also leaves folders named bench_*_autogen here.
  for b in build/bench/bench_*; do
    if [ -f "$b" ] && [ -x "$b" ]; then "$b" "$@"; fi
  done
}

case "${1:-}" in
  demo) shift; run_demo "$@" ;;
  test) shift; run_tests ;;
  bench) shift; run_bench "$@" ;;
  fuzz) shift; ensure_packages; export QT_QPA_PLATFORM=offscreen; run_fuzz ;;
  package) shift; ensure_packages; run_package ;;
  docs) shift; ensure_packages; run_docs ;;
  *) echo "usage: $0 demo|test|bench|fuzz|package|docs" >&2; exit 2 ;;
esac
