#!/bin/sh
# Checks a Debian package of heikosen without installing it: its dependencies,
# the files it unpacks, its desktop entry, Debian's own checks (lintian), its
# software-centre entry, its manual page and its licence.
#   check-package.sh BUILD_DIR   packs the package from that finished build first
#   check-package.sh FILE.deb    checks that package, as scripts/release.sh does
set -eu
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; exit 1; }

case "$1" in
*.deb)
    deb="$1"
    [ -f "$deb" ] || fail "no package $deb"
    ;;
*)
    cpack --config "$1/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || {
        cat "$work/cpack.log"
        exit 1
    }
    deb="$(find "$work/out" -maxdepth 1 -name 'heikosen_*.deb' | head -n 1)"
    [ -n "$deb" ] || fail "no package was built"
    ;;
esac

depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for need in libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins qt6-translations-l10n fonts-ipafont-gothic fonts-ipafont-mincho; do
    echo "$depends" | grep -q "$need" || fail "the package does not depend on $need"
done
[ "$(dpkg-deb -f "$deb" Package)" = heikosen ] || fail "wrong package name"

dpkg -x "$deb" "$work/root"
[ -x "$work/root/usr/bin/heikosen" ] || fail "usr/bin/heikosen missing"
file "$work/root/usr/bin/heikosen" | grep -q ELF || fail "usr/bin/heikosen is not a program"
# Stripped as Debian strips (lintian -I notes a .comment section left behind).
readelf -S "$work/root/usr/bin/heikosen" | grep -q '\.comment' && fail "usr/bin/heikosen keeps its .comment section"
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

version="$("$source_dir/scripts/version.sh")"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] ||
    fail "package version $(dpkg-deb -f "$deb" Version), project(VERSION) $version"

# Debian's checks: no error, no warning and no pedantic note (the shipped overrides
# say why any is accepted).
lintian --pedantic --fail-on error,warning,pedantic "$deb" || fail "lintian reports errors, warnings or pedantic notes"

# The software-centre entry: valid, of this release, and launching the desktop entry.
set -- "$work"/root/usr/share/metainfo/*.metainfo.xml
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
    fail "expected one metainfo file in usr/share/metainfo"
fi
metainfo="$1"
appstreamcli validate --no-net "$metainfo" || fail "metainfo invalid"
grep -q "<release version=\"$version\" date=\"[0-9-]*\"" "$metainfo" ||
    fail "metainfo names no release $version"
grep -q '<launchable type="desktop-id">heikosen.desktop</launchable>' "$metainfo" ||
    fail "metainfo does not launch heikosen.desktop"

# The manual page renders without a warning and tells about the options and F11.
page="$work/root/usr/share/man/man1/heikosen.1.gz"
[ -f "$page" ] || fail "manual page missing"
LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" >"$work/man.txt" 2>"$work/man.err" ||
    fail "man -l failed: $(cat "$work/man.err")"
[ ! -s "$work/man.err" ] || fail "man -l warns: $(cat "$work/man.err")"
grep -q "heikosen $version" "$work/man.txt" || fail "manual page is not of version $version"
grep -q 'F11' "$work/man.txt" || fail "manual page does not mention F11"
grep -q 'Qt' "$work/man.txt" || fail "manual page does not mention Qt's options"

# The copyright file names the MIT licence and carries the text of LICENSE, word for word.
copyright="$work/root/usr/share/doc/heikosen/copyright"
[ -f "$copyright" ] || fail "copyright file missing"
grep -q 'MIT licence' "$copyright" || fail "copyright file does not name the MIT licence"
grep -q '^License: Expat$' "$copyright" || fail "copyright file has no Expat (MIT) licence"
awk '/^License: Expat$/ { inside = 1; next } inside && /^ / { print; next } { inside = 0 }' \
    "$copyright" >"$work/mit.txt"
sed -n '/^Permission/,$p' "$source_dir/LICENSE" | sed -e 's/^$/./' -e 's/^/ /' >"$work/license.txt"
diff -u "$work/license.txt" "$work/mit.txt" || fail "the MIT licence text differs from LICENSE"
grep -q 'DejaVu' "$copyright" || fail "copyright file does not name the letters' font"

echo "package $(basename "$deb"): $(stat -c %s "$deb") bytes, contents, entry, lintian, metainfo, manual page and licence OK"
