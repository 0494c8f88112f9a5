#!/usr/bin/env bash
# The settings file as the real program uses it: -mirrors / -no-mirrors answer for one run and are
# never stored, and a settings file the program cannot use is left exactly as it is.
set -euo pipefail

bin="$MORVANE_BUILD/morvane"
[ -x "$bin" ] || { echo "settings: $bin is not built" >&2; exit 1; }

work=$(mktemp -d)
xvfb=""
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME="$work/config"
folder="$XDG_CONFIG_HOME/morvane"
settings="$folder/settings.ini"

fail() { echo "settings: FAIL: $*" >&2; exit 1; }

# Keys go to whichever window has the focus: a display of its own keeps other tests' windows away.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 200); do
  [ -s "$work/display" ] && break
  sleep 0.05
done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(cat "$work/display")"

# Runs "morvane ARGS... /c", presses KEYS in its dialog, and expects exit code 0 within 5 s.
# With $as_user set, the program runs as that user.
as_user=()
dialog() {
  local keys=$1
  shift
  "${as_user[@]}" "$bin" "$@" /c >"$work/out" 2>&1 &
  pid=$!
  local window=""
  for _ in $(seq 200); do
    window=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Config dialog$' 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || fail "morvane $* /c ended without a dialog: $(cat "$work/out")"
    sleep 0.05
  done
  [ -n "$window" ] || fail "morvane $* /c: no dialog within 10 s"
  xdotool windowfocus --sync "$window" key $keys
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  kill -0 "$pid" 2>/dev/null && fail "morvane $* /c: still open after $keys"
  local rc=0
  wait "$pid" || rc=$?
  pid=""
  [ "$rc" -eq 0 ] || fail "morvane $* /c: exit code $rc"
}

stored() { sed -n 's/^UseMirrors=//p' "$settings" 2>/dev/null; }

# An override alone creates nothing: a run that stores nothing leaves no file behind.
rc=0
timeout 10 "$bin" -no-mirrors /x >"$work/out" 2>&1 || rc=$?
[ "$rc" -eq 0 ] || fail "morvane -no-mirrors /x: exit code $rc"
[ ! -e "$folder" ] || fail "morvane -no-mirrors /x created $folder"
dialog Escape -mirrors
[ ! -e "$folder" ] || fail "Escape in a dialog opened with -mirrors created $folder"

# The dialog shows the override in place of the stored value, and OK stores what the box shows.
mkdir -p "$folder"
printf '[Keldric Saver]\nUseMirrors=1\n' >"$settings"
dialog Return -no-mirrors
[ "$(stored)" = "0" ] || fail "OK in a dialog opened with -no-mirrors stored '$(stored)', not 0"
dialog Return -mirrors
[ "$(stored)" = "1" ] || fail "OK in a dialog opened with -mirrors stored '$(stored)', not 1"

# A file that is not a settings file: the dialog opens with the default (checked), OK fails quietly
# for the user but says why on standard error, and the file stays byte for byte.
head -c 3000 /dev/urandom >"$settings"
printf '\0' >>"$settings"
cp "$settings" "$work/before"
dialog "Tab Tab space Return"
cmp -s "$settings" "$work/before" || fail "OK replaced a file that is not a settings file"
grep -q 'settings not saved' "$work/out" || fail "no word on standard error about the unsaved setting"

# A folder in the settings file's place: the same.
rm -f "$settings"
mkdir -p "$settings/inside"
dialog Return
[ -d "$settings/inside" ] || fail "OK removed the folder in the settings file's place"

# A settings folder the user cannot write to: nothing lost. Root may write anywhere, so as root the
# program runs as nobody for this.
rm -rf "$settings"
printf '# mine\n[Keldric Saver]\nUseMirrors=1\n' >"$settings"
cp "$settings" "$work/before"
if [ "$(id -u)" -eq 0 ]; then
  chmod 0755 "$work"
  chown -R 65534:65534 "$XDG_CONFIG_HOME"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi
chmod 0500 "$folder"
dialog "Tab Tab space Return"
chmod 0700 "$folder"
as_user=()
cmp -s "$settings" "$work/before" || fail "a refused write changed the settings file"
[ "$(ls -A "$folder")" = "settings.ini" ] || fail "a refused write left files behind: $(ls -A "$folder")"
grep -q 'settings not saved' "$work/out" || fail "no word on standard error about the refused write"

echo "settings: all passed"
