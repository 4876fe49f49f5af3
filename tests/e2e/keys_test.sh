#!/usr/bin/env bash
# Which keys launch: the main-row digits by their place on the keyboard, nothing else.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "$0")/lib.sh"

start_xvfb
start_pelmiro

# A rocket is drawn from its second frame on, so a launch shows within a few
# frames; early in a run rockets climb for seconds before they burst.
wait_for 5 'GREEN_N == 1' || fail "expected only the green dot at the origin at the start: $(counts)"

press_key 1
wait_for 5 'GREEN_N == 2 && ORANGE_N == 0 && YELLOW_N == 0' ||
  fail "key 1 did not add one rising rocket: $(counts)"
# Every host draws the same random sequence: the first rocket rises at x = 407.4 px.
column=$(convert "$WORK/poll.png" -crop "$(window_geometry "$CLIENT_W" $((CLIENT_H - 1)) 0 1)" \
  +repage txt:- | awk -F'[,:]' -v green="$GREEN" '!found && index($0, green) { print $1; found = 1 }')
[ "$column" = 407 ] || fail "the first rocket rose at x = $column px, not at 407 as on every host"
pass "key 1 launches a rocket, at x = 407 px"
# The second launch rises at x = 67.7 px, left of the first, which may burst meanwhile.
second_rocket_shows() {
  shot poll
  [ "$(green_column poll)" = 67 ]
}
press_key 3
wait_until 5 second_rocket_shows || fail "key 3 did not launch a second rocket, at x = 67 px"
pass "key 3 launches a second rocket, at x = 67 px"

# Wait until both have burst; only the dot at the origin stays green.
wait_for 20 'GREEN_N == 1' || fail "the rockets never burst: $(counts)"

# Keys that must launch nothing. A launch would add a green pixel for the best
# part of a second at least, and its sparks after that.
for key in KP_2 0 a z space; do
  press_key "$key"
  holds_for 1.2 'GREEN_N == 1' || fail "key $key launched a rocket: $(counts)"
  pass "key $key launches nothing"
done

# The same physical key launches on a French keyboard, where it types "&". By now
# a rocket may burst within a few frames, so its sparks count as well; wait for
# the earlier sparks to fall out first.
wait_for 20 'ORANGE_N == 0 && YELLOW_N == 0' || fail "the sparks never fell out of the window: $(counts)"
setxkbmap fr
layout=$(setxkbmap -query | awk '$1 == "layout:" { print $2 }')
[ "$layout" = fr ] || fail "could not switch the keyboard to French (layout is '$layout')"
press_key ampersand
wait_for 5 'GREEN_N > 1 || ORANGE_N > 0 || YELLOW_N > 0' ||
  fail "'&' (the key of 1 on a French keyboard) launched nothing: $(counts)"
pass "the key of 1 launches with a French layout too"

close_pelmiro
