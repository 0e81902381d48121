#!/bin/sh
# Draws the icons of the browser version from resources/icon/heikosen.svg with
# rsvg-convert (librsvg2-bin, from scripts/install-deps.sh):
#   resources/icon/hicolor/192x192/apps/heikosen.png, .../512x512/...: the icon;
#   resources/icon/maskable/heikosen-192.png, heikosen-512.png: the same lines on
#   a tile that fills the square, drawn small enough to stay whole inside the
#   circle of 80% of its width that any mask of a home screen leaves.
# The pictures are kept in the repository; run this after changing the SVG.
set -eu
cd "$(dirname "$0")/../resources/icon"
command -v rsvg-convert >/dev/null || {
    echo "rsvg-convert is not installed: run scripts/install-deps.sh" >&2
    exit 1
}
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The maskable drawing: the rounded tile gives way to a ground over the whole
# square, and the lines are drawn at 80% about the middle.
sed -e '/<rect /,/\/>/d' \
    -e '/^<svg /a\  <rect width="256" height="256" fill="#C0FFC0"/>\n  <g transform="translate(128 128) scale(0.8) translate(-128 -128)">' \
    -e 's#^</svg>#  </g>\n</svg>#' heikosen.svg >"$work/maskable.svg"

mkdir -p maskable
for size in 192 512; do
    mkdir -p "hicolor/${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" -o "hicolor/${size}x${size}/apps/heikosen.png" heikosen.svg
    rsvg-convert -w "$size" -h "$size" -b '#C0FFC0' -o "maskable/heikosen-${size}.png" "$work/maskable.svg"
done
