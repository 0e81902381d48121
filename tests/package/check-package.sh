#!/bin/sh
# Builds the Debian package from a finished build and checks it without
# installing it: its dependencies, the files it unpacks and its desktop entry.
set -eu
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log"
    exit 1
}
deb="$(find "$work/out" -maxdepth 1 -name 'heikosen_*.deb' | head -n 1)"
[ -n "$deb" ] || { echo "no package was built"; exit 1; }

fail() { echo "FAIL: $*"; exit 1; }

depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for need in libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins qt6-translations-l10n fonts-ipafont-gothic fonts-ipafont-mincho; do
    echo "$depends" | grep -q "$need" || fail "the package does not depend on $need"
done
[ "$(dpkg-deb -f "$deb" Package)" = heikosen ] || fail "wrong package name"

dpkg -x "$deb" "$work/root"
[ -x "$work/root/usr/bin/heikosen" ] || fail "usr/bin/heikosen missing"
file "$work/root/usr/bin/heikosen" | grep -q ELF || fail "usr/bin/heikosen is not a program"
desktop="$work/root/usr/share/applications/heikosen.desktop"
[ -f "$desktop" ] || fail "desktop entry missing"
desktop-file-validate "$desktop" || fail "desktop entry invalid"
grep -q '^Name=平行線と線分の比$' "$desktop" || fail "desktop entry has the wrong name"
grep -q '^Categories=Education;Math;$' "$desktop" || fail "desktop entry has the wrong categories"
grep -q '^Exec=heikosen$' "$desktop" || fail "desktop entry starts the wrong program"
[ -f "$work/root/usr/share/icons/hicolor/scalable/apps/heikosen.svg" ] || fail "SVG icon missing"
for size in 16 24 32 48 64 128 256; do
    png="$work/root/usr/share/icons/hicolor/${size}x${size}/apps/heikosen.png"
    [ -f "$png" ] || fail "icon ${size}x${size} missing"
done
echo "package $(basename "$deb"): $(stat -c %s "$deb") bytes, contents and entry OK"
