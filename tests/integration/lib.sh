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
_lib_at_exit=()
# The end belongs to the shell that sourced this file. A launched child inherits the EXIT trap
# until it execs, and a signal in that moment runs it there: it must not end the test's processes
# and remove TEST_TMP under the test.
_lib_owner=$BASHPID

# Everything this test started goes at the end; politely first, so that an X server can remove
# its socket and lock file.
_lib_cleanup() {
  [ "$BASHPID" = "$_lib_owner" ] || return 0
  local pid="" command
  for command in "${_lib_at_exit[@]}"; do "$command"; done
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

# at_exit FUNCTION: FUNCTION runs at the test's end, before the launched processes are stopped.
at_exit() { _lib_at_exit+=("$1"); }

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
own_display() { _lib_xvfb "${1:-1280x720}" +extension GLX; }

# own_display_without_glx [WIDTHxHEIGHT]: the same, on a server that offers no OpenGL at all.
own_display_without_glx() { _lib_xvfb "${1:-1280x720}" -extension GLX; }

# _lib_xvfb SIZE XVFB-OPTION...: starts the private Xvfb of own_display.
_lib_xvfb() {
  local size=$1 fd_file="$TEST_TMP/displayfd" number=""
  shift
  : >"$fd_file"
  Xvfb -displayfd 9 -screen 0 "${size}x24" -nolisten tcp -noreset "$@" 9>"$fd_file" \
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

# unprivileged FOLDER: sets AS_USER to the words that run a command without root's right to write
# anywhere. As root that is the user nobody, who is given FOLDER (with all inside it) and the way
# into it from $TEST_TMP; otherwise this user is unprivileged already and AS_USER stays empty.
unprivileged() {
  local folder
  AS_USER=()
  [ "$(id -u)" -eq 0 ] || return 0
  need setpriv
  chown -R 65534:65534 "$1" || fail "cannot give $1 to nobody"
  folder=$(dirname "$1")
  while [ "${folder#"$TEST_TMP"}" != "$folder" ]; do
    chmod o+x "$folder"
    folder=$(dirname "$folder")
  done
  # shellcheck disable=SC2034 # for the tests that source this file
  AS_USER=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
}

# launch NAME COMMAND...: starts COMMAND in the background with its output in $TEST_TMP/NAME.out
# and NAME.err; LAUNCHED is its process id. Both files are new ones, made before launch returns, so
# that nothing read from them is what an earlier command of the same NAME wrote (that one, even
# still running, writes into the files it had).
launch() {
  local out="$TEST_TMP/$1.out" err="$TEST_TMP/$1.err"
  shift
  rm -f "$out" "$err"
  : >"$out"
  : >"$err"
  "$@" >>"$out" 2>>"$err" &
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

# window_of PID NAME SECONDS: prints the id of the viewable window titled exactly NAME that the
# process PID shows, waiting for it; fails at once when the process ends without one.
window_of() {
  local id="" deadline=$(( $(now_ms) + $(in_ms "$3") ))
  while [ "$(now_ms)" -lt "$deadline" ]; do
    id=$(xdotool search --all --onlyvisible --pid "$1" --name "^$2\$" 2>/dev/null | head -n1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    running "$1" || return 1
    sleep 0.02
  done
  return 1
}

# host_window NAME WIDTH HEIGHT X Y: a plain grey window of that size and place for a saver to draw
# into, from xtesthost (launched as NAME; the window goes when LAUNCHED ends). HOST_WINDOW is its id.
host_window() {
  local name=$1
  shift
  launch "$name" "$XTESTHOST" window "$@"
  HOST_WINDOW=""
  for _ in $(seq 250); do
    HOST_WINDOW=$(head -n1 "$TEST_TMP/$name.out" 2>/dev/null)
    [ -n "$HOST_WINDOW" ] && break
    running "$LAUNCHED" || break
    sleep 0.02
  done
  [ -n "$HOST_WINDOW" ] || fail "xtesthost made no window: $(cat "$TEST_TMP/$name.err")"
}

# wait_drawn WINDOW WHAT: a child window of WINDOW's whole size appears and draws a picture into it
# (the picture is left in $TEST_TMP/drawn.png); DRAWN_CHILD is the child's id.
wait_drawn() {
  DRAWN_CHILD=""
  for _ in $(seq 250); do
    DRAWN_CHILD=$(children "$1")
    [ -n "$DRAWN_CHILD" ] && break
    sleep 0.02
  done
  [ -n "$DRAWN_CHILD" ] || fail "$2 made no window in $1"
  [ "$(geometry "$DRAWN_CHILD")" = "$(geometry "$1")" ] ||
    fail "$2 covers $(geometry "$DRAWN_CHILD") of $(geometry "$1")"
  sleep 1
  snapshot "$1" "$TEST_TMP/drawn.png"
  [ "$(colours "$TEST_TMP/drawn.png")" -gt 20 ] || fail "$2 draws nothing"
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
  host_window host 200 100 30 40
  [ "$(geometry "$HOST_WINDOW")" = "200x100+30+40" ] || fail "geometry reads $(geometry "$HOST_WINDOW")"
  snapshot "$HOST_WINDOW" "$TEST_TMP/plain.png"
  [ "$(colours "$TEST_TMP/plain.png")" = 1 ] || fail "a plain window counts $(colours "$TEST_TMP/plain.png") colours"
  [ -z "$(children "$HOST_WINDOW")" ] || fail "a window without children lists some"
  "$XTESTHOST" grabcheck >/dev/null || fail "grabcheck reports a grab on an idle server"
  launch ends bash -c 'exit 3'
  wait_exit "$LAUNCHED" 2
  [ "$EXIT_CODE" = 3 ] || fail "wait_exit reports $EXIT_CODE for exit code 3"
  launch sleeper sleep 5
  wait_exit "$LAUNCHED" 0.3
  [ "$EXIT_CODE" = timeout ] || fail "wait_exit reports $EXIT_CODE for a process still running"
  note "the test helpers tell a plain window, an exit code and a time-out apart"
  # Both faults below show in most rounds when present; twenty rounds take a fraction of a second.
  for _ in $(seq 20); do
    launch twice echo first
    wait_exit "$LAUNCHED" 2
    # Signalled at once, the child has mostly not yet exec'd sleep; bash's complaint from a child
    # that runs its inherited trap goes to the standard error it had then.
    launch twice sleep 5 2>/dev/null
    [ ! -s "$TEST_TMP/twice.out" ] || fail "launch leaves the last output of its name to be read"
    kill -TERM "$LAUNCHED"
    wait_exit "$LAUNCHED" 2
    running "$XVFB_PID" && [ -d "$TEST_TMP" ] || fail "a launched child ran the test's cleanup"
  done
  note "launch gives each command new output files, and only the test's own shell cleans up"
fi
