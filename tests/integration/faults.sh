#!/usr/bin/env bash
# Faults a saver meets, each of which must end the run cleanly with exit code 0 and leave the
# settings file as it was: the window of another program it draws in (a preview's parent, a host's
# window) destroyed while frames are being drawn, from the first moments of the set-up on; a settings file that is a folder, empty, binary or huge; command
# lines of 100,000 characters in each of the /s, /p and /c forms. (SIGTERM during the set-up and
# the X server going away are fullscreen.sh's; the settings store's own cases are its unit tests.)
source "$(dirname "$0")/lib.sh"
need Xvfb xdotool xwininfo cmp "$MORVANE" "$XTESTHOST"
own_display 1280x720
fresh_settings
settings="$XDG_CONFIG_HOME/morvane/settings.ini"
mkdir -p "${settings%/*}"

# A fingerprint of the settings file: kind, inode, size, change time and the bytes' checksum.
fingerprint() {
  if [ -d "$settings" ]; then stat -c 'folder %i %Z' "$settings"; ls -A "$settings"; return; fi
  [ -e "$settings" ] || { echo absent; return; }
  stat -c '%F %i %s %Y.%y' "$settings"
  cksum <"$settings"
}

# no_crash NAME WHAT: the run's standard error names no crash, no X error and no sanitizer report.
no_crash() {
  ! grep -qiE 'segmentation|abort|core dumped|X Error|BadWindow|BadDrawable|runtime error|Sanitizer' \
    "$TEST_TMP/$1.err" || fail "$2: $(head -n 5 "$TEST_TMP/$1.err")"
}

# --- a window of another program's destroyed mid-frame ---------------------------------------------
# A preview's parent, or the window a host hands a display mode in $XSCREENSAVER_WINDOW, of the whole
# screen, so that each frame takes a good part of the time between frames and the destruction falls
# inside one about every third time. Fixed delays from before the saver's window exists to well into
# the drawing, then random ones once frames are being drawn; the two kinds of window take turns.
# DESTROY_ROUNDS sets the number of random ones (`make destroy-loop` runs a thousand).
printf '[Keldric Saver]\nUseMirrors=1\n' >"$settings"
before=$(fingerprint)
delays="0.02 0.15 0.4 0.73 1.1 1.6"
for _ in $(seq "${DESTROY_ROUNDS:-6}"); do delays+=" 0.$(( 400 + RANDOM % 500 ))"; done
round=0
for delay in $delays; do
  round=$((round + 1))
  launch parent "$XTESTHOST" window 1280 720 0 0
  parent_pid=$LAUNCHED
  parent=""
  for _ in $(seq 100); do
    parent=$(head -n1 "$TEST_TMP/parent.out" 2>/dev/null)
    [ -n "$parent" ] && break
    sleep 0.02
  done
  [ -n "$parent" ] || fail "xtesthost made no window"
  if [ $((round % 2)) -eq 1 ]; then
    what="a preview's parent"
    launch saver "$MORVANE" /p "$parent"
  else
    what="a host's window"
    launch saver env XSCREENSAVER_WINDOW="$parent" "$MORVANE" --root
  fi
  saver=$LAUNCHED
  sleep "$delay"
  if ! running "$saver"; then
    wait_exit "$saver" 1
    fail "round $round: the saver ended with exit code $EXIT_CODE before $what went away (after $delay s): $(tail -n 3 "$TEST_TMP/saver.err")"
  fi
  kill "$parent_pid"
  expect_exit "$saver" 3 "$what destroyed $delay s after the saver's start"
  no_crash saver "$what destroyed $delay s after the start"
  wait "$parent_pid" 2>/dev/null
done
[ "$(fingerprint)" = "$before" ] || fail "a saver changed the settings file"
note "the saver ends with exit code 0 whenever the window it draws in goes, in $round rounds from the set-up to the frames"

