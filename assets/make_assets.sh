#!/bin/sh
# Regenerates every picture that rainbowtext embeds or installs:
#   style0.gif .. style3.gif  rainbow style strips shown in the preview bar (215 x 20)
#   title.png                 the coloured title "青柚彩虹文字" (232 x 40, transparent)
#   rainbowtext.ico           window/executable icon: 16, 24, 32, 48 px at 8 and 32 bpp
#   icon-16 .. icon-256.png   the same icon as RGBA PNGs for the Linux desktop
#                             (16, 24, 32, 48, 64, 128, 256)
#
# Needs these Debian 12 packages: imagemagick, fonts-noto-cjk, and a POSIX
# awk (mawk, part of the base system).
#   sudo apt-get install imagemagick fonts-noto-cjk
#   sh assets/make_assets.sh
# The outputs are written next to this script. Metadata and timestamps are
# stripped, so running it again gives byte-identical files.
# TITLE_FONT may name another bold CJK font file for the title.
# shellcheck disable=SC2046,SC2086 # option lists are split into words on purpose
set -eu

here=$(cd "$(dirname "$0")" && pwd)
title_font=${TITLE_FONT:-/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
trap 'exit 1' INT TERM

[ -r "$title_font" ] || {
    echo "make_assets.sh: $title_font not found; apt-get install fonts-noto-cjk" >&2
    exit 1
}

# Options for every PNG written, so that no date or time chunk ends up in it.
nodate='-strip -define png:exclude-chunks=date,time'

# awk snippet: hue in degrees -> R G B (0..1) at full saturation and brightness.
hsv_awk='
function hue_rgb(hue,   hp, i, f) {
    hp = hue / 60; if (hp >= 6) hp -= 6
    i = int(hp); f = hp - i
    if (i == 0)      { R = 1;     G = f;     B = 0 }
    else if (i == 1) { R = 1 - f; G = 1;     B = 0 }
    else if (i == 2) { R = 0;     G = 1;     B = f }
    else if (i == 3) { R = 0;     G = 1 - f; B = 1 }
    else if (i == 4) { R = f;     G = 0;     B = 1 }
    else             { R = 1;     G = 0;     B = 1 - f }
}
function byte(v) { return int(v * 255 + 0.5) }'

# --- Style strips ------------------------------------------------------------
# Only the hue changes with the column x (0..214); all 20 rows are the same.
# 0 plain, 1 mirrored, 2 and 3 turn round at the centre column 107.
# The pixels are computed in awk and handed over as a plain PPM so that no
# resampling can blur the hue steps; at most 215 colours fit the GIF palette.
style_strip() {
    awk -v style="$1" "$hsv_awk"'
    BEGIN {
        w = 215; h = 20; c = 107
        printf "P3\n%d %d\n255\n", w, h
        for (x = 0; x < w; x++) {
            if (style == 0)      hue = 360 * x / (w - 1)
            else if (style == 1) hue = 360 * (w - 1 - x) / (w - 1)
            else if (style == 2) hue = (x <= c) ? 360 * (c - x) / c : 360 * (x - c) / c
            else                 hue = (x <= c) ? 360 * x / c : 360 * (w - 1 - x) / c
            hue_rgb(hue)
            col[x] = byte(R) " " byte(G) " " byte(B)
        }
        for (y = 0; y < h; y++)
            for (x = 0; x < w; x++) print col[x]
    }' > "$tmp/style$1.ppm"
    convert "$tmp/style$1.ppm" -strip +dither -colors 256 "$here/style$1.gif"
}

for s in 0 1 2 3; do style_strip "$s"; done

# --- Title ------------------------------------------------------------------
# Six characters, one per 232/6-pixel cell, each in its own rainbow colour,
# with a soft gloss on the upper half and a one-pixel outline in a darker
# shade of the same colour so that yellow stays legible on a light window.
# The glyphs are the same in every regional face of the Noto collection, so
# its first face serves.
tw=232; th=40; tsize=34
title_letters='青:#FF4A1C 柚:#FFB300 彩:#34B834 虹:#0EA5E0 文:#5A4BEF 字:#EE3FAE'

title_glyphs() { # $1 $2 = shift right and down; prints ImageMagick draw options
    i=0
    for letter in $title_letters; do
        printf ' -fill %s -annotate +%d+%d %s' "${letter#*:}" \
            $((i * tw / 6 + $1)) $((32 + $2)) "${letter%%:*}"
        i=$((i + 1))
    done
}

# Measure the ink once, then shift it so the six characters sit centred.
box=$(convert -size "${tw}x$th" xc:none -font "$title_font" -pointsize $tsize \
    $(title_glyphs 0 0) -format '%@' info:)
set -- $(echo "$box" | sed 's/[x+]/ /g')
dx=$(( (tw - $1) / 2 - $3 )); dy=$(( (th - $2) / 2 - $4 ))

convert -size "${tw}x$th" xc:none -font "$title_font" -pointsize $tsize \
    $(title_glyphs $dx $dy) \
    \( +clone -size "${tw}x$th" gradient:'rgba(255,255,255,0.35)-rgba(255,255,255,0)' \
       -compose Atop -composite \) \
    \( -clone 0 -channel RGBA -morphology Dilate Disk:1 \
       -channel RGB -fill black -colorize 50% +channel \) \
    -delete 0 +swap -compose Over -composite \
    -depth 8 $nodate "PNG32:$here/title.png"

# --- Icon -------------------------------------------------------------------
# A colour-wheel ball: hue sweeps round the centre (red at the top, going
# clockwise), a white highlight fades out from the centre, the rim is shaded
# a little and the edge is soft. Drawn at 256 px in awk (colour as PPM,
# coverage as PGM); the smaller sizes are scaled down from it.
awk -v n=256 -v rgbfile="$tmp/ball.ppm" -v afile="$tmp/ball.pgm" "$hsv_awk"'
BEGIN {
    pi = atan2(0, -1); c = n / 2; rad = n / 2 - 0.5
    print "P3\n" n " " n "\n255" > rgbfile
    print "P2\n" n " " n "\n255" > afile
    for (y = 0; y < n; y++) for (x = 0; x < n; x++) {
        dx = x + 0.5 - c; dy = y + 0.5 - c
        d = sqrt(dx * dx + dy * dy); r = d / rad
        hue = atan2(dx, -dy) * 180 / pi; if (hue < 0) hue += 360
        hue_rgb(hue)
        w = 1 - r / 0.6; if (w < 0) w = 0; w = w * w * (3 - 2 * w)
        s = (r - 0.7) / 0.3; if (s < 0) s = 0; if (s > 1) s = 1; s = 1 - 0.25 * s * s
        R = (R + (1 - R) * w) * s; G = (G + (1 - G) * w) * s; B = (B + (1 - B) * w) * s
        a = (rad - d) / (0.02 * rad); if (a < 0) a = 0; if (a > 1) a = 1
        print byte(R), byte(G), byte(B) > rgbfile
        print byte(a) > afile
    }
}'
convert "$tmp/ball.ppm" "$tmp/ball.pgm" -alpha off -compose CopyOpacity -composite \
    -depth 8 $nodate "PNG32:$here/icon-256.png"

ico_parts=''
for size in 16 24 32 48; do
    convert "$here/icon-256.png" -resize "${size}x$size" -depth 8 $nodate \
        "PNG32:$here/icon-$size.png"
    # The 8-bit image has a 1-bit mask: keep what is at least half covered,
    # and make the masked-out pixels black as the old AND/XOR drawing wants.
    convert "$here/icon-$size.png" -channel A -threshold 50% +channel \
        -background black -alpha background -dither FloydSteinberg -colors 256 \
        -strip "$tmp/icon-$size-8.miff"
    # Best entry of each size first: readers that take the first match get 32 bpp.
    ico_parts="$ico_parts $here/icon-$size.png $tmp/icon-$size-8.miff"
done
# The desktop's larger sizes, likewise scaled down from the 256 px drawing.
for size in 64 128; do
    convert "$here/icon-256.png" -resize "${size}x$size" -depth 8 $nodate \
        "PNG32:$here/icon-$size.png"
done
# ImageMagick writes DirectClass images as 32 bpp and palette images of more
# than 16 colours as 8 bpp; the check below makes sure that held.
convert $ico_parts -strip "ICO:$here/rainbowtext.ico"

# Read the ICO directory back: 8 entries, each size at 32 then 8 bits per pixel.
ico="$here/rainbowtext.ico"
want='16:32 16:8 24:32 24:8 32:32 32:8 48:32 48:8'
got=''
count=$(od -An -tu2 -j4 -N2 "$ico" | tr -d ' ')
i=0
while [ "$i" -lt "$count" ]; do
    at=$((6 + 16 * i))
    side=$(od -An -tu1 -j"$at" -N1 "$ico" | tr -d ' ')
    bpp=$(od -An -tu2 -j$((at + 6)) -N2 "$ico" | tr -d ' ')
    got="${got:+$got }$side:$bpp"
    i=$((i + 1))
done
if [ "$got" != "$want" ]; then
    echo "make_assets.sh: rainbowtext.ico holds '$got', expected '$want'" >&2
    exit 1
fi
