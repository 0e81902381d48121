#!/bin/sh
# Installs the Debian packages that building, running and testing heikosen need.
# Packages already present are skipped; apt-get runs through sudo when we are not root.
set -eu

PACKAGES="
build-essential
g++
clang
clang-format
cmake
make
pkg-config
qt6-base-dev
qt6-base-dev-tools
qt6-svg-dev
qt6-qpa-plugins
qt6-translations-l10n
libgl-dev
libpng-dev
fonts-ipafont-gothic
fonts-ipafont-mincho
libgtest-dev
libgmock-dev
libbenchmark-dev
xvfb
libxtst-dev
libxdamage-dev
xauth
xdotool
x11-utils
imagemagick
librsvg2-bin
poppler-utils
cups
cups-filters
cups-client
cups-bsd
libcups2-dev
printer-driver-cups-pdf
desktop-file-utils
dpkg-dev
file
lintian
appstream
man-db
zip
emscripten
binaryen
googletest
nodejs
python3
chromium
firefox-esr
webkit2gtk-driver
"

# npm for the browser tests' packages: Debian's, unless the installed Node
# brings its own (NodeSource's nodejs does, and conflicts with Debian's npm).
if ! command -v npm >/dev/null 2>&1; then
    PACKAGES="$PACKAGES npm"
fi

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
else
    SUDO="sudo"
fi

echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
