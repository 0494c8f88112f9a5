#!/usr/bin/env bash
# Shared helpers of the host tests: those of the integration tests, plus a private X server the
# hosts' user may connect to, that user with a home folder of this test's own, the saver's
# processes a host started on this test's display, and a check of what they draw.
# shellcheck source=../integration/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../integration/lib.sh"
HOST_USER=morvane-test
[ "$(id -u)" -eq 0 ] || { echo "skipped: the host tests install a package and need root"; exit 77; }
id "$HOST_USER" >/dev/null 2>&1 || fail "no user $HOST_USER (tests/hosts/package.sh install creates it)"
[ -x /usr/libexec/xscreensaver/morvane ] || fail "the package is not installed (tests/hosts/package.sh install)"

# host_display [WIDTHxHEIGHT]: own_display, open to other users (-ac): the hosts run as HOST_USER.
host_display() { _lib_xvfb "${1:-640x480}" +extension GLX -ac; }

# host_home: a fresh home folder of HOST_USER's in this test's folder, HOST_HOME.
host_home() {
  chmod 711 "$TEST_TMP"
  HOST_HOME="$TEST_TMP/home"
  mkdir "$HOST_HOME"
  chown "$HOST_USER:" "$HOST_HOME"
}

# xscreensaver_config: HOST_HOME's ~/.xscreensaver as a user writes it for Morvane alone: one mode,
# no splash, lock or fade, and the programs line the README gives.
xscreensaver_config() {
  cat >"$HOST_HOME/.xscreensaver" <<'CONFIG'
mode:		one
selected:	0
splash:		False
lock:		False
fade:		False
programs:	morvane --root \n\
CONFIG
  chown "$HOST_USER:" "$HOST_HOME/.xscreensaver"
}

# as_host COMMAND...: runs COMMAND as HOST_USER in HOST_HOME, with a plain environment on DISPLAY.
# The session bus named does not exist: else GTK would start one through X11 that outlives the test.
as_host() {
  setpriv --reuid="$(id -u "$HOST_USER")" --regid="$(id -g "$HOST_USER")" --init-groups -- \
    env -i -C "$HOST_HOME" HOME="$HOST_HOME" USER="$HOST_USER" LOGNAME="$HOST_USER" PATH=/usr/bin:/bin \
    LANG=C.UTF-8 DISPLAY="$DISPLAY" NO_AT_BRIDGE=1 GIO_USE_VFS=local \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$TEST_TMP/no-session-bus" "$@"
}

# host_processes ENTRY [PGREP-OPTION...]: the ids of HOST_USER's processes (those pgrep's options
# name) whose environment has a line matching the extended regular expression ENTRY.
host_processes() {
  local pid entry=$1
  shift
  for pid in $(pgrep -u "$HOST_USER" "$@"); do
    tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxE "$entry" && echo "$pid"
  done
}

# savers: the ids of HOST_USER's morvane processes on this test's display.
savers() { host_processes "DISPLAY=${DISPLAY}(\.[0-9]+)?" -x morvane; }

# wait_saver SECONDS: SAVER is the id of the one morvane a host started on this display.
wait_saver() {
  local deadline=$(( $(now_ms) + $(in_ms "$1") ))
  SAVER=""
  while [ "$(now_ms)" -lt "$deadline" ]; do
    SAVER=$(savers | head -n1)
    [ -n "$SAVER" ] && return 0
    sleep 0.05
  done
  return 1
}

# wait_no_saver SECONDS: every morvane of this display has ended within SECONDS.
wait_no_saver() {
  local deadline=$(( $(now_ms) + $(in_ms "$1") ))
  while [ -n "$(savers)" ]; do
    [ "$(now_ms)" -ge "$deadline" ] && return 1
    sleep 0.02
  done
}

# mirrored PICTURE: whether the picture is lit and is its own mirror image about its middle column,
# where the kaleidoscope has a wedge edge; the bottom 7 % (the logo band) is left out. WHY says why not.
mirrored() {
  local rows box error
  rows=$(( $(identify -format %h "$1") * 93 / 100 ))
  convert "$1" -crop "x${rows}+0+0" +repage "$TEST_TMP/top.png"
  box=$(convert "$TEST_TMP/top.png" -colorspace gray -threshold 20% -format %@ info: 2>/dev/null)
  [[ "$box" =~ ^([0-9]+)x ]] && [ "${BASH_REMATCH[1]}" -gt 50 ] || { WHY="nothing bright is drawn (box $box)"; return 1; }
  convert "$TEST_TMP/top.png" -flop "$TEST_TMP/flopped.png"
  error=$(compare -metric RMSE "$TEST_TMP/top.png" "$TEST_TMP/flopped.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
  awk -v e="$error" 'BEGIN { exit !(e < 0.03) }' || { WHY="not mirrored about its middle (error $error)"; return 1; }
}

# expect_mirrored WINDOW WHAT: a picture of WINDOW passes mirrored within a few tries (the first
# frames may be late on a loaded machine, and a change of the wedge count is not symmetric while it
# lasts); the last picture is $TEST_TMP/shot.png.
expect_mirrored() {
  local attempt
  for attempt in 1 2 3 4 5 6 7 8; do
    snapshot "$1" "$TEST_TMP/shot.png"
    mirrored "$TEST_TMP/shot.png" && return 0
    sleep 0.7
  done
  cp "$TEST_TMP/shot.png" "${TMPDIR:-/tmp}/hosts-$(basename "$0" .sh)-failed.png" 2>/dev/null
  fail "$2: $WHY"
}
