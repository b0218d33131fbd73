#!/usr/bin/env bash
# run_fuzz_target.sh TARGET CORPUS SECONDS FAILURES [DICTIONARY]
#
# Runs the libFuzzer TARGET for SECONDS over a copy of the seed corpus CORPUS (left as it is),
# after replaying every input in it, with the DICTIONARY of tokens when given. Fails on a crash,
# a sanitizer report, a time-out or a leak; the failing input is then kept in FAILURES, to be
# added to CORPUS as a regression case once the fault is mended.
set -euo pipefail
target=$1 corpus=$2 seconds=$3 failures=$4
options=()
if (($# > 4)); then options+=("-dict=$5"); fi

# In memory where the machine offers it: the file readers' targets write a file per input.
work=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus" "$work/artifacts" "$work/tmp"
cp -R "$corpus/." "$work/corpus/"

status=0
TMPDIR="$work/tmp" "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/" "${options[@]}" "$work/corpus" ||
    status=$?
if ((status != 0)) || [[ -n $(ls -A "$work/artifacts") ]]; then
    mkdir -p "$failures"
    cp -R "$work/artifacts/." "$failures/"
    echo "fuzzing $(basename "$target") failed (status $status); failing inputs kept in $failures:"
    ls -l "$failures"
    exit 1
fi
