#!/usr/bin/env bash
# A screen locker stops its theme with SIGSTOP while its unlock dialog is up and continues it with
# SIGCONT. The continued saver starts a new rate measurement: no measurement of the frame clock
# spans the stop (one that did would take it for a slow second and shorten the pause). The figure
# does not depend on how busy the machine is, where the frame rate itself would.
source "$(dirname "$0")/lib.sh"
need "$MORVANE" "$XTESTHOST" Xvfb
own_display 640x480
fresh_settings

host_window target 200 150
MORVANE_FRAME_REPORT=1 launch hack "$MORVANE" --window-id "$HOST_WINDOW"
hack=$LAUNCHED
sleep 3
kill -STOP "$hack"
sleep 3
kill -CONT "$hack"
sleep 3.5
kill -TERM "$hack"
expect_exit "$hack" 1 "SIGTERM after the stop"
report=$(grep 'frames=' "$TEST_TMP/hack.err") || fail "no frame report: $(cat "$TEST_TMP/hack.err")"
[[ "$report" =~ longest-gap=([0-9.]+)\ .*longest-measurement=([0-9.]+) ]] || fail "unreadable report: $report"
awk -v g="${BASH_REMATCH[1]}" 'BEGIN { exit !(g >= 2.9) }' || fail "the stop is not the longest pause: $report"
# A measurement ends with the first frame a second after it began: a frame late on a busy machine
# makes it somewhat longer, never the 3 s of the stop.
awk -v m="${BASH_REMATCH[2]}" 'BEGIN { exit !(m > 0.9 && m < 2.5) }' ||
  fail "a rate measurement spans the stop, or none was made: $report"
note "no rate measurement spans the 3 s stop ($report)"
