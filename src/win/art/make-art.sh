#!/usr/bin/env bash
# Draws the Windows window's artwork with ImageMagick: the program icon (the
# same picture as data/enlazor.svg) and the two button glyphs (the check
# mark of the "Aceptar" buttons, the open door of "&Salir"). Each picture is
# drawn large on a transparent ground and scaled down, so its edges blend
# smoothly at every size. The results are committed; run this again only
# when the pictures change:
#
#   bash src/win/art/make-art.sh
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The icon, drawn in the SVG's own 128-unit coordinates at 4 times the size.
convert -size 512x512 xc:none -draw "scale 4,4
  fill '#267a8a' roundrectangle 4,4 123,123 22,22
  fill '#ffffff' path 'M18 28 h26 l10 10 v52 h-36 z'
  fill '#cfe6ea' path 'M44 28 v10 h10 z'
  stroke '#1d5f73' stroke-width 3 stroke-linecap round
  line 24,48 48,48  line 24,57 48,57  line 24,66 42,66  line 24,75 46,75
  stroke none fill '#ffffff' roundrectangle 74,36 111,81 3,3
  stroke '#1d5f73' stroke-width 2
  line 74,47.5 112,47.5  line 74,59 112,59  line 74,70.5 112,70.5
  line 86.7,36 86.7,82  line 99.3,36 99.3,82
  stroke none fill '#f2a541'
  rectangle 87.7,48.5 98.3,58  rectangle 75,60 85.7,69.5
  path 'M38 98 Q64 114 90 98 L90 104 Q64 120 38 104 Z'
  path 'M90 24 Q64 8 38 24 L38 18 Q64 2 90 18 Z'
  path 'M98 92 L96 110 L82 102 Z'
  path 'M30 30 L32 12 L46 20 Z'" "$work/icon.png"
for size in 16 24 32 48 64 256; do
  convert "$work/icon.png" -filter Lanczos -resize ${size}x${size} "$work/icon-$size.png"
done
convert "$work"/icon-{16,24,32,48,64,256}.png enlazor.ico

# The glyphs, drawn in 18-unit coordinates (their size at 96 DPI) at 8 times
# the size; each .ico holds them at 18 and 36 pixels for denser screens.
glyph() {
  local name=$1 drawing=$2
  convert -size 144x144 xc:none -draw "scale 8,8 $drawing" "$work/$name.png"
  convert "$work/$name.png" -filter Lanczos -resize 18x18 "$work/$name-18.png"
  convert "$work/$name.png" -filter Lanczos -resize 36x36 "$work/$name-36.png"
  convert "$work/$name-18.png" "$work/$name-36.png" "$name.ico"
}

# A green check mark: a dark green stroke with a lighter one inside it.
glyph check_mark "fill none stroke-linecap round stroke-linejoin round
  stroke '#006400' stroke-width 4 polyline 3,9.5 7,13.5 15,4
  stroke '#00aa00' stroke-width 2 polyline 3,9.5 7,13.5 15,4"

# An open door: the dark doorway in its frame, the leaf swung open towards
# the viewer on hinges at the left jamb, its knob, and the floor line.
glyph open_door "stroke '#404040' stroke-width 1 fill '#181818' rectangle 5.5,1.5 15.5,16.5
  stroke '#603000' fill '#c88228' polygon 5.5,1.5 10.5,3.5 10.5,17.5 5.5,16.5
  stroke none fill '#ffdc00' circle 9,10 10,10
  stroke '#404040' fill none line 1,17 17,17"
