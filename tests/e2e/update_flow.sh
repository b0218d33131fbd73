#!/usr/bin/env bash
# The update, with the real game: a build of it whose update channel lies on loopback checks for
# a new version at start-up and installs it at exit, against the test HTTP server. The game runs
# offscreen, each case in a fresh folder holding a copy of it, so it keeps its files there and
# may replace itself. A case starts the game, waits for the check to finish, ends the game with
# SIGTERM as a session's end would, waits for the updater to finish, then checks the folder.
#
# The script runs itself again in a network namespace of its own, where the server listens on
# 127.0.0.1 and a veth pair with an address makes the game find itself online; nothing there
# leads off the machine. Exits 77 (skipped) where no such namespace can be made.
#
# Usage: update_flow.sh PROGRAM SERVER PORT COMMIT
#   PROGRAM  the game built with the loopback channel
#   SERVER   tests/support/local_http_server.py
#   PORT     the port of the channel's URLs on 127.0.0.1
#   COMMIT   the commit id of the channel's download base
# On failure it keeps its folder: one subfolder per case and the game's output beside it.
# shellcheck disable=SC2317 # the conditions below run through wait_for
set -uo pipefail
# shellcheck source=e2e_lib.sh
source "$(dirname -- "${BASH_SOURCE[0]}")/e2e_lib.sh" || exit 1

if [[ ${1-} != --in-namespace ]]; then
    if (($# != 4)); then
        echo "usage: $0 PROGRAM SERVER PORT COMMIT" >&2
        exit 2
    fi
    outer_namespace=$(readlink /proc/self/ns/net)
    for candidate in "unshare --net" "unshare --user --map-root-user --net"; do
        read -r -a namespace <<<"$candidate"
        "${namespace[@]}" true 2>/dev/null || continue
        # shellcheck disable=SC2093 # the first namespace that works is the one
        exec "${namespace[@]}" -- bash "${BASH_SOURCE[0]}" --in-namespace "$outer_namespace" "$@"
    done
    echo "SKIP: cannot run the update in a network namespace of its own (unshare --net)"
    exit 77
fi
[[ $(readlink /proc/self/ns/net) != "$2" ]] || fail "still in the outer network namespace"
shift 2
server_script=$(realpath -- "$2") || exit 2
port=$3
commit=$4
for tool in ip python3 cmp mkfifo find; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/deps.sh installs it)"
done

e2e_prepare "$1"
total_limit_ms=160000 # below the test's time-out of 180 s
step_limit_ms=15000

# --- the network ---------------------------------------------------------------------------

ip link set lo up || fail "cannot bring up loopback"
if ! ip link add v0 type veth peer name v1 2>"$work/ip.log"; then
    echo "SKIP: cannot add a veth pair: $(cat -- "$work/ip.log")"
    exit 77
fi
# An address from the range kept for documentation; both ends stay in this namespace.
ip addr add 192.0.2.1/24 dev v0 || fail "cannot give v0 an address"
if ! ip link set v0 up || ! ip link set v1 up; then
    fail "cannot bring up the veth pair"
fi
link_running() { [[ $(ip -o link show dev v0) == *LOWER_UP*"state UP"* ]]; }
wait_for "the veth pair to come up" link_running

# --- what the server publishes --------------------------------------------------------------

served=$work/served
version_path=reversi/master/version.txt
download_path=reversi/raw/$commit/6.exe
new_program=$work/new-program # a complete program for this machine, small and harmless
cp -- /bin/true "$new_program" || fail "cannot copy /bin/true"
maintenance_page=$work/maintenance.html
printf '<!DOCTYPE html>\n<html><body><h1>Down for maintenance</h1></body></html>\n' \
    >"$maintenance_page"

# publish VERSION DOWNLOAD: the version file holds VERSION ("-": none, so the check gets a 404);
# 6.exe is DOWNLOAD: "program" (the new program), "html" (a maintenance page) or "-" (none).
publish() {
    rm -rf -- "$served"
    mkdir -p -- "$served/${version_path%/*}" "$served/${download_path%/*}" || fail "cannot fill $served"
    [[ $1 == - ]] || printf '%s\n' "$1" >"$served/$version_path"
    case $2 in
        program) cp -- "$new_program" "$served/$download_path" ;;
        html) cp -- "$maintenance_page" "$served/$download_path" ;;
    esac
}

