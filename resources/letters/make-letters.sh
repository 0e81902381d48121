#!/bin/sh
# Regenerates the letter pictures that name the lines of the figure:
#   ell.png (ℓ), m.png, p.png, q.png, r.png
#
# Each picture is one black italic serif letter on an opaque white ground.
# The program shows them at a small logical size (listed below); the files
# are drawn at SCALE times that size so they stay sharp on high-density
# screens and projectors.
#
# screen/NAME.png are the same pictures at SCREEN times the logical size, for
# the picture of the figure that the web page shows before the program runs:
# small enough to decode at once, sharp on screens of up to that density.
#
# Placement: the letter is drawn from the font's outline, cut to its ink,
# sized so the ink is FILL of the picture's height (but never wider than
# MAXW of its width), and its ink box is centred in the picture both ways.
# So p and q keep their descenders inside the picture, ℓ stands tall and
# m spreads wide, the way a hand-made picture of a letter would look.
#
# Needs ImageMagick's convert and the DejaVu fonts (Debian package
# fonts-dejavu-extra). Run from anywhere; it writes next to itself.
set -eu

cd "$(dirname "$0")"
mkdir -p screen

SERIF_ITALIC=/usr/share/fonts/truetype/dejavu/DejaVuSerif-Italic.ttf
# DejaVu Serif Italic has no ℓ, so ℓ comes from DejaVu Math TeX Gyre, the
# family's serif face for formulas, slanted to match the italic letters.
SERIF_MATH=/usr/share/fonts/truetype/dejavu/DejaVuMathTeXGyre.ttf
ELL_SLANT=-10

SCALE=8
SCREEN=2
FILL=0.75
MAXW=0.85
PROBE=400

for f in "$SERIF_ITALIC" "$SERIF_MATH"; do
    [ -r "$f" ] || { echo "make-letters.sh: missing font $f" >&2; exit 1; }
done

# letter NAME FONT SLANT CHAR WIDTH HEIGHT (logical size in pixels)
letter() {
    name=$1 font=$2 slant=$3 char=$4
    w=$(($5 * SCALE))
    h=$(($6 * SCALE))

    # Measure the ink at a probe size, then scale the point size to fit.
    ink=$(convert -size 1600x1600 xc:white -font "$font" -pointsize $PROBE \
        -fill black -draw "translate 500,1100 skewX $slant text 0,0 '$char'" \
        -trim -format '%w %h' info:)
    ink_w=${ink% *}
    ink_h=${ink#* }
    if [ "$ink_w" -lt 20 ] || [ "$ink_h" -lt 20 ]; then
        echo "make-letters.sh: the font draws no '$char' ($font)" >&2
        exit 1
    fi
    size=$(awk -v p=$PROBE -v iw="$ink_w" -v ih="$ink_h" -v w=$w -v h=$h \
        -v fill=$FILL -v maxw=$MAXW 'BEGIN {
            s = p * fill * h / ih
            t = p * maxw * w / iw
            printf "%.2f", (t < s ? t : s)
        }')

    convert -size 1600x1600 xc:white -font "$font" -pointsize "$size" \
        -fill black -draw "translate 500,1100 skewX $slant text 0,0 '$char'" \
        -trim +repage \
        -background white -gravity center -extent "${w}x${h}" \
        -alpha off -colorspace Gray -type Grayscale -depth 8 \
        -strip -define png:exclude-chunks=date,time \
        "PNG:$name.png"
    echo "$name.png  ${w}x${h}  ${size}pt"

    # Each SCALE/SCREEN by SCALE/SCREEN block of pixels becomes one.
    convert "$name.png" -filter Box -resize $((100 * SCREEN / SCALE))% \
        -colorspace Gray -type Grayscale -depth 8 \
        -strip -define png:exclude-chunks=date,time -define png:compression-level=9 \
        "PNG:screen/$name.png"
}

#      name  font           slant       char  logical w x h
letter ell   "$SERIF_MATH"   $ELL_SLANT  'ℓ'   24 34
letter m     "$SERIF_ITALIC" 0           'm'   35 24
letter p     "$SERIF_ITALIC" 0           'p'   24 34
letter q     "$SERIF_ITALIC" 0           'q'   24 31
letter r     "$SERIF_ITALIC" 0           'r'   24 27
