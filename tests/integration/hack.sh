#!/usr/bin/env bash
# Run as a hack of XScreenSaver: --root draws into $XSCREENSAVER_WINDOW (else the root window),
# --window-id ID into that window (decimal or 0x hex), and wins over --root; options take one dash
# or two, as XScreenSaver 6 writes them; no grab is taken, input is ignored, and
# SIGTERM or the window's destruction ends it with exit code 0 within half a second. -fps shows
# the frame rate in a corner; options it does not know get a usage line.
source "$(dirname "$0")/lib.sh"
need "$MORVANE" "$XTESTHOST" Xvfb xdotool xwininfo import convert
own_display 800x600
fresh_settings

host_window target 400 300 20 20
target_pid=$LAUNCHED
target=$HOST_WINDOW

# ends_on_sigterm PID WHAT
ends_on_sigterm() {
  local started
  started=$(now_ms)
  kill -TERM "$1"
  expect_exit "$1" 0.5 "SIGTERM to $2"
  note "$2 ends with exit code 0 $(( $(now_ms) - started )) ms after SIGTERM"
}

XSCREENSAVER_WINDOW=$(printf '0x%x' "$target") launch hack "$MORVANE" --root
hack=$LAUNCHED
wait_drawn "$target" "--root with XSCREENSAVER_WINDOW"
"$XTESTHOST" grabcheck >/dev/null || fail "the hack grabs the keyboard or the pointer"
xdotool mousemove 200 150 click 1 key x
still_running "$hack" 0.5 "input over the hack"
note "--root draws into \$XSCREENSAVER_WINDOW, grabs nothing and ignores input"
ends_on_sigterm "$hack" "--root"

# The settings program's preview: the command as listed, with --window-id appended.
launch hack env -u XSCREENSAVER_WINDOW "$MORVANE" -root --no-mirrors --window-id "$(printf '0x%X' "$target")"
wait_drawn "$target" "-root --window-id in hex"
ends_on_sigterm "$LAUNCHED" "-root --window-id in hex"

launch hack "$MORVANE" -fps -window-id "$target" -mirrors
hack=$LAUNCHED
wait_drawn "$target" "-window-id in decimal"
# The rate is written in pure yellow on a black plate in the bottom-left corner.
corner=$(convert "$TEST_TMP/drawn.png" -crop 120x24+0+276 txt:- | grep -c '#FFFF00')
[ "$corner" -gt 20 ] || fail "-fps: only $corner yellow pixels in the bottom-left corner"
note "-fps writes the frame rate in the bottom-left corner"
kill "$target_pid"
started=$(now_ms)
expect_exit "$hack" 0.5 "the target window's destruction"
note "the hack ends with exit code 0 $(( $(now_ms) - started )) ms after its window went away"

launch hack env XSCREENSAVER_WINDOW= "$MORVANE" -root
hack=$LAUNCHED
root=$(xwininfo -root | awk '/Window id:/{print $4}')
wait_drawn "$(printf '%d' "$root")" "-root with an empty XSCREENSAVER_WINDOW"
ends_on_sigterm "$hack" "-root on the root window"

for words in "--root -zoom" "--zoom" "--window-id" "-window-id 0x" "-window-id 12abc" "-root /s"; do
  # shellcheck disable=SC2086 # the words are the command line
  launch bad "$MORVANE" $words
  expect_exit "$LAUNCHED" 1 "$words"
  grep -q '^usage: morvane' "$TEST_TMP/bad.err" || fail "$words gives no usage line"
done
note "a malformed hack command line gets a usage line and exit code 0"

launch gone "$MORVANE" -window-id 0x1fffffff
expect_exit "$LAUNCHED" 2 "-window-id of no window"
[ ! -s "$TEST_TMP/gone.err" ] || fail "-window-id of no window is not quiet: $(cat "$TEST_TMP/gone.err")"
note "-window-id of a window that does not exist ends quietly with exit code 0"
