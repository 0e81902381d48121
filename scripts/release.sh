#!/bin/sh
# Builds the release folder build-release/ for this version:
#   heikosen_<version>_<arch>.deb   the Debian package, checked as the tests check it
#   heikosen-web-<version>.zip      the browser build's site, where scripts/build-web.sh exists
#   SHA256SUMS                      the checksums of both, for `sha256sum -c SHA256SUMS`
set -eu
cd "$(dirname "$0")/.."
version="$(./scripts/version.sh)"
out=build-release

# Nothing of an earlier release may end up beside this one or in its checksums.
rm -f "$out"/heikosen_*.deb "$out"/heikosen-web-*.zip "$out/SHA256SUMS"

./scripts/package.sh
set -- "$out"/heikosen_"$version"_*.deb
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
    echo "release.sh: expected one package heikosen_${version}_*.deb in $out" >&2
    exit 1
fi
deb="$(basename "$1")"
sh tests/package/check-package.sh "$out/$deb"
files="$deb"

if [ -f scripts/build-web.sh ]; then
    ./scripts/build-web.sh
    [ -f build-web/site/index.html ] || {
        echo "release.sh: scripts/build-web.sh made no build-web/site/index.html" >&2
        exit 1
    }
    zip="heikosen-web-$version.zip"
    # The site's files at the top of the archive, to unzip straight into a web folder.
    (cd build-web/site && zip -q -r -X "../../$out/$zip" .)
    files="$files $zip"
else
    echo "release.sh: no scripts/build-web.sh, so no browser build in this release"
fi

# shellcheck disable=SC2086
(cd "$out" && sha256sum $files >SHA256SUMS && sha256sum -c SHA256SUMS)
echo "release $version in $out/:"
# shellcheck disable=SC2086
(cd "$out" && ls -l $files SHA256SUMS)