server_pid=
server_listening() { # the server prints its port once it listens
    [[ -s $work/server.port ]] && return 0
    kill -0 "$server_pid" 2>/dev/null || fail "the HTTP server ended: $(cat -- "$work/server.log")"
    return 1
}
# serve [OPTION...]: (re)starts the server over what is published, with the server's options
serve() {
    [[ -n $server_pid ]] && stop "$server_pid"
    : >"$work/server.port"
    python3 "$server_script" --root "$served" --port "$port" "$@" \
        >"$work/server.port" 2>>"$work/server.log" &
    server_pid=$!
    helper_pids+=("$server_pid")
    wait_for "the HTTP server to listen" server_listening
}

# --- one case --------------------------------------------------------------------------------

case_name=
dir=
game_pids=()

# begin_case NAME [FILE]: a fresh folder holding a copy of the game as FILE ("game" unless
# given), mode 0750, so that an update shows it keeps the old file's permission bits.
begin_case() {
    case_name=$1
    dir=$work/$1
    mkdir -- "$dir" || fail "cannot make $dir"
    if ! cp -- "$program" "$dir/${2-game}" || ! chmod 0750 -- "$dir/${2-game}"; then
        fail "cannot copy the game into $dir"
    fi
    game_pids=()
    program_log=$dir.log
}

# start_game FILE: starts the game's file FILE in the case's folder, offscreen
start_game() {
    program_environment
    (cd -- "$dir" && exec "${program_env[@]}" TMPDIR="${TMPDIR:-/tmp}" QT_QPA_PLATFORM=offscreen \
        "./$1") \
        >>"$program_log" 2>&1 &
    game_pids+=("$!")
    app_pid=$! # wait_for fails at once when it ends early
    app_may_end=
    app_status=
}

# The processes working in the case's folder, one pid a line: the games, and the update's
# scripts and downloader, which run there. The folder's path holds no pattern characters.
workers() {
    find /proc -mindepth 2 -maxdepth 2 -path '/proc/[0-9]*/cwd' -lname "$dir" -printf '%h\n' \
        2>/dev/null | sed 's|^/proc/||' | sort
}

# The check has finished once the games have written their fonts, which they do after starting
# the check's script, and nothing but the games works in the folder any more.
check_finished() {
    local got want
    [[ -e $dir/5.db && -e $dir/6.db ]] || {
        mismatch="no fonts yet"
        return 1
    }
    got=$(workers)
    want=$(printf '%s\n' "${game_pids[@]}" | sort)
    [[ $got == "$want" ]] || {
        mismatch="working in the folder: $(tr '\n' ' ' <<<"$got")"
        return 1
    }
}
version_file_and() { # version_file_and COMMAND...: version.txt is there and COMMAND succeeds
    [[ -f $dir/version.txt ]] || {
        mismatch="no version.txt yet"
        return 1
    }
    "$@"
}
wait_for_check() {
    wait_for "the update check of case $case_name" check_finished
}

games_ended() {
    local pid
    for pid in "${game_pids[@]}"; do
        kill -0 "$pid" 2>/dev/null && return 1
    done
    return 0
}
nobody_works() {
    mismatch="working in the folder: $(workers | tr '\n' ' ')"
    [[ -z $(workers) ]]
}

# Sends the games SIGTERM together; each must end promptly with status 0. Then waits for the
# updater, if any, to finish.
end_games() {
    local pid status
    app_may_end=1
    kill -TERM "${game_pids[@]}" 2>/dev/null
    step_limit_ms=5000 wait_for "the game to end in case $case_name" games_ended
    for pid in "${game_pids[@]}"; do
        wait "$pid"
        status=$?
        ((status == 0)) || report "$case_name: the game ended with status $status"
    done
    app_status=ended
    wait_for "the update to finish in case $case_name" nobody_works
}

# expect_program FILE WHICH: FILE in the case's folder holds the old game, the new program or
# either, with the old file's permission bits
expect_program() {
    local file=$dir/$1 got
    if [[ -L $file || ! -f $file ]]; then
        report "$case_name: $1 is no longer a regular file"
        return
    fi
    if cmp -s -- "$file" "$program"; then
        got=old
    elif cmp -s -- "$file" "$new_program"; then
        got=new
    else
        got="neither the old nor the new"
    fi
    [[ $got == "$2" || ($2 == either && ($got == old || $got == new)) ]] ||
        report "$case_name: $1 holds $got program, expected $2"
    [[ $(stat -c %a -- "$file") == 750 ]] ||
        report "$case_name: $1 has mode $(stat -c %a -- "$file"), expected 750"
}

