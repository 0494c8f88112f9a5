# Requests that open no window: each ends by itself, at once, with exit code 0.
# /p without a number and /p naming no window both fail to create the preview window quietly.
for args in "/x" "/a 0" "//s" "/p" "/p 12345678"; do
  start_saver $args
  status=$(saver_exit_within 30)
  check "morvane.scr $args ends with exit code 0 (got $status)" test "$status" = 0
  stop_saver
done
