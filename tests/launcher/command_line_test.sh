#!/usr/bin/env bash
# The program's command line, run for real: what it prints, where, with which exit status, and
# that it writes no file when it only answers or finds no display.
# Usage: command_line_test.sh PROGRAM
set -uo pipefail
program=$(realpath -- "$1") || exit 2
work=$(mktemp -d "${TMPDIR:-/tmp}/reversi-command-line.XXXXXX") || exit 1
trap 'rm -rf -- "$work"' EXIT
export LSAN_OPTIONS="suppressions=$(dirname -- "$(realpath -- "$0")")/../e2e/lsan.supp:print_suppressions=0"
failures=0

# check NAME STATUS STREAM PATTERN LINES ENV... -- ARGS...: runs the program in an empty folder
# with an empty home; STREAM (out or err) must match the extended regular expression PATTERN and
# hold LINES lines ("any" for any number), the other stream must be empty, and nothing may be
# written.
check() {
    local name=$1 status=$2 stream=$3 pattern=$4 lines=$5 environment=() got out err
    shift 5
    while [[ $1 != -- ]]; do
        environment+=("$1")
        shift
    done
    shift
    rm -rf -- "$work/run" "$work/home"
    mkdir "$work/run" "$work/home"
    (cd "$work/run" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work/home" \
        XDG_DATA_HOME= XDG_RUNTIME_DIR="$work/home" "${environment[@]}" \
        "$program" "$@" >"$work/out" 2>"$work/err")
    got=$?
    out=$(cat "$work/out") err=$(cat "$work/err")
    local wanted=$out other=$err
    [[ $stream == err ]] && wanted=$err other=$out
    if ((got != status)) || ! grep -Eq -- "$pattern" <<<"$wanted" || [[ -n $other ]] ||
        [[ $lines != any && $(grep -c '' <<<"$wanted") != "$lines" ]] ||
        [[ -n $(find "$work/run" "$work/home" -mindepth 1 -print -quit) ]]; then
        echo "FAIL: $name: status $got (expected $status)" >&2
        echo "  stdout: $out" >&2
        echo "  stderr: $err" >&2
        find "$work/run" "$work/home" -mindepth 1 | sed 's/^/  written: /' >&2
        failures=$((failures + 1))
    fi
}

no_display='^reversi: no display: .*DISPLAY.*WAYLAND_DISPLAY.*xvfb-run'
check "--help" 0 out '^Usage: reversi \[options\]' any -- --help
check "-h" 0 out '-v, --version' any -- -h
check "--version" 0 out '^Reversi [0-9]+(\.[0-9]+)+$' 1 -- --version
check "a Qt option with --version" 0 out '^Reversi ' 1 -- -style Fusion --version
check "an unknown option" 2 err "^Unknown option 'bogus'\.$" any -- --bogus
check "an argument" 2 err "^Unexpected argument 'game'\.$" any -- game
check "no display named" 1 err "$no_display" 1 --
check "a display that is not there" 1 err "$no_display" 1 DISPLAY=:9999 --
for form in "-display :9998" "--display=:9998" "-display=:9998"; do
    # shellcheck disable=SC2086 # the form is meant to split
    check "a display named on the command line as $form" 1 err \
        '^reversi: no display: cannot open the display ":9998"' 1 DISPLAY=:9999 -- $form
done

((failures == 0)) && echo "passed"
exit $((failures > 0))
