#!/usr/bin/env bash
# Makes the pictures, icons and the squash sound of Gravelin.exe.
#
#   tools/make-art.sh [--out DIR] [--preview DIR]
#
# Writes into src/res/ (or DIR) the files that Tarnwick.rc names, and the
# setup program's picture into tools/installer/ (or DIR); the build
# only compiles them, so they are kept with the sources and this script runs
# only when the art changes. Needs ImageMagick 6, sox and python3; fonts are
# the DejaVu family. With --preview it also writes a PNG of every picture and
# icon as it will look (bitmaps on the dialog grey, icons read back from the
# .ico files).
#
# The look: a navy-to-blue gradient with white lettering for the brand, a
# shield as the product's mark, green for "Clean", red for "Exit", all on the
# dialogs' light grey (E3E3E3) so the pictures sit flush with the window.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/src/res
installer=$root/tools/installer
preview=
while [ $# -gt 0 ]; do
    case $1 in
        --out) out=$2; installer=$2; shift 2 ;;
        --preview) preview=$2; shift 2 ;;
        *) echo "usage: $0 [--out DIR] [--preview DIR]" >&2; exit 2 ;;
    esac
done

# The version the pictures show is the project's (the top-level project()).
version=$(sed -n 's/^project(Tarnwick VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || { echo "make-art: no version in CMakeLists.txt" >&2; exit 1; }

# ImageMagick itself, not a wrapper that might stand in front of it.
if [ -x /usr/bin/convert ]; then IM=/usr/bin/convert; else IM=convert; fi
for tool in "$IM" sox python3; do
    command -v "$tool" >/dev/null || { echo "make-art: $tool is needed" >&2; exit 1; }
done

fonts=/usr/share/fonts/truetype/dejavu
SANS=$fonts/DejaVuSans.ttf
BOLD=$fonts/DejaVuSans-Bold.ttf
OBLIQUE=$fonts/DejaVuSans-Oblique.ttf
COND_BOLD=$fonts/DejaVuSansCondensed-Bold.ttf
for font in "$SANS" "$BOLD" "$OBLIQUE" "$COND_BOLD"; do
    [ -f "$font" ] || { echo "make-art: font $font is missing" >&2; exit 1; }
done

# The colour scheme.
GREY='#E3E3E3'      # dialog background
NAVY='#0F2A4A'
BLUE='#2B6CB0'
SKY='#8EC5FF'
PALE='#D6E8FF'
GREEN='#2E8B3E'
GREEN_LIGHT='#5CC46A'
RED='#B8322A'
RED_LIGHT='#E2574C'
INK='#333333'

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
[ -z "$preview" ] || mkdir -p "$preview"

# ---- Shapes ----------------------------------------------------------------

# The shield outline on a 100 x 100 grid.
SHIELD_PATH='M 50,3 L 93,17 L 93,45 C 93,72 74,88 50,98 C 26,88 7,72 7,45 L 7,17 Z'

# shield SIZE OUT.png: the product's mark, a blue shield with a white tick,
# on a transparent background. Drawn four times larger, then reduced.
shield() {
    local size=$1 dest=$2 big=$(( $1 * 4 ))
    local s
    s=$(python3 -c "print($big / 100)")
    "$IM" -size "${big}x${big}" gradient:'#4A9BEA'-'#123A6B' "$work/shield-fill.png"
    "$IM" -size "${big}x${big}" xc:black -fill white \
        -draw "affine $s,0,0,$s,0,0 path '$SHIELD_PATH'" "$work/shield-mask.png"
    # Stroke widths are on the 100 x 100 grid: the affine scales them too.
    "$IM" "$work/shield-fill.png" "$work/shield-mask.png" -alpha off -compose CopyOpacity -composite \
        -fill none -stroke white -strokewidth 6 -draw "affine $s,0,0,$s,0,0 path '$SHIELD_PATH'" \
        -stroke '#0B2340' -strokewidth 1.5 -draw "affine $s,0,0,$s,0,0 path '$SHIELD_PATH'" \
        -stroke white -strokewidth 11 \
        -draw "stroke-linecap round stroke-linejoin round affine $s,0,0,$s,0,0 polyline 29,50 44,65 72,34" \
        -resize "${size}x${size}" "$dest"
}

# ---- File writers ----------------------------------------------------------

# bmp24 IN.png OUT.bmp: a 24-bit, bottom-up, uncompressed BMP (no alpha).
bmp24() {
    "$IM" "$1" -background "$GREY" -alpha remove -alpha off -type TrueColor \
        -define bmp:format=bmp3 BMP3:"$2"
}

# ico IN.png OUT.ico BITS: a single-image icon of 24 bits, or 8 bits (256
# colours, a palette), with an AND mask from the picture's transparency.
ico() {
    local src=$1 dest=$2 bits=$3 size
    size=$("$IM" identify -format '%w %h' "$src" 2>/dev/null || identify -format '%w %h' "$src")
    # The colours as drawn, edges not darkened; the writer below blacks out
    # the see-through parts, where the mask shows what lies behind.
    if [ "$bits" = 8 ]; then
        "$IM" "$src" -alpha off +dither -colors 255 -depth 8 rgb:"$work/ico.rgb"
    else
        "$IM" "$src" -alpha off -depth 8 rgb:"$work/ico.rgb"
    fi
    "$IM" "$src" -alpha extract -depth 8 gray:"$work/ico.alpha"
    python3 - "$work/ico.rgb" "$work/ico.alpha" "$dest" "$bits" $size <<'PY'
import struct, sys
rgb_path, alpha_path, dest, bits, w, h = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), int(sys.argv[5]), int(sys.argv[6])
rgb = open(rgb_path, 'rb').read()
alpha = open(alpha_path, 'rb').read()
assert len(rgb) == w * h * 3 and len(alpha) == w * h
pixel = lambda x, y: rgb[3 * (y * w + x): 3 * (y * w + x) + 3]
opaque = lambda x, y: alpha[y * w + x] >= 128
rows = range(h - 1, -1, -1)   # bottom-up
if bits == 8:
    palette = [b'\0\0\0']
    index = {b'\0\0\0': 0}
    for y in range(h):
        for x in range(w):
            c = pixel(x, y)
            if opaque(x, y) and c not in index:
                index[c] = len(palette)
                palette.append(c)
    assert len(palette) <= 256, len(palette)
    pal = b''.join(bytes([c[2], c[1], c[0], 0]) for c in palette) + b'\0\0\0\0' * (256 - len(palette))
    stride = (w + 3) & ~3
    xor = b''.join(bytes(index[pixel(x, y)] if opaque(x, y) else 0 for x in range(w)).ljust(stride, b'\0') for y in rows)
else:
    pal = b''
    stride = (w * 3 + 3) & ~3
    xor = b''.join(b''.join(bytes([pixel(x, y)[2], pixel(x, y)[1], pixel(x, y)[0]]) if opaque(x, y) else b'\0\0\0'
                            for x in range(w)).ljust(stride, b'\0') for y in rows)
mask_stride = ((w + 31) // 32) * 4
def mask_row(y):
    value = bytearray(mask_stride)
    for x in range(w):
        if not opaque(x, y):
            value[x // 8] |= 0x80 >> (x % 8)
    return bytes(value)
mask = b''.join(mask_row(y) for y in rows)
header = struct.pack('<IiiHHIIiiII', 40, w, 2 * h, 1, bits, 0, len(xor) + len(mask), 0, 0, 0, 0)
image = header + pal + xor + mask
directory = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, bits, len(image), 22)
open(dest, 'wb').write(directory + image)
PY
}

# show NAME FILE: a PNG preview of a picture or an icon (icons on the grey).
show() {
    [ -n "$preview" ] || return 0
    case $2 in
        *.ico) "$IM" -size 64x64 xc:"$GREY" \( "ico:$2" \) -gravity center -composite -scale 400% "$preview/$1.png" ;;
        *) "$IM" "$2" -scale 200% "$preview/$1.png" ;;
    esac
}

