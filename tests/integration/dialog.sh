#!/usr/bin/env bash
# The configuration dialog of the real program on X ("morvane /c"): what Enter, the check box, Escape
# and the window's close button store, that the next dialog shows what was stored, and the owner hint.
set -euo pipefail

bin="$MORVANE_BUILD/morvane"
[ -x "$bin" ] || { echo "dialog: $bin is not built" >&2; exit 1; }

work=$(mktemp -d)
xvfb=""
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME="$work/config"
settings="$XDG_CONFIG_HOME/morvane/settings.ini"

fail() { echo "dialog: FAIL: $*" >&2; exit 1; }

# Keys go to whichever window has the focus: a display of its own keeps other tests' windows away.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 200); do
  [ -s "$work/display" ] && break
  sleep 0.05
done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(cat "$work/display")"

# Sends the window manager's close request (WM_DELETE_WINDOW), as the caption's close button does;
# the test display has no window manager to do it.
cat >"$work/close-request.c" <<'EOF'
#include <X11/Xlib.h>
#include <stdlib.h>
int main(int argc, char** argv) {
    Display* display = XOpenDisplay(NULL);
    if (!display || argc != 2) return 1;
    Window window = (Window)strtoul(argv[1], NULL, 0);
    XEvent event = {0};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XCloseDisplay(display);
    return 0;
}
EOF
cc -o "$work/close-request" "$work/close-request.c" -lX11 || fail "cannot build the close-request helper"

# Starts "morvane /c ARGS..." and sets $pid and $window to the process and its dialog window.
open_dialog() {
  "$bin" /c "$@" >"$work/out" 2>&1 &
  pid=$!
  pids+=("$pid")
  window=""
  for _ in $(seq 200); do
    window=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Config dialog$' 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || fail "morvane /c ended without a dialog: $(cat "$work/out")"
    sleep 0.05
  done
  [ -n "$window" ] || fail "no window titled \"Config dialog\" within 10 s"
  xdotool windowfocus --sync "$window"
}

# Waits up to 5 s for the dialog's process to end, which must be with exit code 0.
expect_exit() {
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  kill -0 "$pid" 2>/dev/null && fail "$1: the dialog is still open"
  local rc=0
  wait "$pid" || rc=$?
  [ "$rc" -eq 0 ] || fail "$1: exit code $rc"
}

stored() { sed -n 's/^UseMirrors=//p' "$settings" 2>/dev/null; }

# No settings yet: the box starts checked, and Enter (OK, the default button) stores 1 in a new file.
open_dialog
xdotool key Return
expect_exit "Enter"
[ "$(stored)" = "1" ] || fail "Enter on a fresh dialog stored '$(stored)', not 1"

# Tab moves from OK over Cancel to the box; space unticks it, Enter then stores 0.
open_dialog
xdotool key Tab Tab space Return
expect_exit "space on the box, then Enter"
[ "$(stored)" = "0" ] || fail "Enter after unticking stored '$(stored)', not 0"

# The next dialog shows the stored 0: Enter with no change keeps it 0.
open_dialog
xdotool key Return
expect_exit "Enter on a dialog opened with 0"
[ "$(stored)" = "0" ] || fail "the dialog did not show the stored 0: Enter stored '$(stored)'"

# A click on the box ticks it again; Enter stores 1.
open_dialog
eval "$(xdotool getwindowgeometry --shell "$window")"
# The box is the first line of the left column, 10 px in from the window's edge.
xdotool mousemove --sync $((X + 20)) $((Y + 32)) click 1
xdotool windowfocus --sync "$window" key Return
expect_exit "a click on the box, then Enter"
[ "$(stored)" = "1" ] || fail "Enter after a click on the box stored '$(stored)', not 1"

# Escape, and the window's close request, store nothing: the file stays byte for byte.
printf '# kept as it is\n\n[Keldric Saver]\nUseMirrors=7\n' >"$settings"
cp "$settings" "$work/before"
open_dialog
xdotool key Tab Tab space Escape
expect_exit "Escape"
cmp -s "$settings" "$work/before" || fail "Escape changed the settings file"

open_dialog
xdotool key Tab Tab space
"$work/close-request" "$window"
expect_exit "the close request"
cmp -s "$settings" "$work/before" || fail "the close request changed the settings file"

# Enter on Cancel is Cancel.
open_dialog
xdotool key Tab Return
expect_exit "Enter on Cancel"
cmp -s "$settings" "$work/before" || fail "Enter on Cancel changed the settings file"

# A stored 7 shows as checked (the saver draws mirrors for it), so OK with no change stores 1.
open_dialog
xdotool key Return
expect_exit "Enter on a dialog opened with 7"
[ "$(stored)" = "1" ] || fail "Enter on a dialog opened with 7 stored '$(stored)', not 1"

# "/c ID" places the dialog over window ID: a second dialog owned by the first.
open_dialog
owner=$window
owner_pid=$pid
open_dialog "$owner"
transient=$(xprop -id "$window" WM_TRANSIENT_FOR | sed -n 's/.*window id # //p')
[ "$((transient))" -eq "$((owner))" ] || fail "the owned dialog is transient for '$transient', not $owner"
xdotool key Escape
expect_exit "Escape on the owned dialog"
pid=$owner_pid
xdotool windowfocus --sync "$owner" key Escape
expect_exit "Escape on the owner"

# Without a display there is no dialog: one line on standard error, exit code 0, nothing stored.
rm -f "$settings"
rc=0
DISPLAY= timeout 10 "$bin" /c >"$work/out" 2>&1 || rc=$?
[ "$rc" -eq 0 ] || fail "without a display: exit code $rc"
grep -q 'configuration dialog' "$work/out" || fail "without a display: no message: $(cat "$work/out")"
[ ! -e "$settings" ] || fail "without a display: settings were written"

echo "dialog: all passed"
