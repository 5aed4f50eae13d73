#!/bin/sh
# Usage: package_test.sh BUILD_DIR CMAKE CPACK VERSION
# Installs the built tree into a temporary prefix and checks it as a desktop and Debian would,
# then builds the .deb and checks its fields, its files and lintian's verdict.
set -eu
build_dir=$1 cmake=$2 cpack=$3 version=$4
export LC_ALL=C.UTF-8

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
trap 'exit 1' INT TERM
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

app_id=io.github.rainbowtext
# The drawing module of rainbowtext-cli --image, in a private folder of the library directory.
module_folder=$(sed -n 's/^RAINBOWTEXT_IMAGE_MODULE_FOLDER:INTERNAL=//p' "$build_dir/CMakeCache.txt")
expected_files() { # every file installed, relative to the prefix, sorted
    {
        printf '%s\n' bin/rainbowtext bin/rainbowtext-cli "$module_folder/rainbowtext-cli-image.so" \
            share/applications/$app_id.desktop share/metainfo/$app_id.metainfo.xml \
            share/bash-completion/completions/rainbowtext-cli \
            share/zsh/vendor-completions/_rainbowtext-cli \
            share/fish/vendor_completions.d/rainbowtext-cli.fish \
            share/doc/rainbowtext/changelog.gz share/doc/rainbowtext/copyright \
            share/doc/rainbowtext/README \
            share/man/man1/rainbowtext.1.gz share/man/man1/rainbowtext-cli.1.gz \
            share/man/zh_CN/man1/rainbowtext-cli.1.gz
        for size in 16 24 32 48 64 128 256; do
            echo "share/icons/hicolor/${size}x$size/apps/$app_id.png"
        done
    } | sort
}

# --- The installed tree -------------------------------------------------------
prefix=$tmp/prefix
"$cmake" --install "$build_dir" --prefix "$prefix" > /dev/null
(cd "$prefix" && find . -type f | sed 's|^\./||' | sort) > "$tmp/installed"
expected_files > "$tmp/expected"
diff -u "$tmp/expected" "$tmp/installed" || fail "installed files differ from the list above"

for size in 16 24 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x$size/apps/$app_id.png
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    got=$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $1*16777216 + $2*65536 + $3*256 + $4 "x" $5*16777216 + $6*65536 + $7*256 + $8 }')
    [ "$got" = "${size}x$size" ] || fail "icon in ${size}x$size is $got"
done

for program in rainbowtext rainbowtext-cli; do
    if readelf -d "$prefix/bin/$program" | grep -E 'RPATH|RUNPATH'; then
        fail "$program carries an RPATH"
    fi
done

desktop=$prefix/share/applications/$app_id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
for key in Name 'Name\[en\]' Comment 'Comment\[en\]' Keywords 'Keywords\[en\]' StartupWMClass; do
    grep -q "^$key=." "$desktop" || fail "desktop file lacks $key"
done

appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" > "$tmp/appstream" 2>&1 \
    || fail "appstreamcli validate"
# Not even a note; only AppStream before 1.0 does not know the developer tag that 1.0 asks for.
if grep -E '^[EWI]:' "$tmp/appstream" | grep -v ': unknown-tag developer$'; then fail "appstreamcli has notes"; fi

for page in rainbowtext rainbowtext-cli; do
    man --warnings -E UTF-8 -l "$prefix/share/man/man1/$page.1.gz" > "$tmp/$page.txt" 2> "$tmp/$page.warnings"
    if [ -s "$tmp/$page.warnings" ]; then
        cat "$tmp/$page.warnings" >&2
        fail "man warns about $page(1)"
    fi
done
# The Chinese page, as man -L zh_CN finds it.
zh_page=$prefix/share/man/zh_CN/man1/rainbowtext-cli.1.gz
man --warnings -E UTF-8 -l "$zh_page" > "$tmp/rainbowtext-cli.zh_CN.txt" 2> "$tmp/zh_CN.warnings"
[ -s "$tmp/zh_CN.warnings" ] && { cat "$tmp/zh_CN.warnings" >&2; fail "man warns about the Chinese rainbowtext-cli(1)"; }
MANPATH=$prefix/share/man man -L zh_CN -E UTF-8 rainbowtext-cli 2> /dev/null | grep -q '^名称' \
    || fail "man -L zh_CN rainbowtext-cli does not show the Chinese page"