# ---- Bitmaps ---------------------------------------------------------------

# 164: the header banner, 547 x 73.
"$IM" -size 73x547 gradient:"$BLUE"-"$NAVY" -rotate 90 "$work/banner-bg.png"
shield 60 "$work/shield60.png"
"$IM" "$work/banner-bg.png" \
    -fill "$SKY" -draw "rectangle 0,70 546,72" \
    "$work/shield60.png" -geometry +14+5 -composite \
    -font "$BOLD" -pointsize 36 -fill '#0A1F38' -annotate +87+45 'Tarnwick' \
    -fill white -annotate +85+43 'Tarnwick' \
    -font "$SANS" -pointsize 12 -fill "$PALE" -annotate +88+61 'Spyware and pop-up protection' \
    -font "$OBLIQUE" -pointsize 14 -fill "$SKY" -gravity NorthEast -annotate +16+22 "Don't surf without it!" \
    "$work/banner.png"
bmp24 "$work/banner.png" "$out/banner.bmp"
show banner "$out/banner.bmp"

# 165: the strip above the settings panel, 547 x 18.
"$IM" -size 18x547 gradient:"$BLUE"-"$NAVY" -rotate 90 \
    -fill "$SKY" -draw "rectangle 0,0 546,0" \
    -font "$SANS" -pointsize 10 -fill "$PALE" -gravity East -annotate +10+0 "Tarnwick $version" \
    "$work/strip.png"
