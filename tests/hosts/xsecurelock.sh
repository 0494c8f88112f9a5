#!/usr/bin/env bash
# xsecurelock with its saver_xscreensaver module, set up as the README says: on a screen of two RandR
# monitors it starts one `morvane --root` per monitor from the programs line of ~/.xscreensaver, each
# in a window of its own; each monitor's half of the screen shows the picture, lit and mirrored. Its
# reset (SIGUSR1 to a saver's process group) ends that saver, and the module starts it again; ending
# xsecurelock ends them all.
source "$(dirname "$0")/lib.sh"
need Xvfb xrandr xsecurelock import convert compare identify
host_display 1280x480
xrandr --setmonitor left 640/169x480/127+0+0 screen >/dev/null || fail "xrandr cannot set the left monitor"
xrandr --setmonitor right 640/169x480/127+640+0 none >/dev/null || fail "xrandr cannot set the right monitor"
host_home
xscreensaver_config

# Whatever of the host user's still runs on this display at the end goes too: xsecurelock keeps a
# placeholder process in each saver's group, and one left behind would hold the test's files open.
on_display() { host_processes "DISPLAY=${DISPLAY}(\.[0-9]+)?"; }
end_on_display() { kill -KILL $(on_display) 2>/dev/null; }
at_exit end_on_display

# wait_savers COUNT: COUNT morvane run on this display within 10 s.
wait_savers() {
  for _ in $(seq 200); do
    [ "$(savers | wc -l)" = "$1" ] && return 0
    running "$locker" || fail "xsecurelock ended: $(tail -n 5 "$TEST_TMP/locker.err")"
    sleep 0.05
  done
  fail "$(savers | wc -l) morvane instead of $1: $(tail -n 5 "$TEST_TMP/locker.err")"
}

launch locker as_host env XSECURELOCK_SAVER=saver_xscreensaver \
  XSECURELOCK_XSCREENSAVER_PATH=/usr/libexec/xscreensaver XSECURELOCK_NO_COMPOSITE=1 xsecurelock
# as_host runs it as a child of the launched shell.
for _ in $(seq 100); do locker=$(pgrep -P "$LAUNCHED" -x xsecurelock) && break; sleep 0.05; done
[ -n "$locker" ] || fail "xsecurelock did not start: $(tail -n 5 "$TEST_TMP/locker.err")"
wait_savers 2
for pid in $(savers); do
  tr '\0' ' ' <"/proc/$pid/cmdline" | grep -q -- '--root' || fail "xsecurelock started $(tr '\0' ' ' <"/proc/$pid/cmdline")"
done
# The monitor's part of the screen shows the picture, centred on that monitor.
for half in 640x480+0+0 640x480+640+0; do
  for attempt in $(seq 8); do
    import -window root -crop "$half" +repage "$TEST_TMP/half.png"
    mirrored "$TEST_TMP/half.png" && break
    [ "$attempt" = 8 ] && fail "the monitor at $half: $WHY"
    sleep 0.7
  done
done
note "xsecurelock runs one morvane --root per monitor, and each monitor shows the picture"

first=$(savers | head -n1)
kill -USR1 -- "-$(ps -o pgid= "$first" | tr -d ' ')"
for _ in $(seq 200); do running "$first" || break; sleep 0.05; done
running "$first" && fail "morvane $first still runs after the reset's SIGUSR1"
wait_savers 2
note "xsecurelock's reset ends a saver and the module starts it again"

kill -TERM "$locker"
wait_no_saver 2 || fail "morvane still runs 2 s after xsecurelock was ended"
for _ in $(seq 40); do [ -z "$(on_display)" ] && break; sleep 0.05; done
[ -z "$(on_display)" ] || fail "after xsecurelock ended, still running: $(ps -o args= -p "$(on_display | paste -sd,)")"
note "ending xsecurelock ends every morvane"
