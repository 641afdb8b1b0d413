#!/usr/bin/env bash
# Writes the seed corpus of picture_fuzz into the directory given: small
# pictures written byte by byte (a version-1 picture of shapes and lines, a
# version-2 picture with an extended header, a clip, a colour, a polygon and
# a packed 8-bit pixmap, a packed 24-bit bitmap) and, when ImageMagick is
# installed, pictures it converts from images it draws itself.
set -euo pipefail
out="$1"
mkdir -p "$out"

hex() { tr -d ' \n' | xxd -r -p; }

hex > "$out/v1_shapes" <<'HEX'
0000 0000 0000 0014 0014 1101
31 0000 0000 000a 000a
50 0002 0002 0012 0012
20 0000 0000 0013 0013
07 0002 0002
61 0000 0000 0014 0014 002d 005a
ff
HEX

hex > "$out/v2_pixmap" <<'HEX'
0000 0000 0000 0010 0010 0011 02ff
0c00 fffe 0000 0048 0000 0048 0000 0000 0000 0010 0010 0000 0000
001e
0001 000a 0000 0000 0010 0010
001a ffff 0000 0000
0071 0016 0000 0000 0010 0010 0000 0000 000f 0003 0004 000f
0098 8008 0000 0000 0002 0008
0000 0000 00000000 00480000 00480000 0000 0008 0001 0008 00000000 00000000 00000000
00000000 8000 0001 0000 ffff ffff ffff 0001 0000 0000 ffff
0000 0000 0002 0008 0000 0000 0002 0008 0000
09 07 00 01 00 01 01 01 01 00 02 f9 01 00
00ff
HEX

hex > "$out/packed_bitmap" <<'HEX'
28000000 02000000 02000000 0100 1800 00000000 00000000 00000000 00000000 00000000 00000000
0000ff ff0000 0000 00ff00 ffffff 0000
HEX

if convert -version 2>/dev/null | grep -q ImageMagick; then
  convert -size 5x3 xc:red "PICT:$out/im_palette" 2>/dev/null || true
  convert -seed 1 -size 40x20 plasma: "PICT:$out/im_direct" 2>/dev/null || true
fi
