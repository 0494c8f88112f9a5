# Helpers for the Wine tests of morvane.scr, sourced by run-wine-tests and by every test-*.sh.
# The runner sets DISPLAY (a private Xvfb), WINEPREFIX (a fresh prefix under the build folder),
# WINEDEBUG=-all, and BUILD (the Windows build folder holding morvane.scr and saver_probe.exe).

SCREEN_SAVERS='HKCU\Software\Microsoft\Windows\CurrentVersion\Screen Savers'
OWN_KEY='HKCU\Software\Zu\Keldric Saver'

fail() { echo "  FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "  ok: $*"; }
check() {  # check DESCRIPTION COMMAND...: ok when the command succeeds
  local what=$1; shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

# start_saver ARGS...: runs the saver in the background; its exit code lands in $saver_status_file.
start_saver() {
  saver_status_file=$(mktemp -p "$BUILD" saver-status.XXXX)
  saver_pid_file=$saver_status_file.pid
  (wine "$BUILD/morvane.scr" "$@" >/dev/null 2>&1 & echo $! >"$saver_pid_file"; wait $!; echo $? >"$saver_status_file") &
  saver_job=$!
}

# saver_exit_within SECONDS: prints the saver's exit code once it has ended, or "running".
saver_exit_within() {
  local deadline=$((SECONDS + $1))
  while [ $SECONDS -lt $deadline ]; do
    if [ -s "$saver_status_file" ]; then wait "$saver_job" 2>/dev/null; cat "$saver_status_file"; return; fi
    sleep 0.2
  done
  echo running
}

# stop_saver: ends a saver a test left running (a failed test), so that the next one starts clean.
stop_saver() {
  if [ ! -s "$saver_status_file" ]; then
    [ -s "$saver_pid_file" ] && kill "$(cat "$saver_pid_file")" 2>/dev/null
    wait "$saver_job" 2>/dev/null
  fi
  rm -f "$saver_status_file" "$saver_pid_file"
}

# x_window NAME [SECONDS]: the X id of the first window titled NAME, waiting for it to appear.
x_window() {
  local deadline=$((SECONDS + ${2:-30})) id
  while [ $SECONDS -lt $deadline ]; do
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}

# Lit pixels (any channel above about 0.5 %) in a screenshot, and the pixels in which two differ.
lit_pixels() { convert "$1" -colorspace Gray -threshold 0.5% -format '%[fx:round(mean*w*h)]' info:; }
changed_pixels() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1; }

# screenshot FILE [GEOMETRY]: the root window, or the WxH+X+Y part of it.
screenshot() {
  if [ -n "${2:-}" ]; then import -window root -crop "$2" +repage "$1"; else import -window root "$1"; fi
}

# shows_animation DIR [GEOMETRY]: true when within a few seconds a shot has lit pixels and a later
# one differs from it, that is, frames are being drawn and presented.
shows_animation() {
  local first="" shot n
  for n in $(seq 1 20); do
    shot="$1/frame-$n.png"
    screenshot "$shot" "${2:-}"
    if [ -z "$first" ]; then
      [ "$(lit_pixels "$shot")" -gt 200 ] && first=$shot
    elif [ "$(changed_pixels "$first" "$shot")" -gt 100 ]; then
      return 0
    fi
    sleep 0.5
  done
  return 1
}

reg_dword() {  # reg_dword KEY NAME: the stored number in hex (0x...), or nothing when absent
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v name="$2" '
    { line = $0; sub(/^ +/, "", line) }
    index(line, name) == 1 { n = split(line, f, /[ \t]+/); print f[n-1] " " f[n] }'
}
reg_set_dword() { wine reg add "$1" /v "$2" /t REG_DWORD /d "$3" /f >/dev/null 2>&1; }
reg_delete_key() { wine reg delete "$1" /f >/dev/null 2>&1 || true; }
