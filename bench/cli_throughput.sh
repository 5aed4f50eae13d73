#!/bin/sh
# rainbowtext-cli as a whole process: the benchmark text of 6,400,000 characters (about a third
# CJK, a line break every 80; 10.7 MB of UTF-8, 6.4 M UTF-16 units) from a file on standard
# input to /dev/null, as UBB gradient and as symmetric rainbow, with LF line breaks, again with a
# CR before every LF (the same characters: CR LF is one), and again with an emoji in the middle
# of every line (plain, skin tone, variation selector, flag, ZWJ family: the boundary scanner). Prints the median time of
# hyperfine runs, the rate, and the median peak memory of /usr/bin/time runs beside the budget
# of input + output + 20 %. Then the options that shorten the markup or change its colours, and
# --lines (the same text is 10.6 MB of 80-character lines), each beside the default gradient on
# the LF text.
#
# Usage: bench/cli_throughput.sh [BUILD_DIR]   (a build configured with -DRAINBOWTEXT_BUILD_BENCHMARKS=ON)
set -eu

# shellcheck source=bench/cli_common.sh
. "$(dirname "$0")/cli_common.sh"
characters=6400000
runs=15

"$make_text" "$characters" > "$work/lf.txt"
sed 's/$/\r/' "$work/lf.txt" > "$work/crlf.txt"
"$make_text" "$characters" --emoji > "$work/emoji.txt"

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

printf '%-6s %-28s %10s %12s %12s %14s\n' text mode "median s" "M chars/s" "peak MB" "budget MB"
for text in lf crlf emoji; do
    for mode in "--mode gradient" "--mode rainbow --symmetric"; do
        input_bytes=$(wc -c < "$work/$text.txt")
        output_bytes=$("$cli" $mode < "$work/$text.txt" | wc -c)
        hyperfine --warmup 3 --runs "$runs" --style none --export-json "$work/run.json" \
            "'$cli' $mode < '$work/$text.txt' > /dev/null" > /dev/null
        seconds=$(sed -n 's/.*"median": *\([0-9.e-]*\).*/\1/p' "$work/run.json" | head -n 1)
        peak_kb=$(for i in 1 2 3 4 5; do
            /usr/bin/time -f %M "$cli" $mode < "$work/$text.txt" 2>&1 > /dev/null | tail -n 1
        done | median)
        awk -v text="$text" -v mode="$mode" -v s="$seconds" -v n="$characters" -v kb="$peak_kb" \
            -v i="$input_bytes" -v o="$output_bytes" 'BEGIN {
                printf "%-6s %-28s %10.3f %12.1f %12.1f %14.1f\n", text, mode, s, n / s / 1e6, kb * 1024 / 1e6,
                    (i + o) * 1.2 / 1e6
            }'
    done
done
# The options against the default, hyperfine running both in one go (so both meet the same load).
printf '\n%-40s %10s %10s %8s %8s\n' options "median s" "default s" ratio target
for case in "--merge:1.5" "--skip-spaces:1.5" "--stops 00FFFF,FFFF00,FF0080:1.5" "--blend oklab:1.5" \
    "--blend hsv:1.5" "--merge --skip-spaces:1.5" "--lines:2"; do
    options=${case%:*}
    target=${case##*:}
    hyperfine --warmup 3 --runs "$runs" --style none --export-json "$work/run.json" \
        "'$cli' < '$work/lf.txt' > /dev/null" "'$cli' $options < '$work/lf.txt' > /dev/null" > /dev/null
    medians=$(sed -n 's/.*"median": *\([0-9.e-]*\).*/\1/p' "$work/run.json")
    awk -v options="$options" -v target="$target" -v m="$medians" 'BEGIN {
        split(m, v, " "); printf "%-40s %10.3f %10.3f %8.2f %8s\n", options, v[2], v[1], v[2] / v[1], target
    }'
done

echo "input $(wc -c < "$work/lf.txt") bytes with LF, $(wc -c < "$work/crlf.txt") with CR LF, $(wc -c < "$work/emoji.txt") with emoji, $characters characters"
echo "targets: at least 25 M chars/s (emoji: 60 M chars/s), peak within the budget"
