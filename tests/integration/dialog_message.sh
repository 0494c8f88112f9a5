#!/usr/bin/env bash
# The message box of a failed saver set-up: on a display without GLX, "morvane /s" cannot find a
# pixel format and says so in a window titled "Error" with an OK button, and on standard error;
# Enter dismisses it and the program ends with exit code 0. Starts an Xvfb of its own, without GLX.
set -euo pipefail

bin="$MORVANE_BUILD/morvane"
[ -x "$bin" ] || { echo "dialog_message: $bin is not built" >&2; exit 1; }

work=$(mktemp -d)
xvfb=""
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "dialog_message: FAIL: $*" >&2; exit 1; }

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -extension GLX 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 200); do
  [ -s "$work/display" ] && break
  sleep 0.05
done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(cat "$work/display")" XDG_CONFIG_HOME="$work/config"

"$bin" /s >"$work/out" 2>&1 &
pid=$!
window=""
for _ in $(seq 200); do
  window=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Error$' 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || fail "morvane /s ended without a message box: $(cat "$work/out")"
  sleep 0.05
done
[ -n "$window" ] || fail "no window titled \"Error\" within 10 s"
grep -qxF 'Error: ChoosePixelFormat() failed:  Cannot find a suitable pixel format.' "$work/out" ||
  fail "standard error does not carry the message: $(cat "$work/out")"

# The box stays until it is answered.
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "the program ended while its message box was up"
xdotool windowfocus --sync "$window" key Return
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.05
done
kill -0 "$pid" 2>/dev/null && fail "Enter did not dismiss the message box"
rc=0
wait "$pid" || rc=$?
pid=""
[ "$rc" -eq 0 ] || fail "exit code $rc"

echo "dialog_message: all passed"
