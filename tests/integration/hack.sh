#!/usr/bin/env bash
# Run as a hack of XScreenSaver: --root draws into $XSCREENSAVER_WINDOW (else the root window),
# --window-id ID into that window (decimal or 0x hex), and wins over --root; options take one dash
# or two, as XScreenSaver 6 writes them; no grab is taken, input is ignored, and
# SIGTERM, SIGUSR1 or the window's destruction ends it with exit code 0 within half a second. -fps shows
# the frame rate in a corner; options it does not know get a usage line.
source "$(dirname "$0")/lib.sh"
need "$MORVANE" "$XTESTHOST" Xvfb xdotool xwininfo import convert compare
own_display 800x600
fresh_settings

host_window target 400 300 20 20
target_pid=$LAUNCHED
target=$HOST_WINDOW

# symmetric WINDOW [TRIES]: whether the window's picture, less the logo band at its bottom,
# is its own reflection about the middle column, as the kaleidoscope draws it. Up to TRIES (4)
# pictures are tried, since a change of wedge count is not symmetric while it lasts.
symmetric() {
  local attempt error
  for attempt in $(seq "${2:-4}"); do
    snapshot "$1" "$TEST_TMP/sym.png"
    convert "$TEST_TMP/sym.png" -crop 100%x93%+0+0 +repage "$TEST_TMP/sym.png"
    convert "$TEST_TMP/sym.png" -flop "$TEST_TMP/flop.png"
    error=$(compare -metric RMSE "$TEST_TMP/sym.png" "$TEST_TMP/flop.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
    awk -v e="$error" 'BEGIN { exit !(e < 0.03) }' && return 0
    sleep 0.7
  done
  echo "the reflection differs by $error" >&2
  return 1
}

# ends_on_sigterm PID WHAT [SIGNAL]: SIGTERM, or SIGUSR1, a screen locker's request to start over
ends_on_sigterm() {
  local started signal=${3:-TERM}
  started=$(now_ms)
  kill -"$signal" "$1"
  expect_exit "$1" 0.5 "SIG$signal to $2"
  note "$2 ends with exit code 0 $(( $(now_ms) - started )) ms after SIG$signal"
}

# The host's "Use mirrors" box shows ticked when the command has no --no-mirrors: so it draws.
mkdir -p "$XDG_CONFIG_HOME/morvane"
printf '[Keldric Saver]\nUseMirrors=0\n' >"$XDG_CONFIG_HOME/morvane/settings.ini"
XSCREENSAVER_WINDOW=$(printf '0x%x' "$target") launch hack "$MORVANE" --root
hack=$LAUNCHED
wait_drawn "$target" "--root with XSCREENSAVER_WINDOW"
"$XTESTHOST" grabcheck >/dev/null || fail "the hack grabs the keyboard or the pointer"
xdotool mousemove 200 150 click 1 key x
still_running "$hack" 0.5 "input over the hack"
note "--root draws into \$XSCREENSAVER_WINDOW, grabs nothing and ignores input"
[ "$("$XTESTHOST" cursor)" = hidden ] || fail "the hack shows a cursor of its own over the host's blank one"
note "the host's blank cursor shows over the hack"
symmetric "$target" || fail "--root without --no-mirrors draws no mirrors (stored UseMirrors=0)"
note "--root draws mirrors whatever the stored setting, as the host's ticked box says"
# The host's window changes size: the picture follows, centred in it, without a restart.
xdotool windowsize "$target" 300 200
sleep 0.7
[ "$(geometry "$DRAWN_CHILD")" = "$(geometry "$target")" ] ||
  fail "the hack covers $(geometry "$DRAWN_CHILD") of its resized window $(geometry "$target")"
symmetric "$target" || fail "the picture is not centred in the resized window"
running "$hack" || fail "the hack ended when its window was resized"
xdotool windowsize "$target" 400 300
note "the picture follows its window from 400x300 to 300x200"
ends_on_sigterm "$hack" "--root" USR1

# The settings program's preview: the command as listed, with --window-id appended.
launch hack env -u XSCREENSAVER_WINDOW "$MORVANE" -root --no-mirrors --window-id "$(printf '0x%X' "$target")"
wait_drawn "$target" "-root --window-id in hex"
symmetric "$target" 1 2>"$TEST_TMP/sym.err" && fail "--no-mirrors draws mirrors"
note "--no-mirrors draws none: $(cat "$TEST_TMP/sym.err")"
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
