#!/usr/bin/env bash
# Display power and the full-screen saver. Where the server has no DPMS (Xvfb), the display counts
# as on: the saver must go on drawing. Where it has DPMS, `xset dpms force off` must stop the
# drawing, keep the process under 1 % of a core over ten seconds and still let a key end it; forced
# on again, the picture moves again.
source "$(dirname "$0")/lib.sh"
need "$MORVANE" Xvfb xset xdotool import compare
own_display 640x480
fresh_settings

# cpu_ticks PID: the process's user and system time so far, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# moving: whether two pictures of the screen half a second apart differ.
moving() {
  snapshot root "$TEST_TMP/before.png"
  sleep 0.5
  snapshot root "$TEST_TMP/after.png"
  [ "$(compare -metric AE "$TEST_TMP/before.png" "$TEST_TMP/after.png" null: 2>&1)" != 0 ]
}

launch saver "$MORVANE" /s
saver=$LAUNCHED
window=$(find_window SaverWindow 10) || fail "/s shows no window"
sleep 1
moving || fail "the picture stands still with the display on"

if ! xset q | grep -q 'DPMS is'; then
  note "the server has no DPMS: the display counts as on and the saver draws"
  exit 0
fi

xset dpms force off
sleep 1.5
moving && fail "the picture still changes with the display off"
hz=$(getconf CLK_TCK)
start=$(cpu_ticks "$saver")
sleep 10
used=$(( $(cpu_ticks "$saver") - start ))
# 1 % of a core over ten seconds is a tenth of a second.
[ $(( used * 10 )) -lt "$hz" ] || fail "the dark saver used $used ticks of $hz a second over ten seconds"
note "display off: no frame drawn, $used CPU ticks ($hz a second) in ten seconds"

xset dpms force on
sleep 1.5
moving || fail "the picture does not move again once the display is back"
note "display on again: the picture moves"

xset dpms force off
sleep 1.5
xdotool key space
expect_exit "$saver" 1.5 "a key with the display off"
note "a key ends the saver while the display is off"