# Every long option --help names, wherever it stands in the text, is described in the manual
# page (after its short form, if any) and offered by Tab in bash, zsh and fish.
LANGUAGE='' "$prefix/bin/rainbowtext-cli" --help | grep -oE -- '--[a-z][a-z0-9-]*' | sort -u > "$tmp/options"
[ -s "$tmp/options" ] || fail "no options found in rainbowtext-cli --help"
completions=$prefix/share
bash -c '
    . /usr/share/bash-completion/bash_completion
    . "$1"
    COMP_LINE="rainbowtext-cli --"; COMP_POINT=${#COMP_LINE}
    COMP_WORDS=(rainbowtext-cli --); COMP_CWORD=1
    _rainbowtext_cli rainbowtext-cli -- rainbowtext-cli
    printf "%s\n" "${COMPREPLY[@]}"' sh "$completions/bash-completion/completions/rainbowtext-cli" > "$tmp/bash"
# zsh completes from the option descriptions the function hands to _arguments; the stand-in prints
# them, and each one's option name follows its exclusion list "(...)" and repeat mark "*".
zsh -f -c '_arguments() { print -rl -- "$@" }; source "$1"' zsh \
    "$completions/zsh/vendor-completions/_rainbowtext-cli" \
    | sed -E 's/^\([^)]*\)//; s/^\*//' | grep -oE -- '^--[a-z][a-z0-9-]*' > "$tmp/zsh" \
    || fail "zsh completion"
# shellcheck disable=SC2016 # fish expands $argv itself
fish --no-config -c 'source $argv[1]; complete -C "rainbowtext-cli --"' \
    "$completions/fish/vendor_completions.d/rainbowtext-cli.fish" | cut -f1 > "$tmp/fish" \
    || fail "fish completion"
while read -r option; do
    grep -qE -- "^ *(-[A-Za-z], )?$option\b" "$tmp/rainbowtext-cli.txt" || fail "rainbowtext-cli(1) lacks $option"
    grep -qE -- "^ *(-[A-Za-z], )?$option\b" "$tmp/rainbowtext-cli.zh_CN.txt" \
        || fail "the Chinese rainbowtext-cli(1) lacks $option"
    for shell in bash zsh fish; do
        grep -qx -- "$option" "$tmp/$shell" || fail "$shell completion lacks $option"
    done
done < "$tmp/options"

# The documents are for users: none points into a build tree or at the developers' scripts.
if zgrep -E '(^|[^[:alnum:]-])(build[[:alnum:]-]*|scripts)/' "$prefix"/share/doc/rainbowtext/*; then
    fail "the installed documents name the build tree or the scripts"
fi

# Every place that names the release names this one.
zcat "$prefix/share/doc/rainbowtext/changelog.gz" > "$tmp/changelog"
[ "$(dpkg-parsechangelog -l "$tmp/changelog" -S Version)" = "$version" ] || fail "changelog is not at $version"
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$app_id.metainfo.xml" \
    || fail "metainfo has no release $version"
for page in rainbowtext rainbowtext-cli; do
    zcat "$prefix/share/man/man1/$page.1.gz" | grep -q "^\.TH .*\"rainbowtext $version\"" \
        || fail "$page(1) is not of rainbowtext $version"
done
zcat "$zh_page" | grep -q "^\.TH .*\"rainbowtext $version\"" || fail "the Chinese rainbowtext-cli(1) is not of $version"
[ "$("$prefix/bin/rainbowtext-cli" --version)" = "rainbowtext-cli $version" ] || fail "rainbowtext-cli --version"

# The launcher matches the window: its StartupWMClass is the class the window reports on X11
# (up to a minute to show, for a loaded machine).
wm_class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
# shellcheck disable=SC2016 # the inner script expands its own variables
reported=$(QT_QPA_PLATFORM=xcb xvfb-run -a sh -c '
    "$1" & pid=$!
    for _ in $(seq 600); do
        id=$(xwininfo -root -children 2>/dev/null | awk "/\"rainbowtext\" \"/ { print \$1; exit }")
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] && xprop -id "$id" WM_CLASS
    kill "$pid"' sh "$prefix/bin/rainbowtext" 2>/dev/null || true)
echo "window: $reported"
case $reported in
    *", \"$wm_class\"") ;;
    *) fail "the window reports '$reported', the desktop file StartupWMClass=$wm_class" ;;
esac

# --- The Debian package -------------------------------------------------------
(cd "$build_dir" && "$cpack" -G DEB -B "$tmp/deb" > "$tmp/cpack.log") || { cat "$tmp/cpack.log" >&2; fail "cpack"; }
deb=$tmp/deb/rainbowtext_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { fail "no $deb"; exit 1; }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = rainbowtext ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Section)" = text ] || fail "Section: $(field Section)"
[ "$(field Priority)" = optional ] || fail "Priority: $(field Priority)"
[ "$(field Homepage)" = https://www.example.com/ ] || fail "Homepage: $(field Homepage)"
# A CJK font first (the window's captions are Chinese), then what the binaries link.
case $(field Depends) in
    "fonts-arphic-uming | fonts-noto-cjk | fonts-wqy-zenhei, "*libqt6widgets6*libstdc++6*) ;;
    *) fail "Depends lacks the CJK font or what the binaries need: $(field Depends)" ;;
esac
[ "$(field Recommends)" = qt6-translations-l10n ] || fail "Recommends: $(field Recommends)"
field Description | grep -q '青柚彩虹文字' || fail "Description lacks the Chinese name"

dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\/usr\//, "", $6); print $6 }' | sort > "$tmp/packaged"
diff -u "$tmp/expected" "$tmp/packaged" || fail "packaged files differ from the list above"

dpkg-deb -x "$deb" "$tmp/unpacked"
for program in rainbowtext rainbowtext-cli; do
    if readelf -S "$tmp/unpacked/usr/bin/$program" | grep -E '\.comment|\.debug'; then
        fail "packaged $program keeps its .comment or debugging sections"
    fi
done
grep -q '^Source: https://www.example.com/$' "$tmp/unpacked/usr/share/doc/rainbowtext/copyright" \
    || fail "copyright names no Source"

lintian --fail-on error,warning "$deb" > "$tmp/lintian" 2>&1 || { cat "$tmp/lintian" >&2; fail "lintian"; }
if grep -E '^[EW]:' "$tmp/lintian"; then fail "lintian reports errors or warnings"; fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "all packaging checks passed"
