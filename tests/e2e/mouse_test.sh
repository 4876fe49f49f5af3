#!/usr/bin/env bash
# Mouse buttons on the black area: each press launches one rocket, a double-click one only.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "$0")/lib.sh"

start_xvfb
start_pelmiro

wait_for 5 'GREEN_N == 1' || fail "expected only the green dot at the origin at the start: $(counts)"

# Early in a run rockets climb for seconds, so the three stay in the air together.
expected=1
for button in 1:left 3:right 2:middle; do
  expected=$((expected + 1))
  click_at 250 200 "${button%%:*}"
  wait_for 5 "GREEN_N == $expected && ORANGE_N == 0 && YELLOW_N == 0" ||
    fail "a ${button#*:} click did not launch one more rocket: $(counts)"
  pass "a ${button#*:} click launches a rocket"
done
park_pointer

wait_for 20 'GREEN_N == 1' || fail "the rockets never burst: $(counts)"

# A second rocket from the second press would rise beside the first for well
# over a second.
click_at 250 200 --repeat 2 --delay 80 1
park_pointer
wait_for 5 'GREEN_N == 2' || fail "a double-click launched nothing: $(counts)"
holds_for 1.5 'GREEN_N <= 2' || fail "a double-click launched more than one rocket: $(counts)"
pass "a double-click launches exactly one rocket"

close_pelmiro
