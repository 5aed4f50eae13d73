# What the command-line benchmarks share, sourced after `set -eu`: the tool and the text generator
# of the build folder $1 (default build), hyperfine, and a work folder removed on exit.
build=${1:-build}
cli=$build/cli/rainbowtext-cli
make_text=$build/bench/core/make_bench_text
for tool in "$cli" "$make_text"; do
    [ -x "$tool" ] || { echo "missing $tool: build with -DRAINBOWTEXT_BUILD_BENCHMARKS=ON" >&2; exit 2; }
done
command -v hyperfine > /dev/null || { echo "hyperfine is not installed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
