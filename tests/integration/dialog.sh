#!/usr/bin/env bash
# The configuration dialog of the real program on X ("morvane /c"): what Enter, the check box, Escape
# and the window's close button store, that the next dialog shows what was stored, and the owner hint.
source "$(dirname "$0")/lib.sh"
need "$MORVANE" Xvfb xdotool xprop cc cmp
# Keys go to whichever window has the focus: a display of its own keeps other tests' windows away.
own_display 1280x800
fresh_settings
# A settings home that is not there yet: the first OK makes the whole path.
export XDG_CONFIG_HOME="$XDG_CONFIG_HOME/config"
settings="$XDG_CONFIG_HOME/morvane/settings.ini"

# Sends the window manager's close request (WM_DELETE_WINDOW), as the caption's close button does;
# the test display has no window manager to do it.
cat >"$TEST_TMP/close-request.c" <<'EOF'
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
cc -o "$TEST_TMP/close-request" "$TEST_TMP/close-request.c" -lX11 || fail "cannot build the close-request helper"

# Starts "morvane /c ARGS..." and sets $pid and $window to the process and its dialog window.
open_dialog() {
  launch dialog "$MORVANE" /c "$@"
  pid=$LAUNCHED
  window=$(window_of "$pid" "Config dialog" 10) ||
    fail "morvane /c $* showed no window titled \"Config dialog\": $(cat "$TEST_TMP/dialog.err")"
  xdotool windowfocus --sync "$window" || fail "cannot focus the dialog"
}

# closed WHAT: the dialog's process ends within 5 s, with exit code 0.
closed() { expect_exit "$pid" 5 "$1"; }

stored() { sed -n 's/^UseMirrors=//p' "$settings" 2>/dev/null; }

# No settings yet: the box starts checked, and Enter (OK, the default button) stores 1 in a new file.
open_dialog
xdotool key Return
closed "Enter"
[ "$(stored)" = "1" ] || fail "Enter on a fresh dialog stored '$(stored)', not 1"

# Tab moves from OK over Cancel to the box; space unticks it, Enter then stores 0.
open_dialog
xdotool key Tab Tab space Return
closed "space on the box, then Enter"
[ "$(stored)" = "0" ] || fail "Enter after unticking stored '$(stored)', not 0"

# The next dialog shows the stored 0: Enter with no change keeps it 0.
open_dialog
xdotool key Return
closed "Enter on a dialog opened with 0"
[ "$(stored)" = "0" ] || fail "the dialog did not show the stored 0: Enter stored '$(stored)'"

# A click on the box ticks it again; Enter stores 1.
open_dialog
eval "$(xdotool getwindowgeometry --shell "$window")"
# The box is the first line of the left column, 10 px in from the window's edge.
xdotool mousemove --sync $((X + 20)) $((Y + 32)) click 1
xdotool windowfocus --sync "$window" key Return
closed "a click on the box, then Enter"
[ "$(stored)" = "1" ] || fail "Enter after a click on the box stored '$(stored)', not 1"

# Escape, and the window's close request, store nothing: the file stays byte for byte.
printf '# kept as it is\n\n[Keldric Saver]\nUseMirrors=7\n' >"$settings"
cp "$settings" "$TEST_TMP/before"
open_dialog
xdotool key Tab Tab space Escape
closed "Escape"
cmp -s "$settings" "$TEST_TMP/before" || fail "Escape changed the settings file"

open_dialog
xdotool key Tab Tab space
"$TEST_TMP/close-request" "$window"
closed "the close request"
cmp -s "$settings" "$TEST_TMP/before" || fail "the close request changed the settings file"

# Enter on Cancel is Cancel.
open_dialog
xdotool key Tab Return
closed "Enter on Cancel"
cmp -s "$settings" "$TEST_TMP/before" || fail "Enter on Cancel changed the settings file"

# A stored 7 shows as checked (the saver draws mirrors for it), so OK with no change stores 1.
open_dialog
xdotool key Return
closed "Enter on a dialog opened with 7"
[ "$(stored)" = "1" ] || fail "Enter on a dialog opened with 7 stored '$(stored)', not 1"

# "/c ID" places the dialog over window ID: a second dialog owned by the first.
open_dialog
owner=$window
owner_pid=$pid
open_dialog "$owner"
transient=$(xprop -id "$window" WM_TRANSIENT_FOR | sed -n 's/.*window id # //p')
[ "$((transient))" -eq "$((owner))" ] || fail "the owned dialog is transient for '$transient', not $owner"
xdotool key Escape
closed "Escape on the owned dialog"
pid=$owner_pid
xdotool windowfocus --sync "$owner" key Escape
closed "Escape on the owner"

# GTK's own handlers must not decide the exit code: the X server going away under an open dialog
# ends the program with exit code 0.
open_dialog
kill -KILL "$XVFB_PID"
wait "$XVFB_PID" 2>/dev/null
closed "the X server killed under the dialog"

# Without a display there is no dialog: one line on standard error, exit code 0, nothing stored.
rm -f "$settings"
DISPLAY='' launch nodisplay "$MORVANE" /c
expect_exit "$LAUNCHED" 10 "without a display"
grep -q 'configuration dialog' "$TEST_TMP/nodisplay.err" ||
  fail "without a display: no message: $(cat "$TEST_TMP/nodisplay.err")"
[ ! -e "$settings" ] || fail "without a display: settings were written"
note "the dialog stores what Enter, the box, Escape and the close request ask for, owns to /c ID, and ends with 0 when the server goes"
