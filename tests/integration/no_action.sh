#!/usr/bin/env bash
# Switches that name no mode (/x, //, a lone -, /?, a space after the slash) end at once with exit
# code 0, say nothing and open no window.
source "$(dirname "$0")/lib.sh"
need "$MORVANE" "$XTESTHOST" Xvfb
own_display 640x480
fresh_settings

launch watch "$XTESTHOST" watch
for _ in $(seq 100); do
  grep -q ready "$TEST_TMP/watch.out" && break
  sleep 0.02
done
grep -q ready "$TEST_TMP/watch.out" || fail "the window watch did not start"

for words in "/x" "//" "-" "/?" "/ s" "-x 5"; do
  # shellcheck disable=SC2086 # the words are the command line
  launch run "$MORVANE" $words
  expect_exit "$LAUNCHED" 2 "$words"
  [ ! -s "$TEST_TMP/run.err" ] && [ ! -s "$TEST_TMP/run.out" ] || fail "$words printed something"
done
sleep 0.2
! grep -q create "$TEST_TMP/watch.out" || fail "a window was created: $(grep create "$TEST_TMP/watch.out")"
note "/x, //, -, /?, '/ s' and -x end at once with exit code 0 and no window"
