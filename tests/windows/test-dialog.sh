# The configuration dialog: the check box shows the stored UseMirrors; OK (Enter) stores 0 or 1 as a
# REG_DWORD, creating the key; Escape and the caption's close button store nothing.

# open_dialog: starts /c and waits for the dialog; sets $dialog (its X id) and $dialog_state.
open_dialog() {
  start_saver /c
  dialog=$(x_window "Config dialog") || { fail "no Config dialog appeared"; return 1; }
  dialog_state=$(wine "$BUILD/saver_probe.exe" dialog | tr -d '\r')
}
press() {  # press KEY: the key, sent to the dialog
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  xdotool key "$1"
}
ended_cleanly() { check "$1 ends the process with exit code 0" test "$(saver_exit_within 20)" = 0; stop_saver; }

reg_delete_key "$OWN_KEY"
if open_dialog; then
  check "the dialog's caption and frame" grep -qx 'dialog.style=0x9.C800C.' <<<"$dialog_state"
  check "without a stored value the box is checked" grep -qx 'checked=1' <<<"$dialog_state"
  check "the check box is labelled Use Mirrors" grep -qx 'control=1001|Button|0x50010003|Use Mirrors' <<<"$dialog_state"
  check "the dialog has seven controls" test "$(grep -c '^control=' <<<"$dialog_state")" = 7
  press Escape
  ended_cleanly "Escape"
  check "Escape stores nothing" test -z "$(reg_dword "$OWN_KEY" UseMirrors)"
fi

if open_dialog; then
  wine "$BUILD/saver_probe.exe" close "Config dialog" >/dev/null
  ended_cleanly "the close button"
  check "the close button stores nothing" test -z "$(reg_dword "$OWN_KEY" UseMirrors)"
fi

if open_dialog; then
  press Return
  ended_cleanly "Enter"
  check "Enter stores 1, creating the key" test "$(reg_dword "$OWN_KEY" UseMirrors)" = "REG_DWORD 0x1"
fi

reg_set_dword "$OWN_KEY" UseMirrors 0
if open_dialog; then
  check "a stored 0 shows the box unchecked" grep -qx 'checked=0' <<<"$dialog_state"
  press Return
  ended_cleanly "Enter"
  check "Enter with the box unchecked stores 0" test "$(reg_dword "$OWN_KEY" UseMirrors)" = "REG_DWORD 0x0"
fi
check "the system's saver values are never written" test -z "$(reg_dword "$SCREEN_SAVERS" "Password Delay")"
reg_delete_key "$OWN_KEY"
