#!/usr/bin/env bash
# The screenshot tool makes every picture the metainfo names, at the size the metainfo states,
# and each of its pictures at the size its name says.
# Usage: screenshots_test.sh TOOL METAINFO WORK_DIR
set -uo pipefail
tool=$1 metainfo=$2 work=$3
rm -rf -- "$work"
"$tool" "$work" >/dev/null || { echo "FAIL: the tool failed" >&2; exit 1; }
failures=0
for made in "$work"/*.png; do
    [[ $(basename -- "$made" .png) =~ -([0-9]+)x([0-9]+)$ ]] || continue
    width=${BASH_REMATCH[1]} height=${BASH_REMATCH[2]}
    if ! file -- "$made" | grep -Fq "PNG image data, $width x $height,"; then
        echo "FAIL: $made is not ${width}x$height" >&2
        failures=$((failures + 1))
    fi
done
named=$(grep -Eo 'width="[0-9]+" height="[0-9]+">[^<]+' "$metainfo")
[[ -n $named ]] || { echo "FAIL: the metainfo names no screenshot" >&2; exit 1; }
while IFS= read -r image; do
    [[ $image =~ width=\"([0-9]+)\"\ height=\"([0-9]+)\"\>.*/([^/]+)$ ]] || continue
    name=${BASH_REMATCH[3]}
    if [[ $name != *-${BASH_REMATCH[1]}x${BASH_REMATCH[2]}.png || ! -f $work/$name ]]; then
        echo "FAIL: the metainfo names $name, which the tool does not make at that size" >&2
        failures=$((failures + 1))
    fi
done <<<"$named"
exit $((failures > 0))
