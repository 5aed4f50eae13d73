#!/bin/sh
# Regenerates the pictures that rainbowtext embeds as Qt resources:
#   style0.gif .. style3.gif   the four rainbow style strips (215 x 20)
#
# Needs (Debian 12): imagemagick, mawk (or any POSIX awk; part of the base system).
# Run from anywhere:   sh assets/make_assets.sh
# The outputs are written next to this script and are deterministic.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM

# --- Style strips ------------------------------------------------------------
# Every column is a fully saturated, full-brightness colour; only the hue
# changes with x (0..214). The pixels are computed in awk and written as a
# plain PPM so no resampling or colour management can blur the hue steps.
style_strip() {
    awk -v style="$1" 'BEGIN {
        w = 215; h = 20; c = 107
        printf "P3\n%d %d\n255\n", w, h
        for (x = 0; x < w; x++) {
            if (style == 0)      hue = 360 * x / (w - 1)
            else if (style == 1) hue = 360 * (w - 1 - x) / (w - 1)
            else if (style == 2) hue = (x <= c) ? 360 * (c - x) / c : 360 * (x - c) / c
            else                 hue = (x <= c) ? 360 * x / c : 360 * (w - 1 - x) / c
            # HSV -> RGB with S = V = 1
            hp = hue / 60; if (hp >= 6) hp -= 6
            i = int(hp); f = hp - i
            up = int(255 * f + 0.5); down = 255 - up
            if (i == 0)      { r = 255;  g = up;   b = 0 }
            else if (i == 1) { r = down; g = 255;  b = 0 }
            else if (i == 2) { r = 0;    g = 255;  b = up }
            else if (i == 3) { r = 0;    g = down; b = 255 }
            else if (i == 4) { r = up;   g = 0;    b = 255 }
            else             { r = 255;  g = 0;    b = down }
            col[x] = r " " g " " b
        }
        for (y = 0; y < h; y++)
            for (x = 0; x < w; x++) print col[x]
    }' > "$tmp/style$1.ppm"
    # At most 215 distinct colours, so the GIF palette holds them exactly.
    convert "$tmp/style$1.ppm" -strip +dither -colors 256 "$here/style$1.gif"
}

for s in 0 1 2 3; do style_strip "$s"; done
