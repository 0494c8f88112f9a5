#!/usr/bin/env bash
# Input ends the full-screen saver with exit code 0 within a second: a key, each of the three mouse
# buttons, a move of more than 50 pixels on either axis (50 is not enough, nor is the wheel), and
# the loss of the focus to another window.
source "$(dirname "$0")/lib.sh"
need "$MORVANE" "$XTESTHOST" Xvfb xdotool
own_display 1024x600
fresh_settings

# start_saver X Y: the pointer at (X, Y), then a full-screen saver, ready for input.
start_saver() {
  xdotool mousemove "$1" "$2"
  [ "$(xdotool getmouselocation | cut -d" " -f1-2)" = "x:$1 y:$2" ] || fail "cannot move the pointer"
  launch saver "$MORVANE" /s
  saver=$LAUNCHED
  find_window SaverWindow 10 >/dev/null || fail "/s shows no window"
}

# ends_within_a_second WHAT: the saver ends with exit code 0 within a second of the input.
ends_within_a_second() {
  local started
  started=$(now_ms)
  expect_exit "$saver" 1 "$1"
  note "$1 ends the saver in $(( $(now_ms) - started )) ms"
}

start_saver 500 300
xdotool key x
ends_within_a_second "a key press"

start_saver 500 300
xdotool click 4 click 5
still_running "$saver" 0.7 "the mouse wheel"
note "the mouse wheel does not end the saver"
xdotool click 1
ends_within_a_second "the left button"

for button in 2 3; do
  start_saver 500 300
  xdotool click "$button"
  ends_within_a_second "button $button"
done

start_saver 500 300
xdotool mousemove 550 350
still_running "$saver" 0.7 "a move of 50 pixels on both axes"
note "a move of 50 pixels on each axis does not end the saver"
xdotool mousemove 551 300
ends_within_a_second "a move of 51 pixels to the right"

start_saver 500 300
xdotool mousemove 450 250
still_running "$saver" 0.5 "a move of 50 pixels up and left"
xdotool mousemove 500 249
ends_within_a_second "a move of 51 pixels up"

launch other "$XTESTHOST" window 200 100 10 10
sleep 0.2
other=$(head -n1 "$TEST_TMP/other.out")
start_saver 500 300
xdotool windowfocus "$other"
ends_within_a_second "the focus moving to another window"
