# The portable core's unit tests, built for Windows, under Wine.
if [ -f "$BUILD/unit_tests.exe" ]; then
  if output=$(wine "$BUILD/unit_tests.exe" --gtest_brief=1 2>&1); then
    pass "unit tests: $(grep -o '[0-9]* tests\? from [0-9]* test suites\? ran' <<<"$output" | head -n1)"
  else
    echo "$output" | tail -n 30
    fail "unit tests under Wine"
  fi
else
  fail "unit_tests.exe was not built"
fi
