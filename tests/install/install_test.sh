#!/bin/sh
# Installs the build into a temporary prefix with DESTDIR, moves the prefix,
# runs the installed program headless from there, and checks the command line,
# the launcher and the metadata.
#   install_test.sh BUILD_DIR SOURCE_DIR
set -eu
build=$1
source=$2
work=$(mktemp -d /tmp/tavelin-install-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "install test: $*" >&2; exit 1; }

DESTDIR=$work/root cmake --install "$build" --strip --prefix /opt/tavelin >/dev/null
# A moved prefix still finds its data: nothing refers to /opt/tavelin.
mv "$work/root/opt/tavelin" "$work/moved"
prefix=$work/moved

for file in bin/tavelin lib/tavelin/tavelin lib/tavelin/tavelin.bmp lib/tavelin/win.ini lib/tavelin/Sons/Synthac.WAV \
        share/tavelin/cd/Datas/Banques.dat share/tavelin/cd/Datas/Datas/Soleil.bin \
        share/tavelin/screenshots/workshop.png share/man/man6/tavelin.6 \
        share/applications/org.tavelin.Tavelin.desktop \
        share/metainfo/org.tavelin.Tavelin.metainfo.xml \
        share/icons/hicolor/scalable/apps/tavelin.svg \
        share/icons/hicolor/48x48/apps/tavelin.png share/icons/hicolor/64x64/apps/tavelin.png \
        share/icons/hicolor/128x128/apps/tavelin.png share/icons/hicolor/256x256/apps/tavelin.png; do
    [ -e "$prefix/$file" ] || fail "$file is not installed"
done
# The picture module is stored once, and the program carries no debug information.
[ ! -e "$prefix/lib/tavelin/Banques.dat" ] || fail "the picture module is installed twice"
if readelf -S "$prefix/lib/tavelin/tavelin" | grep -q debug_info; then
    fail "the installed program is not stripped"
fi

desktop-file-validate "$prefix/share/applications/org.tavelin.Tavelin.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.tavelin.Tavelin.metainfo.xml" >/dev/null ||
    appstreamcli validate --no-net "$prefix/share/metainfo/org.tavelin.Tavelin.metainfo.xml"

# The command line: help and version on standard output, a wrong option refused.
program=$prefix/bin/tavelin
"$program" --help | grep -q "^usage: tavelin" || fail "--help"
"$program" --version | grep -q "^tavelin [0-9]" || fail "--version"
status=0
"$program" --no-such-option >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 2 ] && [ ! -s "$work/out" ] && grep -q "^usage: tavelin" "$work/err" ||
    fail "an unknown option gives exit $status"

# A short run of the installed program, in a home of its own.
mkdir -p "$work/home" "$work/runtime" "$work/run"
cd "$work/run"
env -i PATH=/usr/bin:/bin LANG=fr_FR.UTF-8 HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" \
    "$program" --headless --script "$source/desktop/screenshot.txt" --log "$work/log.txt" ||
    fail "the installed program ended with $?"
grep -q "^exit 0" "$work/log.txt" || fail "the run did not end well: $(tail -3 "$work/log.txt")"
grep -q 'Sons\\Kook.WAV' "$work/log.txt" || fail "the stamps' sound was not found"
[ -s "$work/run/workshop.bmp" ] || fail "no screenshot"

# Without its data folder the program says so and ends when the box is closed.
rm -rf "$prefix/share/tavelin"
printf 'answer cancel\nwait 300\n' >"$work/missing.txt"
env -i PATH=/usr/bin:/bin LANG=en_GB.UTF-8 HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" \
    "$program" --headless --script "$work/missing.txt" --log "$work/missing.log" ||
    fail "without data the program ended with $?"
grep -q "^message 2021 The program's data folder was not found" "$work/missing.log" ||
    fail "no message for the missing data folder: $(cat "$work/missing.log")"
echo "install test: passed"
