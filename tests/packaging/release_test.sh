#!/bin/sh
# Usage: release_test.sh SOURCE_DIR
# Makes the Debian package twice with scripts/package, in two build directories a while apart,
# and checks that the two are the same bytes and that lintian, told everything, says nothing.
set -eu
source_dir=$1
export LC_ALL=C.UTF-8

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
trap 'exit 1' INT TERM
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# The builds are a minute or more apart, and their files are dated apart too: a date taken from
# the clock or from a file would show.
for build in first second; do
    BUILD_DIR=$tmp/$build "$source_dir/scripts/package" > "$tmp/$build.log" 2>&1 \
        || { cat "$tmp/$build.log" >&2; fail "scripts/package ($build build)"; exit 1; }
done
first=$(ls "$tmp"/first/rainbowtext_*.deb)
second=$(ls "$tmp"/second/rainbowtext_*.deb)
if ! cmp "$first" "$second"; then
    fail "two builds of the package differ"
    dpkg-deb -c "$first" > "$tmp/first.list"
    dpkg-deb -c "$second" > "$tmp/second.list"
    diff -u "$tmp/first.list" "$tmp/second.list" >&2 || true
fi

# Tags go to standard output; standard error has lintian's own notes (running as root).
if ! lintian --pedantic --display-info --fail-on error,warning,info,pedantic "$first" > "$tmp/lintian" 2> "$tmp/lintian.err" \
    || [ -s "$tmp/lintian" ]; then
    cat "$tmp/lintian" "$tmp/lintian.err" >&2
    fail "lintian has something to say"
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "the package builds the same twice and lintian finds nothing"
