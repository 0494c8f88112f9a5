#!/usr/bin/env bash
# Shared helpers of the integration tests: the built programs, a private X server, processes with
# their exit codes, and windows with their pixels. Sourced by tests/integration/*.sh; run on its
# own, it checks that its helpers can fail (so that the tests built on them mean something).
set -u

: "${MORVANE_BUILD:?MORVANE_BUILD must name the build folder}"
MORVANE="$MORVANE_BUILD/morvane"
XTESTHOST="$MORVANE_BUILD/tools/xtesthost/xtesthost"
TEST_TMP=$(mktemp -d)
_lib_pids=()

# Everything this test started goes at the end; politely first, so that an X server can remove
# its socket and lock file.
_lib_cleanup() {
  local pid=""
  for pid in "${_lib_pids[@]}"; do kill -TERM "$pid" 2>/dev/null; done
  for _ in $(seq 50); do
    for pid in "${_lib_pids[@]}"; do running "$pid" && break; done
    running "$pid" || break
    sleep 0.02
  done
  for pid in "${_lib_pids[@]}"; do kill -KILL "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$TEST_TMP"
}
trap _lib_cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "ok - $*"; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
# in_ms SECONDS: a time in seconds (fractions allowed) as whole milliseconds.
in_ms() { awk -v s="$1" 'BEGIN { printf "%d", s * 1000 }'; }

# need PROGRAM...: every program must be there, else the test fails saying which one is missing.
need() {
  local program
  for program in "$@"; do
    [ -x "$program" ] || command -v "$program" >/dev/null || fail "missing program: $program"
  done
}

# own_display [WIDTHxHEIGHT]: a private Xvfb for this test (default 1280x720), so that grabs and
# focus changes cannot meet those of tests running beside it. Sets DISPLAY and XVFB_PID. -noreset: otherwise
# the server starts afresh whenever its last client leaves, and puts the pointer back in the middle.
own_display() {
  local size=${1:-1280x720} fd_file="$TEST_TMP/displayfd" number=""
  : >"$fd_file"
  Xvfb -displayfd 9 -screen 0 "${size}x24" -nolisten tcp -noreset +extension GLX 9>"$fd_file" \
    >"$TEST_TMP/xvfb.log" 2>&1 &
  XVFB_PID=$!
  _lib_pids+=("$XVFB_PID")
  for _ in $(seq 200); do
    number=$(head -n1 "$fd_file" 2>/dev/null)
    [ -n "$number" ] && break
    sleep 0.025
  done
  [ -n "$number" ] || fail "the private X server did not start: $(cat "$TEST_TMP/xvfb.log")"
  export DISPLAY=":$number"
}

# fresh_settings: an empty settings folder, so that stored values of the machine play no part.
fresh_settings() {
  XDG_CONFIG_HOME=$(mktemp -d -p "$TEST_TMP")
  export XDG_CONFIG_HOME
}

# launch NAME COMMAND...: starts COMMAND in the background with its output in $TEST_TMP/NAME.out
# and NAME.err; LAUNCHED is its process id.
launch() {
  local name=$1
  shift
  "$@" >"$TEST_TMP/$name.out" 2>"$TEST_TMP/$name.err" &
  LAUNCHED=$!
  _lib_pids+=("$LAUNCHED")
}

# running PID: whether the process still runs (an ended child that was not yet waited for does not).
running() {
  local state
  state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 1
  [ -n "$state" ] && [ "$state" != Z ]
}

# wait_exit PID SECONDS: waits for the background process to end and sets EXIT_CODE to its exit
# code, or to "timeout" (leaving it running) when it has not ended in time. Not in a subshell: only
# this shell can collect its own children's codes.
wait_exit() {
  local pid=$1 deadline=$(( $(now_ms) + $(in_ms "$2") ))
  EXIT_CODE=timeout
  while running "$pid"; do
    [ "$(now_ms)" -ge "$deadline" ] && return 0
    sleep 0.01
  done
  wait "$pid"
  EXIT_CODE=$?
}

# expect_exit PID SECONDS WHAT: the process must end with exit code 0 within SECONDS.
expect_exit() {
  wait_exit "$1" "$2"
  [ "$EXIT_CODE" = 0 ] || fail "$3: expected exit code 0 within $2 s, got $EXIT_CODE"
}

# still_running PID SECONDS WHAT: the process must go on running for SECONDS.
still_running() {
  sleep "$2"
  running "$1" || fail "$3: the process ended"
}

# find_window NAME SECONDS: prints the id of the viewable window titled exactly NAME, waiting for it.
find_window() {
  local id="" deadline=$(( $(now_ms) + $(in_ms "$2") ))
  while [ "$(now_ms)" -lt "$deadline" ]; do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.02
  done
  return 1
}

# geometry ID: WIDTHxHEIGHT+X+Y of the window, X and Y in root coordinates.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
    /^ *Width:/{w=$2} /^ *Height:/{h=$2} END{printf "%sx%s+%s+%s\n", w, h, x, y}'
}

# children ID: the ids of the window's direct children, in decimal.
children() {
  local id
  for id in $(xwininfo -children -id "$1" | awk '/^ +0x[0-9a-f]+ /{print $1}'); do printf '%d\n' "$id"; done
}

# snapshot ID FILE: the window's pixels as a PNG.
snapshot() { import -window "$1" "$2" 2>/dev/null || fail "cannot take a picture of window $1"; }

# colours FILE: the number of distinct colours in a picture.
colours() { convert "$1" -format %k info:; }

# A run on its own checks the helpers themselves against things whose answers are known.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  need Xvfb xdotool xwininfo import convert "$XTESTHOST"
  own_display 640x480
  launch host "$XTESTHOST" window 200 100 30 40
  sleep 0.3
  host_window=$(head -n1 "$TEST_TMP/host.out")
  [ -n "$host_window" ] || fail "xtesthost made no window"
  [ "$(geometry "$host_window")" = "200x100+30+40" ] || fail "geometry reads $(geometry "$host_window")"
  snapshot "$host_window" "$TEST_TMP/plain.png"
  [ "$(colours "$TEST_TMP/plain.png")" = 1 ] || fail "a plain window counts $(colours "$TEST_TMP/plain.png") colours"
  [ -z "$(children "$host_window")" ] || fail "a window without children lists some"
  "$XTESTHOST" grabcheck >/dev/null || fail "grabcheck reports a grab on an idle server"
  launch ends bash -c 'exit 3'
  wait_exit "$LAUNCHED" 2
  [ "$EXIT_CODE" = 3 ] || fail "wait_exit reports $EXIT_CODE for exit code 3"
  launch sleeper sleep 5
  wait_exit "$LAUNCHED" 0.3
  [ "$EXIT_CODE" = timeout ] || fail "wait_exit reports $EXIT_CODE for a process still running"
  note "the test helpers tell a plain window, an exit code and a time-out apart"
fi
