#!/bin/sh
# Draws docs/from-picture-example.jpg, the picture of the README's example of
# a skin made from one picture: an evening sky, a moon and two rows of hills,
# with a little grain. Made for this project; public domain (CC0 1.0).
# Needs ImageMagick 6 (Debian's imagemagick). Usage: tools/make-example-picture.sh [OUT.jpg]
# Takes about half a minute: the grain is computed pixel by pixel.
set -eu
out=${1:-docs/from-picture-example.jpg}
# Grain as a camera gives it, but the same on every run: each pixel's offset
# comes from a hash of its position (the fraction of a large sine), a few
# percent either way, then softened by a sub-pixel blur.
grain=0.08
hash='sin(i*12.9898+j*78.233)*43758.5453'
soften=0x0.6
convert -size 1200x900 gradient:'#1d3b6e'-'#f2a65a' \
    -fill '#ffe9a8' -draw "circle 860,520 860,430" \
    -fill '#2f4f3a' -draw "polygon 0,640 180,560 380,610 600,520 820,600 1000,540 1200,600 1200,900 0,900" \
    -fill '#1c3326' -draw "polygon 0,760 260,680 520,740 760,660 1000,730 1200,690 1200,900 0,900" \
    -fx "u + $grain*($hash - floor($hash) - 0.5)" -blur "$soften" -quality 88 "$out"
