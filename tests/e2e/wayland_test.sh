#!/usr/bin/env bash
# Pelmiro on Qt's wayland platform under a headless sway: a native Wayland window
# with its app id and size, frames drawn, and a key on the seat launching a rocket.
# sway refuses to run as root, so the compositor and Pelmiro run as a user this
# test creates and removes. Screenshots come from grim instead of the X server.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "$0")/lib.sh"

if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: only root can create the user sway needs"
  exit 77
fi

USER_PREFIX=pelmiro-wl-
WL_USER=$USER_PREFIX$$
SWAY_PID=
KEYBOARD_PID=
# Users left by a run that was killed outright: named after a process that is gone.
for stale in $(getent passwd | cut -d: -f1 | grep "^${USER_PREFIX}[0-9]*\$"); do
  kill -0 "${stale#"$USER_PREFIX"}" 2>/dev/null || userdel "$stale" 2>/dev/null || true
done

finish() {
  local status=$?
  set +e
  for pid in $PELMIRO_PID $KEYBOARD_PID $SWAY_PID; do
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  PELMIRO_PID=
  if id "$WL_USER" >/dev/null 2>&1; then userdel "$WL_USER"; fi
  (exit "$status")
  cleanup
}
trap finish EXIT

useradd --system --user-group --no-create-home --shell /usr/sbin/nologin "$WL_USER"
HOME_DIR=$WORK/home
chmod 711 "$WORK"
install -d -o "$WL_USER" -g "$WL_USER" -m 700 "$HOME_DIR" "$HOME_DIR/run"
# The build tree may be out of that user's reach.
install -o "$WL_USER" -m 755 "$PELMIRO" "$HOME_DIR/pelmiro"
printf '%s\n' 'xwayland disable' 'default_border none' 'default_floating_border none' >"$HOME_DIR/config"

AS_USER=(env -i PATH=/usr/bin:/bin HOME="$HOME_DIR" XDG_RUNTIME_DIR="$HOME_DIR/run" LC_ALL=C.UTF-8
  setpriv --reuid="$WL_USER" --regid="$WL_USER" --init-groups --)
"${AS_USER[@]}" env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  sway -c "$HOME_DIR/config" >"$WORK/sway.log" 2>&1 &
SWAY_PID=$!

WL_DISPLAY=
SWAYSOCK=
sway_ready() {
  WL_DISPLAY=$(find "$HOME_DIR/run" -maxdepth 1 -type s -name 'wayland-*' -printf '%f\n' | head -n 1)
  SWAYSOCK=$(find "$HOME_DIR/run" -maxdepth 1 -type s -name 'sway-ipc.*' | head -n 1)
  [ -n "$WL_DISPLAY" ] && [ -n "$SWAYSOCK" ] && as_user swaymsg -t get_version >/dev/null 2>&1
}
as_user() {
  "${AS_USER[@]}" env WAYLAND_DISPLAY="$WL_DISPLAY" SWAYSOCK="$SWAYSOCK" "$@"
}
shot() {
  as_user grim -t png - >"$WORK/$1.png"
}
wait_until 20 sway_ready || fail "headless sway did not start: $(tail -n 5 "$WORK/sway.log")"

# A keyboard on the seat all along, as on a real one. Without it the seat gains and
# loses one with every short-lived wtype, and keys can go before Pelmiro has bound it.
"${AS_USER[@]}" env WAYLAND_DISPLAY="$WL_DISPLAY" wtype -s 600000 &
KEYBOARD_PID=$!
seat_has_keyboard() {
  as_user swaymsg -t get_inputs | jq -e 'any(.[]; .type == "keyboard")' >/dev/null
}
wait_until 10 seat_has_keyboard || fail "no keyboard on the seat"

PELMIRO_ERR=$WORK/pelmiro.err
"${AS_USER[@]}" env WAYLAND_DISPLAY="$WL_DISPLAY" QT_QPA_PLATFORM=wayland \
  ${ASAN_OPTIONS:+ASAN_OPTIONS="$ASAN_OPTIONS"} ${UBSAN_OPTIONS:+UBSAN_OPTIONS="$UBSAN_OPTIONS"} \
  ${LSAN_OPTIONS:+LSAN_OPTIONS="$LSAN_OPTIONS"} "$HOME_DIR/pelmiro" >"$WORK/pelmiro.out" 2>"$PELMIRO_ERR" &
