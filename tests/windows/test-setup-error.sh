# A set-up that fails: on a display without OpenGL, /s finds no pixel format and says so in a box
# titled "Error". The box takes the focus from the saver window; it must stay until it is answered,
# and Return in it ends the run with exit code 0.
fd_file=$(mktemp -p "$BUILD" displayfd.XXXX)
Xvfb -displayfd 9 -screen 0 800x600x24 -nolisten tcp -noreset -extension GLX 9>"$fd_file" >/dev/null 2>&1 &
no_glx=$!
for _ in $(seq 200); do [ -s "$fd_file" ] && break; sleep 0.025; done
# Wine's desktop process belongs to the display it started on: a fresh one for this display.
wineserver -k; wineserver -w
export DISPLAY=:$(head -n1 "$fd_file")

start_saver /s
if box=$(x_window Error 30); then
  # Under Wine the lost activation closed the saver, and the box with it, some 4 s after the start.
  sleep 8
  screenshot "$BUILD/setup-error.png"
  check "the error box is on screen 8 s after it appeared" sh -c "xwininfo -id $box 2>/dev/null | grep -q IsViewable"
  check "the error box is drawn (lit pixels: $(lit_pixels "$BUILD/setup-error.png"))" \
    test "$(lit_pixels "$BUILD/setup-error.png")" -gt 5000
  check "the saver still runs under its error box" test "$(saver_exit_within 1)" = running
  xdotool windowfocus --sync "$box" key Return 2>/dev/null
  status=$(saver_exit_within 30)
  check "Return in the error box ends the run with exit code 0 (got $status)" test "$status" = 0
else
  fail "morvane.scr /s without OpenGL shows no window titled Error (exit: $(saver_exit_within 1))"
fi
stop_saver

wineserver -k; wineserver -w
kill $no_glx; wait $no_glx 2>/dev/null
rm -f "$fd_file"
