#!/usr/bin/env bash
# The dot-size box: its tooltip, clamping of what is typed, the size of the dots,
# and keys typed into it launching nothing.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "$0")/lib.sh"

start_xvfb
start_pelmiro

BOX_CLICK_X=$((BOX_X + BOX_W / 2 - 5)) # on the text, away from the arrows
BOX_CLICK_Y=$((BOX_Y + BOX_H / 2))
ARROWS_X=$((BOX_X + BOX_W - 9))
# Regions as W H X Y in the window: the corner around the dot at the origin, and
# everything below it, where rockets rise.
CORNER=(60 60 0 0)
BELOW_CORNER=("$CLIENT_W" $((CLIENT_H - 60)) 0 60)

wait_for 5 'GREEN_N == 1' || fail "expected only the green dot at the origin at the start: $(counts)"

# The box is drawn the same once the pointer is away and the screen settles.
# box_crop NAME: saves the box region as NAME.png once two shots in a row agree.
box_crop() {
  wait_until 5 box_settled "$1" || fail "the dot-size box never stopped changing"
}

box_settled() {
  shot box-a
  crop box-a "$1" "$BOX_W" "$BOX_H" "$BOX_X" "$BOX_Y"
  sleep 0.25
  shot box-b
  crop box-b "$1-again" "$BOX_W" "$BOX_H" "$BOX_X" "$BOX_Y"
  same_pixels "$1" "$1-again"
}

# enter_size TEXT: types TEXT over the box's contents and commits it with Return.
enter_size() {
  click_at "$BOX_CLICK_X" "$BOX_CLICK_Y" 1
  press_key ctrl+a
  xdotool type --delay 50 "$1"
  press_key Return
  park_pointer
}

# Pixels outside the client area: black unless a tooltip shows there.
outside_pixels() {
  local below right
  count_colours "$1" "$SCREEN_W" $((SCREEN_H - CLIENT_H)) $((-WIN_X)) "$CLIENT_H"
  below=$((GREEN_N + ORANGE_N + YELLOW_N + OTHER_N))
  count_colours "$1" $((SCREEN_W - CLIENT_W)) "$CLIENT_H" "$CLIENT_W" 0
  right=$((GREEN_N + ORANGE_N + YELLOW_N + OTHER_N))
  OUTSIDE_N=$((below + right))
}

tooltip_shown() {
  shot tooltip
  outside_pixels tooltip
  ((OUTSIDE_N > 100))
}

tooltip_gone() {
  shot tooltip-gone
  outside_pixels tooltip-gone
  ((OUTSIDE_N == 0))
}

visible_windows() {
  xdotool search --onlyvisible --name '' 2>/dev/null | sort
}

# Tooltip
shot before-hover
outside_pixels before-hover
((OUTSIDE_N == 0)) || fail "the screen outside the window is not black before hovering"
windows_before=$(visible_windows)
move_pointer "$BOX_CLICK_X" "$BOX_CLICK_Y"
wait_until 10 tooltip_shown || fail "no tooltip showed within 10 s of hovering over the dot-size box"
new_windows=$(comm -13 <(echo "$windows_before") <(visible_windows) | wc -l)
[ "$new_windows" -eq 1 ] || fail "expected the tooltip to be one new window, found $new_windows new windows"
pass "hovering over the dot-size box shows a tooltip ($OUTSIDE_N pixels beside the window)"
park_pointer
wait_until 10 tooltip_gone || fail "the tooltip stayed after the pointer left the box"
pass "the tooltip goes away when the pointer leaves"

box_crop box-1

# Clamping: 150 shows and draws as 100. The dot at the origin becomes a quarter of
# a disc 100 px across: about pi * 50^2 / 4 = 1963 pixels, where a 150 px dot would
# fill the whole 60x60 corner. Nothing has been launched yet, so no spark covers it.
enter_size 150
wait_for 5 'GREEN_N >= 1865 && GREEN_N <= 2062' "${CORNER[@]}" ||
  fail "after entering 150 the dot at the origin is not 100 px across: $(counts) in the 60x60 corner"
pass "entering 150 makes dots 100 px across ($GREEN_N green pixels in the corner)"
box_crop box-150
enter_size 100
wait_for 5 'GREEN_N >= 1865 && GREEN_N <= 2062' "${CORNER[@]}" ||
  fail "after entering 100 the dot at the origin is not 100 px across: $(counts) in the 60x60 corner"
box_crop box-100
same_pixels box-1 box-100 && fail "the box looks the same showing 100 as showing 1"
same_pixels box-150 box-100 || fail "after entering 150 the box does not show the same as after entering 100"
pass "150 is clamped to 100 in the box"

enter_size 1
wait_for 5 'GREEN_N == 1' || fail "entering 1 did not bring the dots back to one pixel: $(counts)"
box_crop box-1-last
same_pixels box-1 box-1-last || fail "the box does not show 1 after entering 1"
pass "entering 1 brings the dots back to one pixel"

