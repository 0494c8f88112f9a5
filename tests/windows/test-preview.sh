# Preview: a host window of another process hands its handle to "/p"; the saver draws in a child
# window of class "OpenGL" inside it, and ends with exit code 0 when the host destroys its window.
# Wine 8 does not show the GL content of a child window whose top-level window belongs to another
# process (the child's device context has no X drawable), so the frames are counted from Wine's own
# trace of the presentation calls instead of being read back from the screen.
report=$(mktemp -p "$BUILD" preview.XXXX)
trace=$(mktemp -p "$BUILD" preview-trace.XXXX)
WINEDEBUG=-all,+wgl wine "$BUILD/saver_probe.exe" preview "$(winepath -w "$BUILD/morvane.scr")" 4000 \
  >"$report" 2>"$trace" &
probe=$!
deadline=$((SECONDS + 40))
while [ $SECONDS -lt $deadline ] && ! grep -q '^child\.rect=\|^child=none' "$report"; do sleep 0.2; done
report_text=$(tr -d '\r' <"$report")
check "a child window of class OpenGL appears in the host's window" grep -qx 'child.class=OpenGL' <<<"$report_text"
check "the child window is a visible child ($(grep '^child.style=' <<<"$report_text"))" \
  grep -qx 'child.style=0x5.......' <<<"$report_text"
# The host's window is 320 x 240 at (100, 100); the child fills it from its top-left corner.
check "the child window fills the host's window" grep -qx 'child.rect=100,100,420,340' <<<"$report_text"
wait $probe
probe_status=$?
presented=$(grep -c 'wglSwapBuffers' "$trace")
check "frames are presented in the child window (got $presented in 4 s)" test "$presented" -ge 10
report_text=$(tr -d '\r' <"$report")
check "the saver ends with exit code 0 when the host's window is destroyed" grep -qx 'saver.exit=0' <<<"$report_text"
check "the host saw everything it expected" test "$probe_status" = 0
rm -f "$report" "$trace"
