#!/bin/sh
# Builds the Debian package, looks inside it, installs it with apt-get, runs
# the installed program headless, removes it, and checks that nothing of it is
# left on the machine. Needs root (or sudo) and a build folder.
#   package_test.sh BUILD_DIR SOURCE_DIR
set -eu
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
fail() { echo "package test: $*" >&2; exit 1; }

dpkg-query -W -f='${Status}' tavelin 2>/dev/null | grep -q "ok installed" &&
    fail "tavelin is already installed on this machine; remove it first"

(cd "$build" && rm -f tavelin_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/tavelin_*.deb)
dpkg-deb --info "$deb"
dpkg-deb --info "$deb" | grep -q "Depends:.*libsdl2" || fail "no dependencies computed"
dpkg-deb --contents "$deb" >"$build/package-contents.txt"
for file in ./usr/bin/tavelin ./usr/lib/tavelin/tavelin ./usr/share/applications/org.tavelin.Tavelin.desktop \
        ./usr/share/icons/hicolor/scalable/apps/tavelin.svg ./usr/share/man/man6/tavelin.6 \
        ./usr/share/tavelin/cd/Datas/Banques.dat; do
    grep -q " $file" "$build/package-contents.txt" || fail "$file is not in the package"
done
echo "package test: $(grep -c '^-' "$build/package-contents.txt") files in the package"

DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$deb" >/dev/null
work=$(mktemp -d /tmp/tavelin-package-XXXXXX)
mkdir -p "$work/home" "$work/runtime"
status=0
(cd "$work" && env -i PATH=/usr/bin:/bin LANG=fr_FR.UTF-8 HOME="$work/home" \
    XDG_RUNTIME_DIR="$work/runtime" tavelin --headless --script "$source/desktop/screenshot.txt" \
    --log "$work/log.txt") || status=$?
installed=$(dpkg -L tavelin)
DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq tavelin >/dev/null
[ "$status" -eq 0 ] && grep -q "^exit 0" "$work/log.txt" ||
    fail "the installed program ended with $status: $(tail -3 "$work/log.txt")"
[ -s "$work/workshop.bmp" ] || fail "the installed program took no screenshot"
rm -rf "$work"

# Nothing of the package is left: no file it held, no folder of its own.
for path in $installed; do
    case $path in
        /usr/lib/tavelin*|/usr/share/tavelin*|/usr/bin/tavelin|*/tavelin.*|*/org.tavelin.*)
            [ ! -e "$path" ] || fail "$path is left after the removal" ;;
    esac
done
dpkg-query -W -f='${Status}' tavelin 2>/dev/null | grep -q "installed" && fail "still known to dpkg"
echo "package test: installed, ran and removed cleanly"
