#!/usr/bin/env bash
# A screen locker stops its theme with SIGSTOP while its unlock dialog is up and continues it with
# SIGCONT. After a stop of 3 s the frame rate must stay paced: no second of frames far above the
# 30 a second aimed at (the stop measured as one slow second would cut the pause to 1 ms).
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
[[ "$report" =~ longest-gap=([0-9.]+)\ peak-second-after-gap=([0-9]+) ]] || fail "unreadable report: $report"
awk -v g="${BASH_REMATCH[1]}" 'BEGIN { exit !(g >= 2.9) }' || fail "the stop is not the longest pause: $report"
peak=${BASH_REMATCH[2]}
# Pacing alone swings to about 45 frames in the second after any slow frame on a loaded machine; a
# stop taken for one slow second gives hundreds.
[ "$peak" -le 90 ] || fail "$peak frames in one second after the stop: $report"
note "after a 3 s stop at most $peak frames in any one second ($report)"
