# The installer, silent: it puts morvane.scr in the system folder, makes it the current saver and
# switches the screen saver on; the uninstaller removes what it put there and gives back the three
# settings. An install over an installed Morvane (here a newer version, built from the same script)
# replaces it in place; a morvane.scr in use is replaced or removed at the next restart, which for
# Wine is the next session (wineboot -r).
DESKTOP='HKCU\Control Panel\Desktop'
UNINSTALL='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Morvane'
installed="$WINEPREFIX/drive_c/windows/system32/morvane.scr"
read -r version _ <"$BUILD/version"
setup="$BUILD/morvane-$version-setup.exe"

reg_string() {  # reg_string KEY NAME: the stored string, or nothing when absent
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_SZ *//p"
}
reg_number() { local v; v=$(reg_dword "$1" "$2"); [ -n "$v" ] && echo $((${v#REG_DWORD })); }
# The three screen-saver settings on one line, "-" for an absent one; set_desktop NAME VALUE|- sets one.
desktop() {
  local name value line=""
  for name in SCRNSAVE.EXE ScreenSaveActive ScreenSaveTimeOut; do
    value=$(reg_string "$DESKTOP" "$name")
    line="$line$name=${value:--} "
  done
  tr 'A-Z' 'a-z' <<<"$line"
}
set_desktop() {
  if [ "$2" = - ]; then wine reg delete "$DESKTOP" /v "$1" /f
  else wine reg add "$DESKTOP" /v "$1" /d "$2" /f; fi >/dev/null 2>&1
}
install() { wine "$1" /S >/dev/null 2>&1; status=$?; wineserver -w; }
# uninstall: the registered quiet uninstaller; it copies itself away and starts the copy, which
# wineserver -w waits for.
uninstall() {
  local program
  program=$(sed -n 's/^"\([^"]*\)" \/S$/\1/p' <<<"$(reg_string "$UNINSTALL" QuietUninstallString)")
  [ -n "$program" ] || { fail "no quiet uninstaller is registered"; return; }
  wine "$program" /S >/dev/null 2>&1
  wineserver -w
}
# start_preview: a preview of the installed saver held open for 8 s, as the Screen Saver Settings
# keep one; returns once it draws.
start_preview() {
  preview_report=$(mktemp -p "$BUILD" installer-preview.XXXX)
  wine "$BUILD/saver_probe.exe" preview 'C:\windows\system32\morvane.scr' 8000 >"$preview_report" 2>&1 &
  preview=$!
  local deadline=$((SECONDS + 30))
  while [ $SECONDS -lt $deadline ] && ! grep -q '^child\.rect=' "$preview_report"; do sleep 0.2; done
}
restart() {
  wait "$preview"; rm -f "$preview_report"
  wineserver -w; wineboot -r >/dev/null 2>&1; wineserver -w
}

if [ ! -f "$setup" ]; then
  fail "$(basename "$setup") was not built (make installer)"
else
  cmake_version=$(sed -n 's/^project(morvane VERSION \([0-9.]*\).*/\1/p' "$here/../../CMakeLists.txt")
  check "the setup is named after CMake's project version ($cmake_version)" test "$version" = "$cmake_version"
  check "the setup's version information carries it" grep -q "VALUE \"ProductVersion\", \"$version\"" \
    <<<"$(x86_64-w64-mingw32-windres -i "$setup" -O rc 2>/dev/null)"

  # A user whose screen saver was "(None)".
  set_desktop SCRNSAVE.EXE -; set_desktop ScreenSaveActive 0; set_desktop ScreenSaveTimeOut -
  before=$(desktop)
  install "$setup"
  check "the silent install ends with exit code 0 (got $status)" test "$status" = 0
  check "morvane.scr is in the system folder" cmp -s "$installed" "$BUILD/morvane.scr"
  check "Morvane is current, the saver on, the timeout set (got: $(desktop))" test "$(desktop)" = \
    'scrnsave.exe=c:\windows\system32\morvane.scr screensaveactive=1 screensavetimeout=600 '

  missing=""
  for name in DisplayName DisplayVersion Publisher DisplayIcon InstallLocation URLInfoAbout UninstallString \
    QuietUninstallString; do
    [ -n "$(reg_string "$UNINSTALL" "$name")" ] || missing="$missing $name"
  done
  check "the Add/Remove entry has every value (missing:$missing)" test -z "$missing"
  check "it says version $version" test "$(reg_string "$UNINSTALL" DisplayVersion)" = "$version"
  check "it links to a reserved test domain" \
    grep -q '^https\?://[a-z.]*\.test/' <<<"$(reg_string "$UNINSTALL" URLInfoAbout)"
  check "it offers neither modify nor repair" \
    test "$(reg_number "$UNINSTALL" NoModify)$(reg_number "$UNINSTALL" NoRepair)" = 11
  location=$(winepath -u "$(reg_string "$UNINSTALL" InstallLocation)" 2>/dev/null)
  check "InstallLocation holds the uninstaller" test -f "$location/uninstall.exe"
  files_kib=$((($(stat -c %s "$installed") + $(stat -c %s "$location/uninstall.exe")) / 1024))
  estimated=$(reg_number "$UNINSTALL" EstimatedSize)
  check "EstimatedSize ($estimated KiB) is within 10 % of the installed files ($files_kib KiB)" \
    test $((${estimated:-0} * 10)) -ge $((files_kib * 9)) -a $((${estimated:-0} * 10)) -le $((files_kib * 11))

  uninstall
  check "the uninstaller removes morvane.scr" test ! -e "$installed"
  check "the uninstaller gives back the three settings (got: $(desktop))" test "$(desktop)" = "$before"
  check "the uninstaller removes its registration" test -z "$(reg_string "$UNINSTALL" DisplayName)"

  # A user with another saver and a timeout of their own, who installs, then upgrades.
  newer="$BUILD/installer-test/morvane-9.8.7-setup.exe"
  mkdir -p "$BUILD/installer-test"
  makensis -V1 -DVERSION=9.8.7 -DVERSION4=9.8.7.0 -DSAVER="$BUILD/morvane.scr" -DOUTFILE="$newer" \
    "$here/../../installer/morvane.nsi" >/dev/null
  set_desktop SCRNSAVE.EXE 'C:\windows\system32\other.scr'; set_desktop ScreenSaveActive 1
  set_desktop ScreenSaveTimeOut 300
  reg_set_dword "$OWN_KEY" UseMirrors 0
  before=$(desktop)
  install "$setup"
  check "the user's timeout stays (got: $(desktop))" grep -q ' screensavetimeout=300 $' <<<"$(desktop)"
  install "$newer"
  check "the upgrade ends with exit code 0 (got $status)" test "$status" = 0
  check "the upgrade replaces the entry in place" test "$(reg_string "$UNINSTALL" DisplayVersion)" = 9.8.7
  check "the upgrade keeps the user's setting" test "$(reg_dword "$OWN_KEY" UseMirrors)" = "REG_DWORD 0x0"
  uninstall
  check "after two installs the uninstaller gives back the previous saver (got: $(desktop))" \
    test "$(desktop)" = "$before"
  left=$(cd "$WINEPREFIX/drive_c" && ls -d windows/system32/morvane* "Program Files/Morvane" 2>/dev/null)
  wine reg query "$UNINSTALL" >/dev/null 2>&1 && left="$left $UNINSTALL"
  wine reg query 'HKCU\Software\Morvane' >/dev/null 2>&1 && left="$left HKCU\\Software\\Morvane"
  check "after two installs and one uninstall nothing of ours is left (left: $left)" test -z "$left"
  rm -rf "$BUILD/installer-test"

  # A morvane.scr in use: an older one (a byte longer) runs the preview.
  install "$setup"
  echo >>"$installed"
  start_preview
  wine "$setup" /S >/dev/null 2>&1  # no wineserver -w: that waits for the preview, and a new session restarts
  status=$?
  check "installing over a running morvane.scr asks for a restart (exit code 3010, low byte $status)" \
    test "$status" = $((3010 % 256))
  check "the running morvane.scr stays until then" \
    test "$(stat -c %s "$installed")" = $(($(stat -c %s "$BUILD/morvane.scr") + 1))
  restart
  check "the restart puts the new morvane.scr in its place" cmp -s "$installed" "$BUILD/morvane.scr"
  check "and leaves nothing beside it" test ! -e "$installed.new"
  start_preview
  uninstall
  restart
  check "a morvane.scr running while uninstalling is gone after the restart" test ! -e "$installed"
  set_desktop SCRNSAVE.EXE -
  reg_delete_key "$OWN_KEY"
fi
