#!/usr/bin/env bash
# The full-screen saver: one window titled "SaverWindow" over the whole X screen and above the
# windows already there, drawing, with keyboard and pointer taken, the server's own blanking off
# (and put back afterwards); SIGTERM and SIGINT end it through the normal tear-down with exit code 0, promptly; so
# does the X server going away.
source "$(dirname "$0")/lib.sh"
need "$MORVANE" "$XTESTHOST" Xvfb xdotool xwininfo xset import convert
own_display 1024x600
fresh_settings

launch other "$XTESTHOST" window 300 200 100 100
sleep 0.2
other=$(head -n1 "$TEST_TMP/other.out")

# The server would blank the screen after a second without input.
xset s 1 0
launch saver "$MORVANE" /s
saver=$LAUNCHED
window=$(find_window SaverWindow 10) || fail "/s shows no window titled SaverWindow"
[ "$(geometry "$window")" = "1024x600+0+0" ] || fail "the saver window is $(geometry "$window"), not the screen"
[ "$(xdotool search --name '^SaverWindow$' | wc -l)" = 1 ] || fail "more than one saver window"
# xwininfo lists the root's children from the top of the stack down.
top=$(xwininfo -root -children | awk '/^ +0x[0-9a-f]+ /{print $1; exit}')
[ "$(printf '%d' "$top")" = "$window" ] || fail "the saver window is not above the other windows"
"$XTESTHOST" grabcheck >/dev/null && fail "the full-screen saver holds neither keyboard nor pointer"
[ "$("$XTESTHOST" cursor)" = hidden ] || fail "the cursor is $("$XTESTHOST" cursor) over the saver"
note "/s covers the screen, above the other windows, with keyboard and pointer grabbed, cursor hidden"

sleep 1
snapshot root "$TEST_TMP/screen.png"
[ "$(colours "$TEST_TMP/screen.png")" -gt 50 ] || fail "nothing is drawn on the screen"
# The window below is plain #808080; the picture may hold a pixel or two of that grey by chance.
grey=$(convert "$TEST_TMP/screen.png" -crop 300x200+100+100 txt:- | grep -c '#808080' || true)
[ "$grey" -lt 600 ] || fail "the window below shows through the saver ($grey of its pixels)"
note "the picture is drawn over the whole screen"
[ "$("$XTESTHOST" saverstate)" = disabled ] || fail "the server's own screen saver is $("$XTESTHOST" saverstate)"
note "the server's own blanking is off while the saver runs"

started=$(now_ms)
kill -TERM "$saver"
expect_exit "$saver" 0.5 "SIGTERM"
[ ! -s "$TEST_TMP/saver.err" ] || fail "SIGTERM left a message: $(cat "$TEST_TMP/saver.err")"
"$XTESTHOST" grabcheck >/dev/null || fail "the grabs outlive the saver"
[ "$("$XTESTHOST" cursor)" != hidden ] || fail "the cursor stays hidden after the saver"
note "SIGTERM ends /s with exit code 0 in $(( $(now_ms) - started )) ms, grabs released, cursor back"
sleep 1.2
[ "$("$XTESTHOST" saverstate)" = on ] || fail "the server's own screen saver stays held off after the saver"
xset s off
note "the server's own blanking is back at the end"

launch saver "$MORVANE" /s
saver=$LAUNCHED
find_window SaverWindow 10 >/dev/null || fail "the second /s shows no window"
kill -INT "$saver"
expect_exit "$saver" 0.5 "SIGINT"
note "SIGINT ends /s with exit code 0"

# The terminal that started it closing must not leave the server's blanking switched off.
xset s 600 600
launch saver "$MORVANE" /s
saver=$LAUNCHED
find_window SaverWindow 10 >/dev/null || fail "the third /s shows no window"
kill -HUP "$saver"
expect_exit "$saver" 0.5 "SIGHUP"
xset q | grep -q 'timeout:  600' || fail "SIGHUP left the server's blanking at $(xset q | grep timeout)"
xset s off
note "SIGHUP ends /s with exit code 0 and gives the server its blanking back"

# Early, while the window and the picture are still being set up.
for delay in 0.15 0.3; do
  launch saver "$MORVANE" /s
  sleep "$delay"
  kill -TERM "$LAUNCHED"
  expect_exit "$LAUNCHED" 0.5 "SIGTERM $delay s after the start"
done
note "SIGTERM during the set-up ends /s at once with exit code 0"

launch saver "$MORVANE" /s
saver=$LAUNCHED
find_window SaverWindow 10 >/dev/null || fail "the third /s shows no window"
sleep 0.3
kill -TERM "$XVFB_PID"
expect_exit "$saver" 2 "the X server going away"
grep -qv 'lost' "$TEST_TMP/saver.err" && fail "the lost server left more than one line: $(cat "$TEST_TMP/saver.err")"
note "the X server going away ends the saver with exit code 0"
