#!/bin/sh
# Rebuilds gift.jpg, stage.jpg and tray.ico from their sources in this directory.
# Needs rsvg-convert (Debian: librsvg2-bin), ImageMagick's convert and python3.
set -eu
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Baseline JPEG with three components: no interlacing, true colour even where a picture is grey.
jpeg() {
  convert "$1" -background white -flatten -type TrueColor -colorspace sRGB -interlace none \
    -sampling-factor "$4" -quality "$3" -strip "$2"
}

rsvg-convert -w 50 -h 53 gift.svg -o "$work/gift.png"
jpeg "$work/gift.png" gift.jpg 92 1x1

python3 make_stage_svg.py > "$work/stage.svg"
rsvg-convert -w 1024 -h 768 "$work/stage.svg" -o "$work/stage.png"
jpeg "$work/stage.png" stage.jpg 86 2x2

for size in 128 48 32; do
  rsvg-convert -w $size -h $size tray.svg -o "$work/tray$size.png"
done
rsvg-convert -w 16 -h 16 tray_small.svg -o "$work/tray16.png"
for size in 128 48 32 16; do
  convert "$work/tray$size.png" -depth 8 "rgba:$work/tray$size.rgba"
done
python3 make_ico.py tray.ico \
  48:4:"$work/tray48.rgba" 48:8:"$work/tray48.rgba" 32:8:"$work/tray32.rgba" 16:8:"$work/tray16.rgba" \
  128:32:"$work/tray128.rgba" 48:32:"$work/tray48.rgba" 32:32:"$work/tray32.rgba" 16:32:"$work/tray16.rgba"