# Keys typed into the box edit it and launch nothing; Return commits them and gives
# the keys back to the window. Rockets start at the bottom and burst far below the
# dot at the origin, so anything coloured below the top-left corner is a launch.
LAUNCHED='GREEN_N > 0 || ORANGE_N > 0 || YELLOW_N > 0'
QUIET='GREEN_N == 0 && ORANGE_N == 0 && YELLOW_N == 0'

click_at "$BOX_CLICK_X" "$BOX_CLICK_Y" 1
press_key ctrl+a
xdotool type --delay 50 12
park_pointer
holds_for 1.2 "$QUIET" "${BELOW_CORNER[@]}" || fail "digits typed into the box launched a rocket: $(counts)"
count_colours poll "${CORNER[@]}"
((GREEN_N == 1)) || fail "the dot size changed before Return: $(counts) in the corner"
pass "digits typed into the box launch nothing"
press_key Return
# A dot 12 px across centred on the origin: a quarter of it, about 28 pixels, shows.
wait_for 5 'GREEN_N >= 20 && GREEN_N <= 40' "${CORNER[@]}" ||
  fail "typing 12 and Return in the box did not make the dots 12 px across: $(counts) in the corner"
pass "typing 12 and Return in the box makes the dots 12 px across"
holds_for 1.2 "$QUIET" "${BELOW_CORNER[@]}" || fail "Return in the box launched a rocket: $(counts)"
box_crop box-12
press_key 2
wait_for 5 "$LAUNCHED" "${BELOW_CORNER[@]}" || fail "after Return in the box, key 2 launched nothing: $(counts)"
box_crop box-12-after-launch
same_pixels box-12 box-12-after-launch || fail "key 2 after Return went into the box"
pass "after Return the digit keys launch again"

# Escape, the arrows and a click on the field, judged by how much of the dot at the
# origin shows in the corner: 12 px across now.
shot size-12
count_colours size-12 "${CORNER[@]}"
size_12=$GREEN_N
click_at "$BOX_CLICK_X" "$BOX_CLICK_Y" 1
press_key ctrl+a
xdotool type --delay 50 40
press_key Escape
park_pointer
holds_for 1.2 "GREEN_N == $size_12" "${CORNER[@]}" || fail "Escape committed what was typed: $(counts) in the corner"
box_crop box-escape
same_pixels box-12 box-escape || fail "after Escape the box does not show 12 again"
pass "Escape in the box drops what was typed"

# The Up and Down keys and the arrows step by one, up to bigger dots. Each is used
# twice, between 14 and 12, and judged against those sizes entered: a dot of odd size
# is centred on the corner pixel and may show more of itself than a bigger one.
enter_size 14
wait_for 5 "GREEN_N > $size_12" "${CORNER[@]}" || fail "entering 14 did not make the dots bigger: $(counts)"
declare -A size_pixels=([12]=$size_12 [14]=$GREEN_N)
# A click, Return and a click at once: the second click, a double-click to the window
# system, still hands the keys to the box.
click_at "$BOX_CLICK_X" "$BOX_CLICK_Y" 1 key Return click 1
for row in 'the Down key:Down:12' 'the Up key:Up:14' "the down arrow:$ARROWS_X $((BOX_Y + BOX_H * 3 / 4)):12" \
  "the up arrow:$ARROWS_X $((BOX_Y + BOX_H / 4)):14"; do
  IFS=: read -r what how size <<<"$row"
  read -r -a at <<<"$how"
  if [ ${#at[@]} -eq 2 ]; then
    click_at "${at[@]}" --repeat 2 --delay 700 1 # no double-click
  else
    xdotool key --delay 100 "$how" "$how"
  fi
  wait_for 5 "GREEN_N == ${size_pixels[$size]}" "${CORNER[@]}" ||
    fail "$what twice did not make the dots $size px across: $(counts) in the corner"
  pass "$what steps the dot size by one the right way"
done

# A click on the field commits what was typed and hands the keys back to the window.
click_at "$BOX_CLICK_X" "$BOX_CLICK_Y" 1
press_key ctrl+a
xdotool type --delay 50 40
click_at 250 200 1
park_pointer
# A quarter of a dot 40 px across: about pi * 20^2 / 4 = 314 pixels.
wait_for 5 'GREEN_N >= 280 && GREEN_N <= 350' "${CORNER[@]}" ||
  fail "a click on the field did not commit the 40 typed into the box: $(counts) in the corner"
wait_for 20 "$QUIET" "${BELOW_CORNER[@]}" || fail "the click's rocket never went: $(counts)"
press_key 3
wait_for 5 "$LAUNCHED" "${BELOW_CORNER[@]}" || fail "after a click on the field, key 3 launched nothing"
pass "a click on the field commits the box and hands the keys back"

close_pelmiro
