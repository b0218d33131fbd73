#!/usr/bin/env bash
# Builds the packages a second time, from a copy of the sources in another folder (its files
# just written, so with other times), under umask 002, and compares them byte for byte with the
# ones package.contents made.
# Usage: reproducible_test.sh SOURCE_DIR WORK_DIR FIRST_OUTPUT_DIR
set -uo pipefail
source=$1 work=$2 first=$3
umask 002
rm -rf -- "$work"
copy=$work/sources
mkdir -p -- "$copy"
cd "$source" || exit 1
# The sources package.sh takes from there: in a git checkout what HEAD holds.
if [[ $(git rev-parse --show-toplevel 2>/dev/null) == "$(pwd -P)" ]]; then
    git archive --format=tar HEAD
else
    find . -path ./build -prune -o -path ./.git -prune -o -type f -print0 |
        tar --create --null --files-from=-
fi | tar --extract --directory="$copy" || exit 1
# Unlike the original's, the copy's files and folders are group-writable and written now.
find "$copy" -exec touch {} + && chmod -R g+w "$copy"

if ! "$copy/scripts/package.sh" "$work/build" "$work/out" >"$work/package.log" 2>&1; then
    tail -n 40 -- "$work/package.log" >&2
    echo "FAIL: package.sh failed on the copy" >&2
    exit 1
fi
failures=0
for made in "$first"/*.deb; do
    name=$(basename -- "$made")
    again=$work/out/$name
    sums=$(sha256sum -- "$made" "$again" 2>/dev/null | cut -d' ' -f1 | uniq)
    if [[ $(wc -l <<<"$sums") != 1 || ! -f $again ]]; then
        echo "FAIL: $name differs between the two builds:" >&2
        sha256sum -- "$made" "$again" >&2
        failures=$((failures + 1))
    else
        echo "same: $name $sums"
    fi
done
exit $((failures > 0))
