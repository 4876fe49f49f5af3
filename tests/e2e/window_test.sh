#!/usr/bin/env bash
# The window itself: title, fixed client size, the first frame, a burst, and a
# clean exit when the window is closed.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "$0")/lib.sh"

start_xvfb
start_pelmiro

# Title and size
title=$(xdotool getwindowname "$WID")
[ "$title" = Pelmiro ] || fail "window title is '$title', expected 'Pelmiro'"
pass "window title is Pelmiro"

fixed=${CLIENT_W}x$CLIENT_H
[ "$(client_size)" = "$fixed" ] || fail "client area is $(client_size), expected $fixed"
pass "client area is $fixed"
fixed_size_asked || fail "the window does not ask for a fixed size of $fixed: $(xprop -id "$WID" WM_NORMAL_HINTS)"
pass "the window asks for a fixed size"

# Before any launch every rocket sits at the origin: one green pixel there.
wait_for 5 'GREEN_N > 0' || true
cp "$WORK/poll.png" "$WORK/start.png"
origin=$(pixel start 0 0)
[ "$origin" = "$GREEN" ] || fail "pixel (0,0) is $origin before any launch, expected $GREEN"
count_colours start
((GREEN_N == 1 && ORANGE_N == 0 && YELLOW_N == 0 && OTHER_N == 0)) ||
  fail "before any launch expected one green pixel and black elsewhere, got $(counts)"
pass "before any launch the only coloured pixel is the green one at (0,0)"

# A rocket bursts into orange and yellow sparks near a quarter of the height.
press_key 1
wait_for 5 'GREEN_N == 2' || fail "key 1 launched no rocket: $(counts)"
wait_for 15 'ORANGE_N > 0 && YELLOW_N > 0' ||
  fail "no orange and yellow sparks within 15 s of a launch: $(counts)"
burst=$(counts)
cp "$WORK/poll.png" "$WORK/burst.png"
count_colours burst "$CLIENT_W" 100 0 $((CLIENT_H / 4 - 50)) # the band around a quarter of the height
((ORANGE_N > 0 && YELLOW_N > 0)) || fail "the first sparks are not near a quarter of the height: $burst"
pass "the rocket burst into orange and yellow sparks ($burst)"
# Each ring has 25 sparks, the last on top of the first. In the first frames they
# still overlap, and after a second or two some fly out of the window: shots taken back
# to back and counted afterwards catch the rings in between, however slow the machine.
rapid_shots rings 5
for ((i = 1; i <= SHOTS; ++i)); do
  count_colours "rings-$i"
  ((ORANGE_N >= 20 && YELLOW_N >= 20)) && break
done
((ORANGE_N >= 20 && YELLOW_N >= 20)) || fail "the rings of sparks never filled out in $SHOTS shots"
((ORANGE_N <= 25 && YELLOW_N <= 25)) || fail "more sparks than one burst makes: $(counts)"
pass "a burst makes a ring of orange and a ring of yellow sparks ($(counts))"
((GREEN_N == 1)) || fail "the rocket still shows after its burst: $(counts)"
pass "the rocket is gone after its burst"
wait_for 20 'ORANGE_N == 0 && YELLOW_N == 0' || fail "the sparks never fell out of the window: $(counts)"
pass "the sparks fall out of the window"
pelmiro_alive || fail "Pelmiro died"

close_pelmiro
