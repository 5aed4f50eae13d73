#!/bin/sh
# rainbowtext-cli --image as a whole process: 10,000 characters of the benchmark text (about a
# third CJK, a line break every 80) drawn to PNG, to SVG, and on one line wrapped by --width; the
# start-up without --image beside it (the drawing module is not loaded then); and a text too large
# for the picture limit refused in 1 GB of address space (ulimit -v 1000000) with its message.
# Prints hyperfine's median wall-clock time and the mean user + system time of each.
#
# Usage: bench/cli_image.sh [BUILD_DIR]   (a build configured with -DRAINBOWTEXT_BUILD_BENCHMARKS=ON)
set -eu

# shellcheck source=bench/cli_common.sh
. "$(dirname "$0")/cli_common.sh"

"$make_text" 10000 > "$work/lines.txt"
tr -d '\n' < "$work/lines.txt" > "$work/one-line.txt"
"$make_text" 1000000 > "$work/large.txt"

printf '%-44s %10s %14s\n' case "median s" "user+sys s"
measure() { # name, command
    hyperfine -N --warmup 3 --runs 15 --style none --export-json "$work/run.json" "$2" > /dev/null
    awk -v name="$1" -v json="$(tr -d '\n ' < "$work/run.json")" 'BEGIN {
        match(json, /"median":[0-9.e-]+/); median = substr(json, RSTART + 9, RLENGTH - 9)
        match(json, /"user":[0-9.e-]+/); user = substr(json, RSTART + 7, RLENGTH - 7)
        match(json, /"system":[0-9.e-]+/); sys = substr(json, RSTART + 9, RLENGTH - 9)
        printf "%-44s %10.3f %14.3f\n", name, median, user + sys
    }'
}
measure "start-up, no picture (abc)" "$cli abc"
measure "10,000 characters, 80 a line, to PNG" "$cli --file $work/lines.txt --image $work/out.png"
measure "10,000 characters, 80 a line, to SVG" "$cli --file $work/lines.txt --image $work/out.svg"
measure "10,000 characters, one line, --width 1600" "$cli --file $work/one-line.txt --width 1600 --image $work/out.png"
file "$work/out.png" | sed 's/.*PNG image data, /last picture: /'

status=0
message=$( (ulimit -v 1000000 && "$cli" --file "$work/large.txt" --width 1000 --image "$work/large.png") 2>&1) || status=$?
echo "1,000,000 characters in ulimit -v 1000000: exit $status: $message"
[ "$status" -eq 2 ] && [ ! -e "$work/large.png" ] && case $message in *"larger than the limit"*) ;; *) exit 1 ;; esac