bmp24 "$work/strip.png" "$out/strip.bmp"
show strip "$out/strip.bmp"

# button W H TOP BOTTOM BORDER OUT.png: a rounded button face on the grey.
button() {
    local w=$1 h=$2 top=$3 bottom=$4 border=$5 dest=$6
    "$IM" -size "${w}x${h}" gradient:"$top"-"$bottom" "$work/button-fill.png"
    "$IM" -size "${w}x${h}" xc:black -fill white -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) 7,7" "$work/button-mask.png"
    "$IM" -size "${w}x${h}" xc:"$GREY" \
        \( "$work/button-fill.png" "$work/button-mask.png" -alpha off -compose CopyOpacity -composite \) \
        -compose Over -composite \
        -fill none -stroke "$border" -strokewidth 1 -draw "roundrectangle 0.5,0.5 $((w - 1)).5,$((h - 1)).5 7,7" \
        -stroke 'rgba(255,255,255,0.45)' -draw "line 6,1.5 $((w - 7)),1.5" \
        "$dest"
}

# 168: "Scan My Computer", 126 x 37: a magnifying glass and the caption.
button 126 37 '#4A9BEA' '#1F5FA8' "$NAVY" "$work/scan-face.png"
"$IM" "$work/scan-face.png" \
    -fill none -stroke white -strokewidth 3 -draw "circle 17,16 17,9" \
    -strokewidth 4 -draw "stroke-linecap round line 22,21 28,28" \
    -stroke none -fill white -font "$COND_BOLD" -pointsize 12 \
    -annotate +35+17 'Scan My' -annotate +35+31 'Computer' \
    "$work/scan.png"
bmp24 "$work/scan.png" "$out/scan.bmp"
show scan "$out/scan.bmp"

# 177: "Clean", 109 x 33: a sparkle and the caption.
button 109 33 "$GREEN_LIGHT" "$GREEN" '#1D5E29' "$work/clean-face.png"
"$IM" "$work/clean-face.png" \
    -fill white -stroke none \
    -draw "polygon 21,5 24,13 32,16 24,19 21,27 18,19 10,16 18,13" \
    -draw "polygon 33,6 34,9 37,10 34,11 33,14 32,11 29,10 32,9" \
    -font "$BOLD" -pointsize 16 -annotate +45+23 'Clean' \
    "$work/clean.png"
bmp24 "$work/clean.png" "$out/clean.bmp"
show clean "$out/clean.bmp"

