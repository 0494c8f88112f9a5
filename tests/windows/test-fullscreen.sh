# Full screen: the window covers the screen and animates; a key ends the saver; with a mouse
# threshold of 5 pixels a move of 5 keeps it running and a move of 6 ends it.
frames=$(mktemp -d -p "$BUILD" frames.XXXX)

reg_set_dword "$SCREEN_SAVERS" "Mouse Threshold" 5
xdotool mousemove 300 300
start_saver /s
if window=$(x_window SaverWindow); then
  details=$(wine "$BUILD/saver_probe.exe" window OpenGL SaverWindow | tr -d '\r')
  check "the saver window is of class OpenGL" grep -qx 'class=OpenGL' <<<"$details"
  check "the saver window is a visible popup" grep -qx 'style=0x9.......' <<<"$details"
  screen=$(sed -n 's/^screen=//p' <<<"$details")
  check "the saver window covers the screen ($screen)" grep -qx "rect=0,0,$screen" <<<"$details"
  check "frames are drawn and presented" shows_animation "$frames"
  xdotool mousemove 305 305
  check "a move of 5 pixels on each axis keeps the saver running" test "$(saver_exit_within 3)" = running
  xdotool mousemove 306 300
  status=$(saver_exit_within 20)
  check "a move of 6 pixels ends the saver with exit code 0 (got $status)" test "$status" = 0
else
  fail "no SaverWindow appeared for /s"
fi
stop_saver

start_saver /s
if window=$(x_window SaverWindow); then
  xdotool windowfocus --sync "$window" 2>/dev/null
  xdotool key space
  status=$(saver_exit_within 20)
  check "a key press ends the saver with exit code 0 (got $status)" test "$status" = 0
else
  fail "no SaverWindow appeared for the key press"
fi
stop_saver

start_saver /S
if window=$(x_window SaverWindow); then
  sleep 1
  xdotool click 1
  status=$(saver_exit_within 20)
  check "a mouse button ends the saver with exit code 0 (got $status)" test "$status" = 0
else
  fail "no SaverWindow appeared for the mouse button"
fi
stop_saver
reg_set_dword "$SCREEN_SAVERS" "Mouse Threshold" 50
rm -rf "$frames"
