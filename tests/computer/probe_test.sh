#!/bin/sh
# Feeds the probe two openings, a position without a move and three bad lines; checks the
# answers, one message per bad line, and a failing exit status.
probe=$1
err=$(mktemp)
trap 'rm -f "$err"' EXIT
out=$("$probe" 2>"$err" <<'LINES'
...........................XO.....XXX...........................  1 7
....................X......XX......OX........................... 4
XO.............................................................. 3 0
not-a-board 2 1
...........................XO.....XXX........................... 9
XO.............................................................. 2
LINES
) && { echo "bad lines must give a failing exit status"; exit 1; }
[ "$out" = "$(printf '4 5\n5 4\nnone')" ] || { echo "unexpected output: $out"; exit 1; }
[ "$(grep -c '^reversi-probe: line [456]: ' "$err")" = 3 ] || { cat "$err"; exit 1; }