# 171: "Update Version", 40 x 36: a blue disc with a downward arrow.
"$IM" -size 40x36 xc:"$GREY" \
    -fill '#9AA7B5' -draw "circle 21,19 21,35" \
    -fill "$BLUE" -stroke "$NAVY" -strokewidth 1 -draw "circle 20,18 20,34" \
    -fill none -stroke "$SKY" -strokewidth 1 -draw "arc 7,5 33,31 200,290" \
    -fill white -stroke none -draw "polygon 16,8 24,8 24,17 29,17 20,28 11,17 16,17" \
    "$work/update.png"
bmp24 "$work/update.png" "$out/update.bmp"
show update "$out/update.bmp"

# 172: "Exit", 40 x 36: a red disc with a white cross.
"$IM" -size 40x36 xc:"$GREY" \
    -fill '#9AA7B5' -draw "circle 21,19 21,35" \
    -fill "$RED" -stroke '#7A1D17' -strokewidth 1 -draw "circle 20,18 20,34" \
    -fill none -stroke "$RED_LIGHT" -strokewidth 1 -draw "arc 7,5 33,31 200,290" \
    -stroke white -strokewidth 4 -draw "stroke-linecap round line 14,12 26,24" -draw "stroke-linecap round line 26,12 14,24" \
    "$work/exit.png"
bmp24 "$work/exit.png" "$out/exit.bmp"
show exit "$out/exit.bmp"

# 162: the splash, 450 x 300, on white (the splash window paints white).
# Its window is 274 x 147 dialog units in MS Sans Serif 8, about 410 x 239
# pixels, and shows the picture from its top left corner: everything that
# matters stays inside 405 x 232, the rest only continues the background.
shield 56 "$work/shield56.png"
shield 92 "$work/shield92.png"
"$IM" -size 78x450 gradient:"$BLUE"-"$NAVY" -rotate 90 "$work/splash-band.png"
"$IM" -size 450x300 xc:white \
    "$work/splash-band.png" -geometry +0+0 -composite \
    -fill "$SKY" -draw "rectangle 0,78 449,80" \
    "$work/shield56.png" -geometry +18+11 -composite \
    -font "$BOLD" -pointsize 36 -fill '#0A1F38' -annotate +88+50 'Tarnwick' \
    -fill white -annotate +86+48 'Tarnwick' \
    -font "$OBLIQUE" -pointsize 13 -fill "$SKY" -annotate +89+69 "Don't surf without it!" \
    "$work/shield92.png" -geometry +296+94 -composite \
    -font "$BOLD" -pointsize 14 -fill "$NAVY" -annotate +20+106 'Spyware and pop-up protection' \
    -font "$SANS" -pointsize 11 -fill "$INK" \
    -annotate +34+129 'Blocks pop-up windows as you surf' \
    -annotate +34+147 'Finds and removes spyware' \
    -annotate +34+165 'Watches your browser in real time' \
    -fill "$GREEN" -draw "circle 25,125 28,125" -draw "circle 25,143 28,143" -draw "circle 25,161 28,161" \
    -font "$BOLD" -pointsize 12 -fill "$BLUE" -annotate +20+194 "Version $version" \
    -font "$SANS" -pointsize 10 -fill '#6B7785' -annotate +300+211 'Starting...' \
    -fill '#DDE3EA' -draw "rectangle 0,204 290,205" \
    -font "$SANS" -pointsize 10 -fill '#6B7785' -annotate +20+222 'Copyright (C) 2004 Ostrand' \
    "$work/splash.png"
bmp24 "$work/splash.png" "$out/splash.bmp"
show splash "$out/splash.bmp"

# The setup program's welcome and finish pages, 164 x 314: the brand's
# gradient with the shield and the name (the pages say the version).
shield 104 "$work/shield104.png"
"$IM" -size 164x314 gradient:"$BLUE"-"$NAVY" \
    "$work/shield104.png" -geometry +30+44 -composite \
    -gravity North -font "$BOLD" -pointsize 24 -fill '#0A1F38' -annotate +1+175 'Tarnwick' \
    -fill white -annotate +0+174 'Tarnwick' \
    -font "$OBLIQUE" -pointsize 11 -fill "$SKY" -annotate +0+208 "Don't surf without it!" \
    "$work/wizard.png"
