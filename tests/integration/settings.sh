#!/usr/bin/env bash
# The settings file as the real program uses it: -mirrors / -no-mirrors answer for one saver run,
# are not shown by the dialog and never stored, and a settings file the program cannot use is left
# exactly as it is.
source "$(dirname "$0")/lib.sh"
need "$MORVANE" Xvfb xdotool cmp
# Keys go to whichever window has the focus: a display of its own keeps other tests' windows away.
own_display 1280x800
fresh_settings
folder="$XDG_CONFIG_HOME/morvane"
settings="$folder/settings.ini"

# Runs "morvane ARGS... /c", presses KEYS in its dialog, and expects exit code 0 within 5 s; its
# standard error is left in $TEST_TMP/dialog.err. With AS_USER set, the program runs as that user.
AS_USER=()
dialog() {
  local keys=$1 window
  shift
  launch dialog "${AS_USER[@]}" "$MORVANE" "$@" /c
  window=$(window_of "$LAUNCHED" "Config dialog" 10) ||
    fail "morvane $* /c showed no dialog: $(cat "$TEST_TMP/dialog.err")"
  # shellcheck disable=SC2086 # the keys are words
  xdotool windowfocus --sync "$window" key $keys || fail "morvane $* /c: cannot press $keys"
  expect_exit "$LAUNCHED" 5 "morvane $* /c after $keys"
}

stored() { sed -n 's/^UseMirrors=//p' "$settings" 2>/dev/null; }

# An override alone creates nothing: a run that stores nothing leaves no file behind.
launch once "$MORVANE" -no-mirrors /x
expect_exit "$LAUNCHED" 10 "morvane -no-mirrors /x"
[ ! -e "$folder" ] || fail "morvane -no-mirrors /x created $folder"
dialog Escape -mirrors
[ ! -e "$folder" ] || fail "Escape in a dialog opened with -mirrors created $folder"

# An override is for a saver run: the dialog shows the stored value, and OK keeps it.
mkdir -p "$folder"
printf '[Keldric Saver]\nUseMirrors=1\n' >"$settings"
dialog Return -no-mirrors
[ "$(stored)" = "1" ] || fail "OK in a dialog opened with -no-mirrors stored '$(stored)', not the stored 1"
printf '[Keldric Saver]\nUseMirrors=0\n' >"$settings"
dialog Return -mirrors
[ "$(stored)" = "0" ] || fail "OK in a dialog opened with -mirrors stored '$(stored)', not the stored 0"
note "the dialog opened with -mirrors / -no-mirrors shows and keeps the stored value"

# A file that is not a settings file: the dialog opens with the default (checked), OK fails quietly
# for the user but says why on standard error, and the file stays byte for byte.
head -c 3000 /dev/urandom >"$settings"
printf '\0' >>"$settings"
cp "$settings" "$TEST_TMP/before"
dialog "Tab Tab space Return"
cmp -s "$settings" "$TEST_TMP/before" || fail "OK replaced a file that is not a settings file"
grep -q 'settings not saved' "$TEST_TMP/dialog.err" || fail "no word on standard error about the unsaved setting"

# A folder in the settings file's place: the same.
rm -f "$settings"
mkdir -p "$settings/inside"
dialog Return
[ -d "$settings/inside" ] || fail "OK removed the folder in the settings file's place"

# A settings folder the user cannot write to: nothing lost. Root may write anywhere, so as root the
# program runs as nobody for this.
rm -rf "$settings"
printf '# mine\n[Keldric Saver]\nUseMirrors=1\n' >"$settings"
cp "$settings" "$TEST_TMP/before"
unprivileged "$XDG_CONFIG_HOME"
chmod 0500 "$folder"
dialog "Tab Tab space Return"
chmod 0700 "$folder"
AS_USER=()
cmp -s "$settings" "$TEST_TMP/before" || fail "a refused write changed the settings file"
[ "$(ls -A "$folder")" = "settings.ini" ] || fail "a refused write left files behind: $(ls -A "$folder")"
grep -q 'settings not saved' "$TEST_TMP/dialog.err" || fail "no word on standard error about the refused write"

note "overrides are never stored, and settings the program cannot write stay as they were"