# expect_files NAME...: the case's folder holds exactly these files
expect_files() {
    local got want
    got=$(find "$dir" -mindepth 1 -maxdepth 1 -printf '%f\n' | sort | tr '\n' ' ')
    want=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
    [[ $got == "$want" ]] || report "$case_name: the folder holds $got; expected $want"
}

# After a check that found the version file, only it is left of the check.
expect_version_file() {
    [[ -f $dir/version.txt && ! -L $dir/version.txt && $(cat -- "$dir/version.txt") == 6 ]] ||
        report "$case_name: version.txt does not hold 6 after the check"
}

# run_case NAME FILE WHICH: the common steps of a case whose game file is FILE and the check
# finds version 6: start, check, end, update; FILE then holds WHICH program and nothing else of
# the update or the game is left.
run_case() {
    start_game "$2"
    wait_for_check
    [[ $2 == version.txt ]] || expect_version_file
    end_games
    expect_program "$2" "$3"
    expect_files "$2"
}

# --- the cases -----------------------------------------------------------------------------

# The download: installed when it is a complete program; a maintenance page served as 200 with
# a length, or a program cut short without a stated length, leaves the old game as it was.
while read -r -u 3 name download expected options; do
    publish 6 "$download"
    # shellcheck disable=SC2086 # the options are meant to split
    serve ${options//@/\/$download_path}
    begin_case "$name"
    run_case "$name" game "$expected"
done 3<<'EOF'
installed        program  new
maintenance-page html     old
cut-short        program  old   --no-length @
EOF
# The replaced game is the new program, and it runs.
"$work/installed/game" || report "installed: the new program does not run"

# The game under the name of one of the update's own files: it is neither overwritten nor
# deleted. Where that name keeps the check from running, a version file from an earlier run
# still asks for the update at exit.
publish 6 program
serve
for file in downloader.exe check.bat version.txt .wget-hsts .exe updater.bat 6.exe; do
    begin_case "named-$file" "$file"
    [[ $file == version.txt ]] || printf '6\n' >"$dir/version.txt"
    run_case "named-$file" "$file" old
done

# Renamed while it runs: the update follows the running game to its new name; the user's new
# file under the old name is left alone.
begin_case renamed
start_game game
wait_for_check
mv -- "$dir/game" "$dir/game2" || fail "cannot rename the game"
printf 'my notes\n' >"$dir/game"
end_games
[[ $(cat -- "$dir/game") == 'my notes' ]] || report "renamed: the user's file \"game\" was changed"
expect_program game2 new
expect_files game game2

# Links and FIFOs under the update's names are somebody else's: they stay as they are, and so
# does the game, since the check that would replace them does not run.
left_alone_case() { # the case keeps its .wget-hsts, and the old game
    start_game game
    wait_for_check
    end_games
    expect_program game old
    expect_files .wget-hsts game
}
begin_case state-link
printf 'user text\n' >"$work/outside.txt"
ln -s -- "$work/outside.txt" "$dir/.wget-hsts"
left_alone_case
[[ -L $dir/.wget-hsts && $(cat -- "$work/outside.txt") == 'user text' ]] ||
    report "state-link: the link .wget-hsts or the file it links to was changed"

begin_case state-fifo
mkfifo -- "$dir/.wget-hsts"
left_alone_case
[[ -p $dir/.wget-hsts ]] || report "state-fifo: .wget-hsts is no longer the FIFO"

# A FIFO "version.txt": the game still ends at once, with status 0, and leaves it.
publish - program
serve
begin_case version-fifo
mkfifo -- "$dir/version.txt"
start_game game
wait_for_check
end_games
expect_program game old
expect_files game version.txt
[[ -p $dir/version.txt ]] || report "version-fifo: version.txt is no longer the FIFO"

# Two games from one file in one folder: the second leaves the folder to the first and keeps its
# files in a temporary folder of its own, so only the first checks for the update and puts the
# new program in place at the end; nothing of either game is left, in either folder.
publish 6 program
serve
second_started() { compgen -G "$dir.tmp/reversi-*/6.db" >/dev/null; }
for round in 1 2; do
    begin_case "two-games-$round"
    start_game game
    wait_for_check
    mkdir -- "$dir.tmp" || fail "cannot make $dir.tmp"
    TMPDIR=$dir.tmp start_game game
    wait_for "the second game's fonts in its temporary folder in case $case_name" second_started
    end_games
    expect_program game new
    expect_files game
    left=$(find "$dir.tmp" -mindepth 1 -print -quit)
    [[ -z $left ]] || report "$case_name: the second game left $left"
done

finish