PELMIRO_PID=$!

NODE=
window_mapped() {
  NODE=$(as_user swaymsg -t get_tree | jq -c --argjson pid "$PELMIRO_PID" \
    'first(.. | objects | select(.pid? == $pid and .visible == true))')
  [ -n "$NODE" ]
}
window_gone() { ! window_mapped; }
wait_until 30 window_mapped || fail "Pelmiro's window never mapped: $(head -c 2000 "$PELMIRO_ERR")"
read -r shell app_id size WIN_X WIN_Y < <(jq -r '[.shell, .app_id,
  "\(.window_rect.width)x\(.window_rect.height)", .rect.x + .window_rect.x,
  .rect.y + .window_rect.y] | @tsv' <<<"$NODE")
[ "$shell" = xdg_shell ] || fail "the window came through '$shell', not as a native Wayland window"
[ "$app_id" = org.pelmiro.Pelmiro ] || fail "the app id is '$app_id'"
[ "$size" = "${CLIENT_W}x$CLIENT_H" ] || fail "the content is $size"
pass "a native Wayland window (xdg_shell), app id org.pelmiro.Pelmiro, content $size"

wait_for 10 'GREEN_N == 1' || fail "expected the one green dot of a fresh start: $(counts)"
[ "$(pixel poll 0 0)" = "$GREEN" ] || fail "the green dot is not at the top left"
pass "frames are drawn: the green dot sits at the top left"

# wtype sends no physical key codes: it uploads a keymap of its own and numbers the
# keys it is asked for 1, 2, 3 ... (evdev codes; XKB adds 8) in order of first use.
# On a real keyboard code 1 is Esc and code 2 the main-row "1", the position Pelmiro
# reads. So "wtype 1" presses the Esc position, which must launch nothing, while
# "wtype -k Escape -k 1" presses Esc and then the real "1" position.
as_user wtype 1
holds_for 1 'GREEN_N == 1' || fail "a '1' typed on the Esc key launched a rocket: $(counts)"
as_user wtype -k Escape -k 1
wait_for 5 'GREEN_N > 1 || ORANGE_N > 0 || YELLOW_N > 0' ||
  fail "the main-row 1 key launched nothing: $(counts)"
pass "the main-row 1 key on the seat launches a rocket; '1' on another key does not"

# F11 asks the compositor for full screen: the content becomes the output; Escape
# brings back the fixed size.
content_is() {
  window_mapped && [ "$(jq -r '"\(.window_rect.width)x\(.window_rect.height)"' <<<"$NODE")" = "$1" ]
}
output=$(as_user swaymsg -t get_outputs | jq -r 'first(.[] | select(.active)) | "\(.rect.width)x\(.rect.height)"')
as_user wtype -k F11
wait_until 5 content_is "$output" || fail "F11 did not make the content the $output output: $NODE"
# sway sizes the full-screen container whatever the window draws: the box must show in
# the output's bottom-left corner.
box_in_corner() {
  shot full
  [ "$(WIN_X=0 WIN_Y=0 pixel full $((BOX_X + 20)) $((${output#*x} - CLIENT_H + BOX_Y + BOX_H / 2)))" != '#000000' ]
}
wait_until 5 box_in_corner || fail "in full screen the box is not in the output's bottom-left corner"
as_user wtype -k Escape
wait_until 5 content_is "${CLIENT_W}x$CLIENT_H" || fail "Escape did not bring back ${CLIENT_W}x$CLIENT_H: $NODE"
pass "F11 makes the content the whole $output output, the box in its bottom-left corner; Escape brings back ${CLIENT_W}x$CLIENT_H"

as_user swaymsg "[pid=$PELMIRO_PID] kill" >/dev/null
wait_until 10 window_gone || fail "Pelmiro kept its window when sway closed it"
wait_until 10 pelmiro_exited || fail "Pelmiro did not exit within 10 s of sway closing its window"
status=0
wait "$PELMIRO_PID" || status=$?
PELMIRO_PID=
[ "$status" -eq 0 ] || fail "Pelmiro exited with status $status: $(head -c 4000 "$PELMIRO_ERR")"
pass "Pelmiro closes its window and exits with status 0 when sway closes it"
check_quiet_stderr