# --- settings files the saver cannot use ------------------------------------------------------------
# The saver only reads its settings: each run draws a few frames, ends through its tear-down, and
# the file stays as it was. The huge one is far beyond what the store reads.
runs_with_settings() {
  local what=$1 began
  before=$(fingerprint)
  began=$(now_ms)
  MORVANE_EXIT_AFTER_FRAMES=3 MORVANE_FRAME_REPORT=1 launch saver "$MORVANE" /s
  expect_exit "$LAUNCHED" 20 "/s with a settings file that is $what"
  no_crash saver "/s with a settings file that is $what"
  grep -q 'frames=3 ' "$TEST_TMP/saver.err" || fail "/s with a settings file that is $what drew no frames: $(cat "$TEST_TMP/saver.err")"
  [ "$(fingerprint)" = "$before" ] || fail "/s changed a settings file that is $what"
  [ "$(ls -A "${settings%/*}")" = settings.ini ] || fail "/s left files beside a settings file that is $what"
  note "a settings file that is $what: three frames and exit code 0 in $(( $(now_ms) - began )) ms, file unchanged"
}
rm -rf "$settings"; mkdir -p "$settings/inside"
runs_with_settings "a folder"
rm -rf "$settings"; : >"$settings"
runs_with_settings "empty"
head -c 4096 /dev/urandom >"$settings"; printf '\0[Keldric Saver]\nUseMirrors=0\n' >>"$settings"
runs_with_settings "binary"
{ printf '[Keldric Saver]\nUseMirrors=0\n#'; head -c $(( 64 * 1024 * 1024 )) /dev/zero | tr '\0' x; echo; } >"$settings"
runs_with_settings "huge (64 MiB)"

# --- command lines of 100,000 characters --------------------------------------------------------------
printf '[Keldric Saver]\nUseMirrors=1\n' >"$settings"
before=$(fingerprint)
long_x=$(head -c 99997 /dev/zero | tr '\0' x)
long_digits=$(head -c 99997 /dev/zero | tr '\0' 7)
# One word after the switch.
MORVANE_EXIT_AFTER_FRAMES=3 MORVANE_FRAME_REPORT=1 launch long "$MORVANE" /s "$long_x"
expect_exit "$LAUNCHED" 20 "/s with a word of 100,000 characters"
no_crash long "/s with a word of 100,000 characters"
grep -q 'frames=3 ' "$TEST_TMP/long.err" || fail "/s with a word of 100,000 characters drew no frames"
# The switch glued to 100,000 characters, and twenty thousand words.
MORVANE_EXIT_AFTER_FRAMES=3 launch long "$MORVANE" "/s$long_x"
expect_exit "$LAUNCHED" 20 "/s glued to 100,000 characters"
# shellcheck disable=SC2046 # the words are meant to be split
MORVANE_EXIT_AFTER_FRAMES=3 launch long "$MORVANE" /s $(yes /s | head -n 20000)
expect_exit "$LAUNCHED" 20 "/s in 20,000 words"
note "/s with a command line of 100,000 characters draws and ends with exit code 0"

# A window handle of 100,000 digits is no window: the preview ends at once, quietly.
for line in "/p $long_digits" "/p:$long_digits" "/l $long_x"; do
  # shellcheck disable=SC2086 # the words are the command line
  launch long "$MORVANE" $line
  expect_exit "$LAUNCHED" 5 "${line:0:3} with 100,000 characters"
  [ ! -s "$TEST_TMP/long.err" ] || fail "${line:0:3} with 100,000 characters is not quiet: $(head -c 300 "$TEST_TMP/long.err")"
done
note "/p with a command line of 100,000 characters ends at once with exit code 0"

# The dialog opens whatever follows the switch; Escape closes it without storing anything.
for line in "/c $long_digits" "/c:$long_x"; do
  # shellcheck disable=SC2086 # the words are the command line
  launch long "$MORVANE" $line
  dialog=""
  for _ in $(seq 200); do
    dialog=$(xdotool search --all --onlyvisible --pid "$LAUNCHED" --name '^Config dialog$' 2>/dev/null | head -n1)
    [ -n "$dialog" ] && break
    running "$LAUNCHED" || break
    sleep 0.05
  done
  [ -n "$dialog" ] || fail "${line:0:3} with 100,000 characters showed no dialog: $(head -c 300 "$TEST_TMP/long.err")"
  xdotool windowfocus --sync "$dialog" key Escape
  expect_exit "$LAUNCHED" 5 "Escape in the dialog of ${line:0:3} with 100,000 characters"
  no_crash long "${line:0:3} with 100,000 characters"
done
note "/c with a command line of 100,000 characters shows the dialog and ends with exit code 0"
[ "$(fingerprint)" = "$before" ] || fail "a long command line changed the settings file"
note "the settings file is unchanged after every long command line"
