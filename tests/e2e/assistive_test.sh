#!/usr/bin/env bash
# What a screen reader reads of the window over AT-SPI, in a D-Bus session of the test's own
# with the accessibility bus on: a frame holding the fireworks and the box, named in English,
# Japanese and Arabic; the box's value and range; what the window tells as focus and value
# change, and that nothing else holds the focus meanwhile.
# shellcheck source-path=SCRIPTDIR source=lib.sh
[ -n "${E2E_OWN_SESSION:-}" ] || exec dbus-run-session -- env E2E_OWN_SESSION=1 bash "$0" "$@"
source "$(dirname "$0")/lib.sh"
PYTHON=/usr/bin/python3 # Debian's, which has pyatspi
AT_SPI=$E2E_DIR/at_spi.py
trap 'status=$?; set +e; kill ${LISTENER_PID:-} ${BUS_PID:-} 2>/dev/null; (exit "$status"); cleanup' EXIT

bus_on() {
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
    org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:IsEnabled variant:boolean:true \
    >/dev/null 2>&1
}
# tree_is LANGUAGE VALUE: the window's tree as read, in $WORK/tree, is the expected one.
tree_is() {
  "$PYTHON" "$AT_SPI" tree >"$WORK/tree" 2>&1 && [ "$(cat "$WORK/tree")" = "$(expected_tree "$@")" ]
}
expected_tree() {
  printf '%s\n' 'frame "Pelmiro" ""' "  image \"$(words "$1" FieldName)\" \"\"" \
    "  spin button \"$(words "$1" BoxName)\" \"$BOX_TOOL_TIP\" $2 [1, 100]"
}
# told_in_order LINE...: these events, and no others of theirs, were told in this order.
told_in_order() {
  [ "$(grep -xF "${@/#/-e}" "$WORK/events" | uniq)" = "$(printf '%s\n' "$@")" ]
}

start_xvfb
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$WORK/bus.log" 2>&1 &
BUS_PID=$!
wait_until 10 bus_on || fail "could not turn the accessibility bus on (see $WORK/bus.log)"
"$PYTHON" "$AT_SPI" events >"$WORK/events" 2>&1 &
LISTENER_PID=$!
wait_until 10 grep -qx listening "$WORK/events" || fail "the AT-SPI listener did not start"

start_pelmiro
wait_until 10 tree_is en 1 || fail "the tree reads, not as expected:"$'\n'"$(cat "$WORK/tree")"
pass "in English: a frame \"Pelmiro\" with the image of the fireworks and the spin button, 1 in [1, 100]"
press_key Tab
xdotool type 150
press_key Return
field="focus: image \"$(words en FieldName)\" \"\""
box="spin button \"$(words en BoxName)\" \"$BOX_TOOL_TIP\""
wait_until 10 told_in_order "$field" "focus: $box 1 [1, 100]" \
  "object:property-change:accessible-value $box 100 [1, 100]" "$field" ||
  fail "Tab, 150 and Return told, not as expected:"$'\n'"$(cat "$WORK/events")"
# The box's text is the box's: no other part, such as its line edit, tells of itself.
! grep -vF -e " image \"$(words en FieldName)\"" -e " $box " -e ' frame "Pelmiro"' -e listening \
  "$WORK/events" ||
  fail "something besides the frame, the fireworks and the box told of itself"
pass "the box's focus, its clamped value 100 after Return, and the fireworks' focus after it are told"
close_pelmiro

for locale in ja_JP ar_EG; do
  E2E_LOCALE=$locale.UTF-8 start_pelmiro
  wait_until 10 tree_is "${locale%_*}" 1 ||
    fail "in $locale the tree reads, not as expected:"$'\n'"$(cat "$WORK/tree")"
  pass "in $locale: the fireworks and the box are named in its language; the description stays"
  close_pelmiro
done
