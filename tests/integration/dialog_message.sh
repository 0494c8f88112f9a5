#!/usr/bin/env bash
# The message box of a failed saver set-up: on a display without GLX, "morvane /s" cannot find a
# pixel format and says so in a window titled "Error" with an OK button, and on standard error;
# Enter dismisses it and the program ends with exit code 0; so does a stop signal.
source "$(dirname "$0")/lib.sh"
need "$MORVANE" Xvfb xdotool xset xwininfo
own_display_without_glx 1280x800
fresh_settings

launch saver "$MORVANE" /s
saver=$LAUNCHED
window=$(window_of "$saver" Error 10) ||
  fail "no window titled \"Error\" within 10 s: $(cat "$TEST_TMP/saver.err")"
grep -qxF 'Error: ChoosePixelFormat() failed:  Cannot find a suitable pixel format.' "$TEST_TMP/saver.err" ||
  fail "standard error does not carry the message: $(cat "$TEST_TMP/saver.err")"
note "/s without GLX shows the message box and says why on standard error"

# The box stays until it is answered.
still_running "$saver" 3 "the message box is up"
xwininfo -id "$window" | grep -q "IsViewable" || fail "the message box is gone after 3 s"
xdotool windowfocus --sync "$window" key Return
expect_exit "$saver" 5 "Enter in the message box"
note "Enter dismisses the message box and the program ends with exit code 0"

# A stop signal while the box is up dismisses it: the run still ends promptly, through its tear-down,
# which gives the server back its own blanking.
xset s 600 600
launch saver "$MORVANE" /s
saver=$LAUNCHED
window_of "$saver" Error 10 >/dev/null || fail "the second /s shows no message box"
kill -TERM "$saver"
expect_exit "$saver" 1 "SIGTERM while the message box is up"
xset q | grep -q 'timeout:  600' || fail "the server's blanking is not back: $(xset q | grep timeout)"
note "SIGTERM while the message box is up ends the program with exit code 0 and restores the blanking"
