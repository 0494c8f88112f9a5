# The installer, silent: it puts morvane.scr in the system folder and makes it the current saver;
# the uninstaller removes both, giving back the saver that was current before.
DESKTOP='HKCU\Control Panel\Desktop'
UNINSTALL='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Morvane'
installed="$WINEPREFIX/drive_c/windows/system32/morvane.scr"

reg_string() {  # reg_string KEY NAME: the stored string, or nothing when absent
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_SZ *//p"
}
# uninstall: runs the registered uninstaller, which copies itself away and returns at once, so wait
# until the saver's file is gone.
uninstall() {
  local command program
  command=$(reg_string "$UNINSTALL" QuietUninstallString)
  program=$(sed -n 's/^"\([^"]*\)" \/S$/\1/p' <<<"$command")
  [ -n "$program" ] || { fail "no quiet uninstaller is registered (got: $command)"; return; }
  wine "$program" /S >/dev/null 2>&1
  local deadline=$((SECONDS + 30))
  while [ -e "$installed" ] && [ $SECONDS -lt $deadline ]; do sleep 0.3; done
  wineserver -w
}

if [ ! -f "$BUILD/morvane-setup.exe" ]; then
  fail "morvane-setup.exe was not built (make installer)"
else
  wine reg delete "$DESKTOP" /v SCRNSAVE.EXE /f >/dev/null 2>&1
  wine "$BUILD/morvane-setup.exe" /S >/dev/null 2>&1
  status=$?
  wineserver -w
  check "the silent install ends with exit code 0 (got $status)" test "$status" = 0
  check "morvane.scr is in the system folder" cmp -s "$installed" "$BUILD/morvane.scr"
  check "Morvane is the current screen saver" \
    test "$(reg_string "$DESKTOP" SCRNSAVE.EXE | tr 'A-Z' 'a-z')" = 'c:\windows\system32\morvane.scr'
  check "an uninstaller is registered" test -n "$(reg_string "$UNINSTALL" DisplayName)"
  uninstall
  check "the uninstaller removes morvane.scr" test ! -e "$installed"
  check "the uninstaller removes the screen-saver setting" test -z "$(reg_string "$DESKTOP" SCRNSAVE.EXE)"
  check "the uninstaller removes its registration" test -z "$(reg_string "$UNINSTALL" DisplayName)"

  wine reg add "$DESKTOP" /v SCRNSAVE.EXE /t REG_SZ /d 'C:\windows\system32\other.scr' /f >/dev/null 2>&1
  wine "$BUILD/morvane-setup.exe" /S >/dev/null 2>&1
  wineserver -w
  check "installing over another saver makes Morvane current" \
    test "$(reg_string "$DESKTOP" SCRNSAVE.EXE | tr 'A-Z' 'a-z')" = 'c:\windows\system32\morvane.scr'
  uninstall
  check "uninstalling gives back the previous saver" \
    test "$(reg_string "$DESKTOP" SCRNSAVE.EXE)" = 'C:\windows\system32\other.scr'
  wine reg delete "$DESKTOP" /v SCRNSAVE.EXE /f >/dev/null 2>&1
fi
