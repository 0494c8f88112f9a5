#!/usr/bin/env bash
# The server's own blanking around full-screen runs: off while any run is up, and the user's timeout
# back when the last one ends, also when a second run starts while the first holds it off; a timeout
# the user sets during a run stays; a stop signal while a run switches the blanking off still gives
# it back.
source "$(dirname "$0")/lib.sh"
need "$MORVANE" Xvfb xdotool xset gdb
own_display 800x600
fresh_settings

server_timeout() { xset q | awk '/timeout:/ { print $2; exit }'; }
# saver_windows COUNT: waits up to 10 s for COUNT visible saver windows.
saver_windows() {
  for _ in $(seq 500); do
    [ "$(xdotool search --onlyvisible --name '^SaverWindow$' 2>/dev/null | wc -l)" = "$1" ] && return 0
    sleep 0.02
  done
  return 1
}

xset s 600
launch first "$MORVANE" /s
first=$LAUNCHED
saver_windows 1 || fail "the first /s shows no window"
launch second "$MORVANE" /s
second=$LAUNCHED
# The second one takes the focus, which ends the first; it is stopped should it not.
wait_exit "$first" 10
[ "$EXIT_CODE" = timeout ] && kill -TERM "$first" && expect_exit "$first" 2 "SIGTERM to the first run"
running "$second" && saver_windows 1 || fail "the second /s shows no window"
[ "$(server_timeout)" = 0 ] || fail "the first run's end gave the blanking back under the second"
kill -TERM "$second"
expect_exit "$second" 2 "SIGTERM to the second run"
[ "$(server_timeout)" = 600 ] || fail "after overlapping runs the timeout is $(server_timeout), not 600"
note "overlapping runs keep the blanking off until the last one ends, and then give 600 s back"

launch saver "$MORVANE" /s
saver=$LAUNCHED
saver_windows 1 || fail "the third /s shows no window"
xset s 120
kill -TERM "$saver"
expect_exit "$saver" 2 "SIGTERM to the third run"
[ "$(server_timeout)" = 120 ] || fail "the timeout set during the run became $(server_timeout)"
note "a timeout set during a run stays after it"

# SIGTERM at the moment the run has just set the timeout to 0 and lets go of the server.
xset s 600
timeout 60 gdb -batch -ex 'set breakpoint pending on' -ex 'break XUngrabServer' -ex run -ex delete -ex 'signal SIGTERM' \
  --args "$MORVANE" /s >"$TEST_TMP/gdb.out" 2>&1
grep -q 'exited normally' "$TEST_TMP/gdb.out" || fail "SIGTERM inside the switch: $(tail -n3 "$TEST_TMP/gdb.out")"
[ "$(server_timeout)" = 600 ] || fail "SIGTERM inside the switch left the timeout at $(server_timeout)"
note "SIGTERM while the blanking is being switched off ends the run with exit code 0 and gives 600 s back"
