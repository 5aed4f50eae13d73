#!/bin/sh
# Usage: release_test.sh SOURCE_DIR
# Makes the Debian package and its debug symbols twice with scripts/package, in two build
# directories a while apart and under two umasks, and checks that the two are the same bytes and
# that lintian, told everything, says nothing.
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
# the clock or from a file would show. The first is built by a user whose umask keeps everything
# private, the second under Debian's usual one: the permissions in the package are the same.
package() { # NAME UMASK
    (umask "$2" && BUILD_DIR=$tmp/$1 "$source_dir/scripts/package") > "$tmp/$1.log" 2>&1 \
        || { cat "$tmp/$1.log" >&2; fail "scripts/package ($1 build)"; exit 1; }
}
package first 077
package second 022
for kind in deb ddeb; do
    first=$(ls "$tmp"/first/rainbowtext*_*.$kind)
    second=$(ls "$tmp"/second/rainbowtext*_*.$kind)
    if ! cmp "$first" "$second"; then
        fail "two builds of the .$kind differ"
        dpkg-deb -c "$first" > "$tmp/first.list"
        dpkg-deb -c "$second" > "$tmp/second.list"
        diff -u "$tmp/first.list" "$tmp/second.list" >&2 || true
    fi
    if dpkg-deb -c "$first" | awk '$1 ~ /^d/ && $1 != "drwxr-xr-x" { print; found = 1 } END { exit !found }' >&2; then
        fail "the .$kind has directories other users cannot read"
    fi
done
first=$(ls "$tmp"/first/rainbowtext_*.deb)
debug_symbols=$(ls "$tmp"/first/rainbowtext-dbgsym_*.ddeb)

# Tags go to standard output; standard error has lintian's own notes (running as root).
if ! lintian --pedantic --display-info --display-experimental --fail-on error,warning,info,pedantic "$first" "$debug_symbols" > "$tmp/lintian" 2> "$tmp/lintian.err" \
    || [ -s "$tmp/lintian" ]; then
    cat "$tmp/lintian" "$tmp/lintian.err" >&2
    fail "lintian has something to say"
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "the package builds the same twice and lintian finds nothing"
