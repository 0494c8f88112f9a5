#!/usr/bin/env bash
# xscreensaver-settings with Morvane selected: its preview pane shows the picture, drawn by a morvane
# it started with --window-id; a larger settings window gives a larger pane and the same morvane
# draws the picture at the pane's new size; the settings' Close button ends that morvane too.
source "$(dirname "$0")/lib.sh"
need Xvfb xscreensaver xscreensaver-settings xdotool xwininfo import convert compare identify
host_display 1280x720
host_home
xscreensaver_config

# The settings ask to start the daemon when none runs; a user's session has one.
launch daemon as_host xscreensaver -no-splash
launch settings as_host xscreensaver-settings
settings=$LAUNCHED
wait_saver 15 || fail "the settings started no morvane: $(tail -n 3 "$TEST_TMP/settings.err")"
args=$(tr '\0' ' ' <"/proc/$SAVER/cmdline")
[[ "$args" =~ --window-id\ (0x[0-9A-Fa-f]+) ]] || fail "the settings started \"$args\", without --window-id"
pane=$(printf '%d' "${BASH_REMATCH[1]}")
wait_drawn "$pane" "morvane in the preview pane"
child=$DRAWN_CHILD
expect_mirrored "$pane" "the preview pane"
note "the preview pane $(geometry "$pane") shows the picture of \"$args\""

# Without a window manager, the settings window is resized as a window manager would do it.
top=$pane
while :; do
  parent=$(xwininfo -tree -id "$top" | awk '/Parent window id:/ {print $4}')
  [ "$(printf '%d' "$parent")" = "$(xwininfo -root | awk '/Window id:/ {print $4}' | xargs printf '%d')" ] && break
  top=$parent
done
before=$(geometry "$pane")
xdotool windowsize "$top" 1000 700
for _ in $(seq 150); do
  [ "$(geometry "$pane")" != "$before" ] && [ "$(geometry "$child")" = "$(geometry "$pane")" ] && break
  sleep 0.02
done
[ "$(geometry "$pane")" != "$before" ] || fail "the pane kept its size $before in a larger settings window"
[ "$(geometry "$child")" = "$(geometry "$pane")" ] ||
  fail "the pane is $(geometry "$pane") but morvane's window stays $(geometry "$child")"
[ "$(savers)" = "$SAVER" ] || fail "the resize ended morvane $SAVER (now: $(savers | xargs))"
expect_mirrored "$pane" "the resized preview pane"
note "in a larger window the same morvane fills the pane at $(geometry "$pane") with the picture"

# The Close button sits in the window's bottom right corner.
read -r width height < <(xwininfo -id "$top" | awk '/^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print w, h}')
xdotool mousemove --window "$top" $((width - 48)) $((height - 23)) click 1
expect_exit "$settings" 5 "the settings after Close"
wait_no_saver 1 || fail "morvane still runs 1 s after the settings closed"
note "Close ends the settings and its morvane"
