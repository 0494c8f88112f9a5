#!/usr/bin/env bash
# MATE's screen saver with Morvane as its one theme, in a session bus of its own: --activate starts
# the installed morvane as its theme, whose picture fills the screen, lit and mirrored; --deactivate
# ends it within a second.
source "$(dirname "$0")/lib.sh"
need Xvfb dbus-run-session gsettings mate-screensaver mate-screensaver-command import convert compare identify
host_display 640x480
host_home
# What a MATE session gives the saver: its desktop's name, a session bus, the theme chosen in the
# saver's preferences, locking off.
cat >"$HOST_HOME/session.sh" <<'SESSION'
export XDG_CURRENT_DESKTOP=MATE
gsettings set org.mate.screensaver mode single
gsettings set org.mate.screensaver themes "['screensavers-morvane']"
gsettings set org.mate.screensaver lock-enabled false
echo "$DBUS_SESSION_BUS_ADDRESS" >bus
exec mate-screensaver --no-daemon
SESSION
launch session as_host dbus-run-session -- sh session.sh
session=$LAUNCHED
command() { as_host env DBUS_SESSION_BUS_ADDRESS="$(cat "$HOST_HOME/bus")" mate-screensaver-command "$@"; }
for _ in $(seq 100); do
  [ -s "$HOST_HOME/bus" ] && command --query >/dev/null 2>&1 && break
  running "$session" || fail "the session ended: $(tail -n 5 "$TEST_TMP/session.err")"
  sleep 0.1
done
command --query >/dev/null 2>&1 || fail "mate-screensaver does not answer: $(tail -n 5 "$TEST_TMP/session.err")"

command --activate >/dev/null || fail "mate-screensaver-command --activate failed"
wait_saver 10 || fail "--activate started no morvane: $(tail -n 5 "$TEST_TMP/session.err")"
tr '\0' '\n' <"/proc/$SAVER/environ" | grep -q '^XSCREENSAVER_WINDOW=' ||
  fail "the theme runs without \$XSCREENSAVER_WINDOW: $(tr '\0' ' ' <"/proc/$SAVER/cmdline")"
expect_mirrored root "the blanked screen"
note "--activate: morvane $SAVER ($(tr '\0' ' ' <"/proc/$SAVER/cmdline")) draws over the whole screen"

command --deactivate >/dev/null || fail "mate-screensaver-command --deactivate failed"
wait_no_saver 1 || fail "morvane still runs 1 s after --deactivate"
note "--deactivate: morvane has ended within 1 s"
command --exit >/dev/null 2>&1 || true
expect_exit "$session" 5 "the session after mate-screensaver --exit"
