#!/usr/bin/env bash
# Draws NetWard's icons, button bitmaps and cursor with ImageMagick into src/res/.
# The results are committed; run this again only after changing a picture here.
#
#   icons (16, 20, 24, 32, 48 px):  app.ico (program), tray_off.ico 101, tray_on.ico 102
#   bitmaps 32 x 32, 8-bit with a colour table, background RGB(192,192,192), so that
#   LoadImage(LR_LOADMAP3DCOLORS), which maps only colour-table bitmaps,
#   turns it into the button face colour:
#     dial_off.bmp 101  dial_on.bmp 102  graph.bmp 103  back.bmp 104  next.bmp 105
#     lock_on.bmp 106   lock_off.bmp 107
#   link.cur 101: pointing hand for the about box's home-page link
set -euo pipefail
out=$(cd "$(dirname "$0")/../src/res" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# --- icons: drawn at 256 px, scaled down per size --------------------------------------
# A round badge; the white "line" through it is whole when connected and broken when not.
badge() { # name fill ring line-draw...
  local name=$1 fill=$2 ring=$3
  shift 3
  convert -size 256x256 xc:none -fill "$fill" -stroke "$ring" -strokewidth 14 \
    -draw "circle 128,128 128,14" -stroke none -fill white "$@" "$tmp/$name.png"
  local sizes=()
  for s in 16 20 24 32 48; do
    convert "$tmp/$name.png" -filter Lanczos -resize ${s}x${s} "PNG32:$tmp/$name-$s.png"
    sizes+=("$tmp/$name-$s.png")
  done
  convert "${sizes[@]}" "$out/$name.ico"
}
# Disconnected: grey badge, line broken in the middle with the ends apart.
badge tray_off '#7a7a7a' '#4a4a4a' \
  -draw "roundrectangle 40,104 108,152 18,18" -draw "roundrectangle 148,104 216,152 18,18" \
  -fill '#e03030' -draw "polygon 118,60 138,60 138,196 118,196"
# Connected: green badge, one unbroken line with arrows at both ends.
badge tray_on '#1f9d45' '#11662b' \
  -draw "roundrectangle 52,108 204,148 16,16" \
  -draw "polygon 28,128 76,84 76,172" -draw "polygon 228,128 180,84 180,172"
# The program: blue badge with the line and a shield-like notch.
badge app '#2a64c8' '#173d80' \
  -draw "roundrectangle 52,108 204,148 16,16" \
  -draw "polygon 28,128 76,84 76,172" -draw "polygon 228,128 180,84 180,172" \
  -fill '#ffd24a' -draw "circle 128,128 128,100"

# --- button bitmaps: crisp 32 x 32 pixel art --------------------------------------------
face='rgb(192,192,192)'
bmp() { # name draw...
  local name=$1
  shift
  convert -size 32x32 "xc:$face" +antialias "$@" -type Palette -colors 256 "BMP3:$out/$name.bmp"
}
# Dial, disconnected: plug and socket apart (pressing connects).
bmp dial_off \
  -fill '#505050' -draw "rectangle 2,11 11,20" -draw "rectangle 12,13 15,14" -draw "rectangle 12,17 15,18" \
  -fill '#505050' -draw "rectangle 21,11 29,20" \
  -fill '#202020' -draw "rectangle 21,13 22,14" -draw "rectangle 21,17 22,18" \
  -fill '#d02020' -draw "rectangle 17,5 18,26" \
  -fill '#303030' -draw "rectangle 0,15 1,16" -draw "rectangle 30,15 31,16"
# Dial, connected: plug in the socket, green.
bmp dial_on \
  -fill '#178a3a' -draw "rectangle 5,11 15,20" -draw "rectangle 16,11 26,20" \
  -fill '#0d5a24' -draw "rectangle 15,10 16,21" \
  -fill '#303030' -draw "rectangle 0,15 4,16" -draw "rectangle 27,15 31,16" \
  -fill '#8be0a4' -draw "rectangle 7,13 13,14" -draw "rectangle 18,13 24,14"
# History: bar graph.
bmp graph \
  -fill '#202020' -draw "rectangle 3,27 28,28" -draw "rectangle 3,4 4,28" \
  -fill '#2a64c8' -draw "rectangle 7,16 11,26" \
  -fill '#1f9d45' -draw "rectangle 14,8 18,26" \
  -fill '#e08a20' -draw "rectangle 21,12 25,26"
# History: back and next.
bmp back -fill '#2a64c8' -draw "polygon 7,16 19,5 19,27" -draw "rectangle 19,13 26,19"
bmp next -fill '#2a64c8' -draw "polygon 24,16 12,5 12,27" -draw "rectangle 5,13 12,19"
# Lock on: closed padlock, gold body.
bmp lock_on \
  -fill none -stroke '#404040' -strokewidth 3 -draw "roundrectangle 10,4 21,18 5,5" -stroke none \
  -fill '#c89a10' -draw "rectangle 6,14 25,28" \
  -fill '#7a5c00' -draw "rectangle 14,18 17,24"
# Lock off: shackle lifted out of its left hole, grey body.
bmp lock_off \
  -fill none -stroke '#404040' -strokewidth 3 -draw "roundrectangle 12,0 23,16 5,5" -stroke none \
  -fill "$face" -draw "rectangle 10,8 14,16" \
  -fill '#8a8a8a' -draw "rectangle 8,16 27,29" \
  -fill '#505050' -draw "rectangle 16,19 19,25"

# --- cursor: a pointing hand, hot spot at the fingertip ---------------------------------
convert -size 32x32 xc:none +antialias -fill white -stroke black -strokewidth 1 \
  -draw "path 'M 9,1 L 12,1 L 12,11 L 14,11 L 14,9 L 17,9 L 17,11 L 19,11 L 19,10 L 22,10 L 22,12 L 24,12 L 24,11 L 27,11 L 27,22 L 24,28 L 12,28 L 4,19 L 4,16 L 7,16 L 9,18 Z'" \
  "PNG32:$tmp/hand.png"
convert "$tmp/hand.png" "CUR:$out/link.cur"
# ImageMagick writes an icon header (type 1, hot spot 0,0): make it a cursor (type 2 at offset 2)
# with the hot spot at the fingertip (offsets 10 and 12).
printf '\x02\x00' | dd of="$out/link.cur" bs=1 seek=2 conv=notrunc status=none
printf '\x0a\x00\x01\x00' | dd of="$out/link.cur" bs=1 seek=10 conv=notrunc status=none
echo "art written to $out"
