#!/usr/bin/env bash
# The XScreenSaver daemon with Morvane as its one display mode, as a user's ~/.xscreensaver names it:
# -activate starts morvane, whose picture fills the screen, lit and mirrored; -deactivate ends it
# within a second and leaves the server's own blanking settings as they were.
source "$(dirname "$0")/lib.sh"
need Xvfb xscreensaver xscreensaver-command xset import convert compare identify
host_display 640x480
host_home
xscreensaver_config

launch daemon as_host xscreensaver -no-splash -verbose
daemon=$LAUNCHED
for _ in $(seq 100); do
  as_host xscreensaver-command -version >/dev/null 2>&1 && break
  running "$daemon" || fail "xscreensaver ended: $(tail -n 5 "$TEST_TMP/daemon.err")"
  sleep 0.1
done
blanking() { xset q | sed -n '/^Screen Saver:/,/cycle:/p'; }
before=$(blanking)

as_host xscreensaver-command -activate >/dev/null || fail "xscreensaver-command -activate failed"
wait_saver 10 || fail "-activate started no morvane: $(grep -i morvane "$TEST_TMP/daemon.err" | tail -n 3)"
tr '\0' ' ' <"/proc/$SAVER/cmdline" | grep -q -- '--root' || fail "the daemon started $(tr '\0' ' ' <"/proc/$SAVER/cmdline")"
sleep 1
running "$SAVER" || fail "morvane ended after it was started: $(grep -i morvane "$TEST_TMP/daemon.err" | tail -n 3)"
expect_mirrored root "the blanked screen"
note "-activate: morvane $SAVER draws the picture over the whole screen"

as_host xscreensaver-command -deactivate >/dev/null || fail "xscreensaver-command -deactivate failed"
wait_no_saver 1 || fail "morvane still runs 1 s after -deactivate"
[ "$(blanking)" = "$before" ] || fail "the server's blanking settings were $before, are now $(blanking)"
note "-deactivate: morvane has ended within 1 s, the server's blanking is as it was"
