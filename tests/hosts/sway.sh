#!/usr/bin/env bash
# sway, headless, as a user of its own with two outputs of 1920x1080 on a black background: one
# `morvane /s` (the installed one, no X display) draws the picture, lit and mirrored, on both outputs
# and on an output added while it runs; a key ends it with exit code 0; swayidle starts it after its
# timeout; `/c` shows the dialog there; SIGTERM and the compositor going away end it with exit code 0.
source "$(dirname "$0")/lib.sh"
need sway swaymsg swayidle grim wtype convert compare identify setsid
export DISPLAY=""  # no X display: the session is Wayland's alone
host_home
RUNTIME="$TEST_TMP/runtime"
mkdir -m 700 "$RUNTIME"
chown "$HOST_USER:" "$RUNTIME"
cat >"$TEST_TMP/sway.cfg" <<'CONFIG'
output * bg #000000 solid_color
output HEADLESS-1 resolution 1920x1080 position 0 0
CONFIG
chmod 644 "$TEST_TMP/sway.cfg"

# as_wayland COMMAND...: COMMAND as HOST_USER in this test's session: no X display, only Wayland's.
as_wayland() { as_host env DISPLAY= XDG_RUNTIME_DIR="$RUNTIME" WAYLAND_DISPLAY=wayland-1 "$@"; }
sway_reply() { as_wayland swaymsg -s "$(ls "$RUNTIME"/sway-ipc.*.sock)" "$@"; }
sway_ipc() { sway_reply "$@" >/dev/null; }
# in_session [PGREP-OPTION...]: HOST_USER's processes in this test's Wayland session.
in_session() { host_processes "XDG_RUNTIME_DIR=$RUNTIME" "$@"; }
wayland_savers() { in_session -x morvane; }
trap 'kill -KILL $(in_session) 2>/dev/null; _lib_cleanup' EXIT
# press_key PID: Escape from a virtual keyboard (wtype's exists only while wtype runs, and the saver
# must have taken it up before the key comes: -s waits); again while the saver still runs, as a
# busy machine may keep it from taking the keyboard up in time.
press_key() {
  for _ in 1 2 3; do
    as_wayland wtype -s 500 -k Escape || fail "wtype failed"
    for _ in $(seq 20); do running "$1" || return 0; sleep 0.1; done
  done
}
# expect_output_mirrored NAME WHAT: the output's picture passes mirrored within a few tries.
expect_output_mirrored() {
  for attempt in 1 2 3 4 5 6 7 8; do
    as_wayland grim -o "$1" "$HOST_HOME/$1.png" 2>/dev/null && mirrored "$HOST_HOME/$1.png" && return 0
    sleep 0.7
  done
  cp "$HOST_HOME/$1.png" "${TMPDIR:-/tmp}/hosts-sway-$1-failed.png" 2>/dev/null
  fail "$2: $WHY"
}
start_sway() {
  launch sway as_host env -u DISPLAY XDG_RUNTIME_DIR="$RUNTIME" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
    WLR_RENDERER=pixman sway -c "$TEST_TMP/sway.cfg"
  SWAY=$LAUNCHED
  for _ in $(seq 100); do
    [ -S "$RUNTIME/wayland-1" ] && ls "$RUNTIME"/sway-ipc.*.sock >/dev/null 2>&1 && sway_ipc -t get_outputs && break
    running "$SWAY" || fail "sway ended: $(tail -n 5 "$TEST_TMP/sway.err")"
    sleep 0.1
  done
  sway_ipc create_output && sway_ipc output HEADLESS-2 resolution 1920x1080 position 1920 0 ||
    fail "sway did not add the second output"
}
start_sway

launch saver as_wayland /usr/bin/morvane /s
saver=$LAUNCHED
for output in HEADLESS-1 HEADLESS-2; do expect_output_mirrored "$output" "morvane /s on $output"; done
[ "$(wayland_savers | wc -l)" = 1 ] || fail "$(wayland_savers | wc -l) morvane processes instead of one"
note "one morvane /s draws the picture on both outputs"

# Its surface on HEADLESS-1 hidden behind another workspace gets no frame callbacks: the picture on
# HEADLESS-2 must go on moving all the same.
sway_ipc focus output HEADLESS-1 && sway_ipc workspace hidden || fail "sway did not switch HEADLESS-1's workspace"
as_wayland grim -o HEADLESS-2 "$HOST_HOME/before.png" && sleep 1 && as_wayland grim -o HEADLESS-2 "$HOST_HOME/after.png" ||
  fail "grim failed"
changed=$(compare -metric AE "$HOST_HOME/before.png" "$HOST_HOME/after.png" null: 2>&1)
[ "${changed%% *}" != 0 ] || fail "with its surface on HEADLESS-1 hidden, the picture on HEADLESS-2 stands still"
sway_ipc workspace 1
note "a surface hidden behind another workspace holds nothing up"

sway_ipc create_output && sway_ipc output HEADLESS-3 resolution 1920x1080 position 3840 0 ||
  fail "sway did not add the third output"
expect_output_mirrored HEADLESS-3 "the output added while morvane runs"
note "an output added while it runs gets the picture"

press_key "$saver"
expect_exit "$saver" 1 "morvane /s after a key"
note "a key ends it with exit code 0"

# swayidle in a session of its own: ending it must not end this script.
launch idle as_wayland setsid swayidle -w timeout 2 '/usr/bin/morvane /s'
idle=$LAUNCHED
for _ in $(seq 100); do [ -n "$(wayland_savers)" ] && break; sleep 0.1; done
[ -n "$(wayland_savers)" ] || fail "swayidle did not start morvane: $(tail -n 3 "$TEST_TMP/idle.err")"
expect_output_mirrored HEADLESS-1 "morvane started by swayidle"
note "swayidle starts morvane /s after its timeout"
press_key "$(wayland_savers | head -n1)"
for _ in $(seq 50); do [ -z "$(wayland_savers)" ] && break; sleep 0.1; done
[ -z "$(wayland_savers)" ] || fail "morvane started by swayidle still runs after a key"
kill -TERM $(in_session -x swayidle) 2>/dev/null

launch dialog as_wayland /usr/bin/morvane /c
dialog_shown() { sway_reply -t get_tree | grep -q '"name": "Config dialog"'; }
for _ in $(seq 100); do dialog_shown && break; sleep 0.1; done
dialog_shown || fail "morvane /c showed no dialog: $(tail -n 3 "$TEST_TMP/dialog.err")"
press_key "$LAUNCHED"
expect_exit "$LAUNCHED" 1 "morvane /c after Escape"
note "/c shows the configuration dialog on Wayland, which Escape closes"

launch saver as_wayland /usr/bin/morvane /s
expect_output_mirrored HEADLESS-1 "morvane /s before SIGTERM"
kill -TERM "$(wayland_savers)"
expect_exit "$LAUNCHED" 2 "morvane /s after SIGTERM"
note "SIGTERM ends it with exit code 0"

launch saver as_wayland /usr/bin/morvane /s
saver=$LAUNCHED
expect_output_mirrored HEADLESS-1 "morvane /s before the compositor goes"
kill -KILL $(in_session -x sway)
expect_exit "$saver" 5 "morvane /s when the compositor went away"
note "the compositor going away ends it with exit code 0"
