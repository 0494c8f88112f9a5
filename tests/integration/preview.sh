#!/usr/bin/env bash
# The preview: /p ID draws in a child window of the parent's size, takes no input and ignores it,
# and ends with exit code 0 when the parent is destroyed. A parent id that names no window (or
# none at all) creates nothing and ends quietly with exit code 0.
source "$(dirname "$0")/lib.sh"
need "$MORVANE" "$XTESTHOST" Xvfb xdotool xwininfo import convert
own_display 800x600
fresh_settings

host_window parent 320 200 50 60
parent_pid=$LAUNCHED
parent=$HOST_WINDOW

launch saver "$MORVANE" /p "$parent"
saver=$LAUNCHED
wait_drawn "$parent" "/p $parent"
[ "$(geometry "$DRAWN_CHILD")" = "320x200+50+60" ] || fail "the preview is $(geometry "$DRAWN_CHILD"), not the parent's 320x200+50+60"
"$XTESTHOST" grabcheck >/dev/null || fail "the preview grabs the keyboard or the pointer"
note "/p draws in a child of the parent's size and grabs nothing"

xdotool mousemove 100 100 mousemove 300 200 click 1 click 3
xdotool key x
still_running "$saver" 0.7 "input over the preview"
[ "$("$XTESTHOST" cursor)" != hidden ] || fail "the cursor is hidden over the preview"
note "the preview ignores keys, clicks and moves, and shows the cursor"

kill "$parent_pid"
started=$(now_ms)
expect_exit "$saver" 2 "the parent's destruction"
note "the preview ends with exit code 0 $(( $(now_ms) - started )) ms after its parent went away"
[ ! -s "$TEST_TMP/saver.err" ] || fail "the preview complained: $(cat "$TEST_TMP/saver.err")"

for words in "/p 2147483647" "/p" "/p:abc" "/l 0"; do
  # shellcheck disable=SC2086 # the words are the command line
  launch bad "$MORVANE" $words
  expect_exit "$LAUNCHED" 3 "$words"
  [ ! -s "$TEST_TMP/bad.err" ] || fail "$words is not quiet: $(cat "$TEST_TMP/bad.err")"
done
note "a preview without a parent window ends at once, quietly, with exit code 0"
