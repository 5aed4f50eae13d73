#!/bin/sh
# The Chinese of rainbowtext-cli is whole: lupdate, run over the sources into a copy of the .ts
# file, finds no text the file lacks, and lrelease finds no entry unfinished.
# Usage: translation_check.sh LUPDATE LRELEASE SOURCE_DIR
set -eu
lupdate=$1 lrelease=$2 source_dir=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_dir/cli/translations/rainbowtext-cli_zh_CN.ts" "$work/copy.ts"
"$lupdate" -no-obsolete -locations none "$source_dir"/cli/*.cpp "$source_dir"/cli/*.h -ts "$work/copy.ts" \
    > "$work/lupdate.log" 2>&1
cat "$work/lupdate.log"
if ! grep -q "(0 new and" "$work/lupdate.log"; then
    echo "texts missing from the .ts file: cmake --build build --target rainbowtext_cli_lupdate, then translate them"
    exit 1
fi
"$lrelease" "$work/copy.ts" -qm "$work/copy.qm" > "$work/lrelease.log" 2>&1
cat "$work/lrelease.log"
if ! grep -q " and 0 unfinished)" "$work/lrelease.log" || grep -q "untranslated" "$work/lrelease.log"; then
    echo "unfinished or untranslated entries in the .ts file"
    exit 1
fi