bmp24 "$work/wizard.png" "$installer/wizard.bmp"
show wizard "$installer/wizard.bmp"

# ---- Icons -----------------------------------------------------------------

# 132: the tray icon, one 40 x 41 image in 24-bit colour.
shield 40 "$work/shield40.png"
"$IM" -size 40x41 xc:none "$work/shield40.png" -geometry +0+1 -composite "$work/tray.png"
ico "$work/tray.png" "$out/tarnwick.ico" 24
show tarnwick "$out/tarnwick.ico"

# 128: the About window's icon, 32 x 32.
shield 32 "$work/shield32.png"
ico "$work/shield32.png" "$out/about.ico" 24
show about "$out/about.ico"

# 149-152: the squash animation, 32 x 32 in 256 colours: a mallet comes down
# on a bug, which ends as a splat with a spark.
bug='
  stroke #3A2A1A stroke-width 1.5
  line 4,20 22,28  line 4,28 22,20  line 3,24 23,24
  stroke none fill #6B8E23 ellipse 13,24 6,5 0,360
  fill #3A2A1A circle 20,24 22,24
  stroke #3A2A1A stroke-width 1 line 13,19 13,29'
mallet() {  # mallet ANGLE: the mallet turned about its grip at the lower right
    echo "
  push graphic-context
  translate 28,28 rotate $1
  fill #8B5A2B stroke #5A3A1A stroke-width 1 rectangle -2,-20 1,0
  fill #9AA7B5 stroke #4A5560 roundrectangle -9,-27 8,-18 2,2
  fill #C9D2DB stroke none rectangle -7,-26 6,-25
  pop graphic-context"
}
splat='
  fill #6B8E23 ellipse 15,26 13,4 0,360
  fill #4F6B18 circle 4,21 5,22 circle 27,21 28,22 circle 21,19 22,20'
spark='
  fill #F2C200 stroke #C79A00 stroke-width 0.5
  polygon 22,3 24,8 29,9 24,11 22,16 20,11 15,9 20,8
  polygon 8,6 9,9 12,10 9,11 8,14 7,11 4,10 7,9'
frame() {  # frame N MVG
    "$IM" -size 32x32 xc:none -draw "$2" "$work/frame$1.png"
    ico "$work/frame$1.png" "$out/squash$1.ico" 8
    show "squash$1" "$out/squash$1.ico"
}
frame 1 "$bug $(mallet -10)"
frame 2 "$bug $(mallet -45)"
frame 3 "
  fill #6B8E23 ellipse 13,27 10,3 0,360
  stroke #F2C200 stroke-width 2 line 2,16 5,20 line 12,12 12,17
  $(mallet -78)"
frame 4 "$splat $spark"

# ---- Sound -----------------------------------------------------------------

# 139: the squash sound: a thud (a falling tone) and a short wet noise burst,
# 0.75 s, PCM mono 22,050 Hz 8-bit. -R keeps sox's noise and dither the
# same from run to run.
sox -R -n -r 22050 -c 1 -b 16 "$work/thud.wav" synth 0.75 sine 240:45 fade p 0.004 0.75 0.72
sox -R -n -r 22050 -c 1 -b 16 "$work/splat.wav" synth 0.25 brownnoise fade p 0.002 0.25 0.24 \
    highpass 150 lowpass 3000 pad 0.02 0.48
sox -R -m -v 0.8 "$work/thud.wav" -v 1.2 "$work/splat.wav" -r 22050 -c 1 -b 8 -e unsigned-integer \
    "$out/squash.wav" highpass 30 norm -2 trim 0 0.75
echo "make-art: wrote the pictures, icons and sound into $out, the setup picture into $installer"
