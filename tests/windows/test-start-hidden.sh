# A launcher may start /s with a show command of its own (STARTF_USESHOWWINDOW). Started hidden, the
# saver loses the activation as its window is hidden, and ends by itself with exit code 0, as at any
# loss of activation; started shown, it runs on.
hidden=$(wine "$BUILD/saver_probe.exe" start "$(winepath -w "$BUILD/morvane.scr")" 0 10000 | tr -d '\r')
check "started with SW_HIDE it ends by itself with exit code 0 ($hidden)" test "$hidden" = exit=0
shown=$(wine "$BUILD/saver_probe.exe" start "$(winepath -w "$BUILD/morvane.scr")" 1 6000 | tr -d '\r')
check "started with SW_SHOWNORMAL it keeps running ($shown)" test "$shown" = exit=running
