#!/usr/bin/env bash
# Full screen and back, under a window manager: F11 makes the client area the whole
# screen, a bigger sky where rockets launch across its width and burst near a quarter of
# its height, with the box in its bottom-left corner and a resting pointer hidden. F11,
# or Escape while the keys are with the fireworks, brings back the fixed window at its
# old place.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "$0")/lib.sh"

NORMAL_BOX_Y=$BOX_Y
# Every host draws the same random sequence: the first rocket rises at this share of the
# width, the second at this one.
FIRST_X=0.814723670
SECOND_X=0.135476947
# A held key repeats once, half a second after its press, and not again for a minute: so
# a held F11 sends its press and one auto-repeat, however busy the machine.
XVFB_OPTIONS=(-ardelay 500 -arinterval 60000)
start_xvfb
start_wm
start_pelmiro

[ "$(client_size)" = "${CLIENT_W}x$CLIENT_H" ] || fail "the window opened at $(client_size)"
NORMAL_X=$WIN_X
NORMAL_Y=$WIN_Y

# enter_full_screen KEY [XDOTOOL-COMMANDS...]: the key, or the commands when given, make
# the client area the whole screen, at its origin.
enter_full_screen() {
  if [ $# -gt 1 ]; then
    xdotool "${@:2}"
  else
    press_key "$1"
  fi
  wait_until 5 client_is "${SCREEN_W}x$SCREEN_H" ||
    fail "$1 did not make the client area the ${SCREEN_W}x$SCREEN_H screen: $(client_size)"
  window_place
  [ "$WIN_X,$WIN_Y" = 0,0 ] || fail "in full screen the client area starts at $WIN_X,$WIN_Y"
  CLIENT_W=$SCREEN_W
  CLIENT_H=$SCREEN_H
  BOX_Y=$((NORMAL_BOX_Y + SCREEN_H - NORMAL_H))
  pass "$1 makes the client area the whole ${SCREEN_W}x$SCREEN_H screen"
}

# leave_full_screen KEY: the key brings back the fixed window where it was.
leave_full_screen() {
  press_key "$1"
  wait_until 5 client_is "${NORMAL_W}x$NORMAL_H" ||
    fail "$1 did not bring back the ${NORMAL_W}x$NORMAL_H window: $(client_size)"
  window_place
  [ "$WIN_X,$WIN_Y" = "$NORMAL_X,$NORMAL_Y" ] ||
    fail "the window came back at $WIN_X,$WIN_Y, not at $NORMAL_X,$NORMAL_Y"
  fixed_size_asked || fail "after full screen the window is no longer fixed: $(xprop -id "$WID" WM_NORMAL_HINTS)"
  CLIENT_W=$NORMAL_W
  CLIENT_H=$NORMAL_H
  BOX_Y=$NORMAL_BOX_Y
  pass "$1 brings back the fixed ${NORMAL_W}x$NORMAL_H window at its old place"
}

# launch_at KEY SHARE: KEY launches one rocket, rising at SHARE of the client's width.
launch_at() {
  launch "$1"
  local expected
  expected=$(awk -v r="$2" -v w="$CLIENT_W" 'BEGIN { print int(r * w) }')
  [ "$LAUNCH_COLUMN" = "$expected" ] ||
    fail "key $1 launched at x = '$LAUNCH_COLUMN' px, not at $2 x $CLIENT_W = $expected"
}

# Escape in the normal window changes nothing; had it gone the way out of full screen, the
# window would come back from full screen without its frame or elsewhere.
press_key Escape
enter_full_screen F11

# The box moved with the bottom edge; nothing is left at its old place once the grown
# window is painted (until then the X server may show anything there).
box_moved() {
  window_painted && [ "$(pixel first-paint 20 $((NORMAL_BOX_Y + BOX_H / 2)))" = '#000000' ]
}
wait_until 5 box_moved ||
  fail "the box is not in the bottom-left corner of the screen alone, nothing left where it was"
pass "the box sits in the bottom-left corner of the screen"

# The sky is the screen: the first rocket rises at 0.8147 of its width, and bursts near
# a quarter of its height. Sparks rise at most 33 px above where their rocket burst.
wait_for 5 'GREEN_N == 1' || fail "expected only the green dot at the origin: $(counts)"
launch_at 1 "$FIRST_X"
pass "key 1 launches across the whole width: x = $LAUNCH_COLUMN px"
# Sparks fall out within seconds. A rocket still climbing in the launch's last shot
# bursts on the live screen, so watch that at once; one gone by then burst within the
# shots, so look for its sparks there.
burst=
count_colours "launch-$SHOTS"
if ((GREEN_N == 2)); then
  wait_for 20 'ORANGE_N > 0 && YELLOW_N > 0' || fail "no sparks within 20 s of a launch: $(counts)"
  burst=poll
else
  for ((i = 1; i <= SHOTS; ++i)); do
    count_colours "launch-$i"
    if ((ORANGE_N > 0 && YELLOW_N > 0)); then
      burst=launch-$i
      break
    fi
  done
  [ -n "$burst" ] || fail "the rocket was gone by the launch's last shot, and no shot shows sparks"
fi
count_colours "$burst"
sparks=$(counts)
count_colours "$burst" "$CLIENT_W" $((SCREEN_H / 4 - 45)) 0 0
((ORANGE_N == 0 && YELLOW_N == 0)) || fail "sparks far above a quarter of the height: $(counts) of $sparks"
pass "the rocket bursts near a quarter of the screen's height ($sparks)"

# A resting pointer hides after two seconds; a move shows it at once, for a while.
wait_until 3 pointer_hidden || fail "the pointer still shows after resting in full screen"
pass "a resting pointer hides in full screen"
xdotool mousemove $((SCREEN_W / 2)) $((SCREEN_H / 2))
wait_until 1 pointer_shown || fail "the pointer stays hidden when it moves"
sleep 1 # what must not happen has no state to wait for: a second is well short of two
pointer_shown || fail "the pointer hid again within a second of moving"
wait_until 3 pointer_hidden || fail "the pointer did not hide again after it rested"
pass "a move shows the pointer, which hides again two seconds after it rests"

leave_full_screen Escape
wait_until 5 window_painted || fail "the box is not back at its place after full screen"

# Back in the small sky: the second rocket rises at its share of the normal width.
wait_for 20 'ORANGE_N == 0 && YELLOW_N == 0 && GREEN_N == 1' || fail "the sky did not clear: $(counts)"
launch_at 2 "$SECOND_X"
pass "after full screen rockets launch across the normal sky again: x = $LAUNCH_COLUMN px"
move_pointer 250 200
sleep 2.5 # past the two seconds after which a resting pointer hides in full screen
pointer_shown || fail "the pointer hid outside full screen"
pass "outside full screen the pointer stays"

# F11 held past its auto-repeat toggles once.
enter_full_screen "a held F11" keydown F11 sleep 1.5 keyup F11
# Minimised and back, the window is still full screen, also once it has had a tick to
# change its mind.
map_state_is() {
  xwininfo -id "$WID" | grep -q "Map State: $1"
}
xdotool windowminimize "$WID"
wait_until 5 map_state_is IsUnMapped || fail "the full-screen window was not minimised"
wmctrl -i -a "$WID"
wait_until 5 map_state_is IsViewable || fail "the minimised window did not come back"
wait_until 5 window_painted || fail "the window came back without its box in the corner"
client_is "${SCREEN_W}x$SCREEN_H" || fail "after a minimise the full-screen window came back at $(client_size)"
pass "a minimised full-screen window comes back full screen"
leave_full_screen F11

close_pelmiro
