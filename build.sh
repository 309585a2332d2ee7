#!/bin/sh
# Installs what the build needs, builds, and then starts the program or runs
# every test.
#   ./build.sh run     build and start the program
#   ./build.sh test    build and run all tests, then again under the sanitizers
#   ./build.sh package build the Debian package, install it with apt-get, run
#                      it, and remove it again (needs root or sudo)
#   ./build.sh fuzz [SECONDS [TARGET...]]
#                      build the whole tree with clang, fuzz targets included,
#                      and run each target SECONDS (30) from its corpus
set -eu
cd "$(dirname "$0")"

PACKAGES="build-essential cmake pkg-config libsdl2-dev libfreetype-dev libcups2-dev libcairo2-dev
  cups-daemon poppler-utils desktop-file-utils appstream xvfb x11-xkb-utils xdotool imagemagick
  fonts-dejavu-core libgtest-dev libgmock-dev googletest
  espeak-ng fonts-open-sans fonts-goudybookletter fonts-kaushanscript fonts-cabinsketch
  fonts-comic-neue fonts-lobster fonts-aenigma fonts-klaudia-berenika fonts-blankenburg
  fonts-comfortaa fonts-cherrybomb fonts-allerta fonts-roboto-slab fonts-le-murmure
  fonts-rampart fonts-urw-base35 fonts-noto-color-emoji"
FUZZ_PACKAGES="clang libclang-rt-dev"

install_missing() {
    missing=""
    for p in $PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
}

build() {
    dir=$1
    shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j2
}

case "${1:-}" in
    run)
        install_missing
        build build
        shift
        exec build/dist/bin/tavelin "$@"
        ;;
    fuzz)
        PACKAGES="$PACKAGES $FUZZ_PACKAGES"
        install_missing
        # One configure and one build from a fresh clone: the fuzz targets are
        # instrumented, the rest of the tree is built as usual, with clang.
        build build-fuzz -DTAVELIN_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
        shift
        seconds=${1:-30}
        [ $# -gt 0 ] && shift
        fuzz/run.sh build-fuzz "$seconds" "$@"
        ;;
    package)
        install_missing
        build build
        exec sh tests/package/package_test.sh build .
        ;;
    test)
        install_missing
        build build
        ctest --test-dir build -j2 --output-on-failure
        build build-sanitize -DTAVELIN_SANITIZE=ON
        ctest --test-dir build-sanitize -j2 --output-on-failure
        ;;
    *)
        echo "usage: $0 run|test|package|fuzz [SECONDS [TARGET...]]" >&2
        exit 2
        ;;
esac
