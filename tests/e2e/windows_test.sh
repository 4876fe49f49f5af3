#!/usr/bin/env bash
# What only the Windows program has, under Wine: drawing at 150 % DPI, Alt+digit and
# Alt+F4, the tick rate, the installer: a silent install, the installed program, a silent
# uninstall, and full screen and maximise: a DPI change in full screen, the maximise button;
# and what a screen reader reads over MSAA, in English, Japanese and Arabic.
#   windows_test.sh BUILD-DIR PATH-TO-CLOSE-WINDOW-HELPER PATH-TO-FRAME-TIMES-HELPER
#                   PATH-TO-DPI-CHANGED-HELPER PATH-TO-MSAA-TREE-HELPER
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "$0")/lib.sh" "$1/pelmiro.exe" "$2"
SETUP=$1/pelmiro-setup.exe
FRAME_TIMES=${3:?usage: $0 BUILD-DIR PATH-TO-CLOSE-WINDOW PATH-TO-FRAME-TIMES}
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelmiro'
HIGH_DPI=144
read -r NORMAL_BOX_Y NORMAL_BOX_W NORMAL_BOX_H <<<"$BOX_Y $BOX_W $BOX_H"

# at_dpi DPI: the window's client area and box in device pixels at DPI dots per inch.
at_dpi() {
  CLIENT_W=$(scaled "$NORMAL_W" "$1") CLIENT_H=$(scaled "$NORMAL_H" "$1")
  BOX_Y=$(scaled "$NORMAL_BOX_Y" "$1") BOX_W=$(scaled "$NORMAL_BOX_W" "$1")
  BOX_H=$(scaled "$NORMAL_BOX_H" "$1")
}

# --- Where the picture lands at 144 dpi, and how fast it ticks.
# The first rocket rises at x = 407.4 px on every host: 611.1 device px at 150 %, a dot
# 2 px square over columns 610 and 611, half of it below the picture at launch.
# Screenshots of its rise, taken at once and read afterwards, show it in a straight
# line from the bottom up; a sheared or cropped picture puts it elsewhere or never
# shows its lower rows.
capture_rise() {
  local i
  for i in 0 1 2 3 4 5 6 7; do
    sleep 0.05 # spread over the rise however fast the machine
    xwd -silent -id "$WID" -out "$WORK/rise-$i.xwd"
  done
}

check_rise() {
  local i left right top bottom corner low=0
  for i in 0 1 2 3 4 5 6 7; do
    # The bounds of the green, the corner's pixel apart, and whether that pixel is green.
    read -r left right top bottom corner < <(convert "xwd:$WORK/rise-$i.xwd" -fill black \
      +opaque "$GREEN" -transparent black sparse-color:- | tr ' ' '\n' |
      awk -F, '$1 == 0 && $2 == 0 { c = 1; next } !n++ { l = r = $1; t = b = $2 }
        { l = $1 < l ? $1 : l; r = $1 > r ? $1 : r; t = $2 < t ? $2 : t; b = $2 > b ? $2 : b }
        END { print l + 0, r + 0, t + 0, b + 0, c + 0 }')
    ((corner)) || fail "the corner dot is not at (0, 0) in shot $i"
    ((left || right)) || continue
    ((left == 610 && right == 611 && (bottom - top == 1 || top == CLIENT_H - 1))) ||
      fail "the first rocket is not a 2x2 dot over columns 610-611 in shot $i: x $left-$right, y $top-$bottom"
    ((bottom > low)) && low=$bottom
  done
  ((low >= CLIENT_H * 2 / 3)) || fail "no first rocket showed in the picture's lower third (lowest row $low)"
  pass "at 144 dpi the first rocket rises straight up columns 610-611 from row $low; the corner dot at (0, 0)"
}

# The window ticks every TIMER_MS ms. Launches keep every frame different; the X server's
# times of the frames give the typical gap between two, which a loaded machine
# stretches now and then but rarely makes shorter.
check_tick_rate() {
  local key gap
  for key in 2 3 4 5 6 7 8 9; do
    press_key "$key"
  done
  gap=$("$FRAME_TIMES" "$WID" 3000 | awk 'NR > 1 && $1 - t > 4 { print $1 - t } { t = $1 }' |
    sort -n | awk '{ g[NR] = $1 } END { print g[int((NR + 1) / 2)] + 0 }')
  ((gap >= TIMER_MS * 7 / 10 && gap <= TIMER_MS * 14 / 10)) ||
    fail "the window ticks every $gap ms, not every $TIMER_MS"
  pass "the window ticks every $gap ms"
}
# ---

start_xvfb
use_wine_prefix
"$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $HIGH_DPI /f >/dev/null
at_dpi $HIGH_DPI
start_pelmiro
high=${CLIENT_W}x$CLIENT_H
[ "$(client_size)" = "$high" ] || fail "at $HIGH_DPI dpi the client area is $(client_size), expected $high"
pass "at $HIGH_DPI dpi the client area is $high"
# A 1-pixel dot is 2 device pixels across at 150 %: of the corner dot, one pixel shows.
wait_for 5 'GREEN_N == 1' || fail "expected only the corner's green pixel at the start: $(counts)"
press_key alt+1 # Alt+digit launches as the digit does
capture_rise
check_rise
check_tick_rate
close_pelmiro alt+F4
"$WINE" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null

"$WINE" "$SETUP" /S || fail "the silent install failed"
drive=$WINEPREFIX/drive_c
installed=("$drive/Program Files/Pelmiro/pelmiro.exe" "$drive/Program Files/Pelmiro/uninstall.exe"
  "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Pelmiro.lnk")
for file in "${installed[@]}"; do
  [ -s "$file" ] || fail "the installer did not write $file"
done
entry=$("$WINE" reg query "$UNINSTALL_KEY" | tr -d '\r')
for value in 'DisplayName.*Pelmiro$' 'DisplayVersion.*1\.0\.0$' 'Publisher.*Pelmiro developers' \
  'DisplayIcon.*pelmiro\.exe,0$' 'UninstallString.*uninstall\.exe"$' \
  'QuietUninstallString.*uninstall\.exe" /S$' 'EstimatedSize.*REG_DWORD.*0x[1-9a-f]'; do
  grep -q "$value" <<<"$entry" || fail "the uninstall entry lacks $value: $entry"
done
pass "/S installs the program, its Start-menu shortcut and its uninstall entry"

PELMIRO=${installed[0]}
at_dpi 96
start_pelmiro
wait_for 5 'GREEN_N == 1' || fail "the installed program draws no green dot: $(counts)"
pass "the installed program runs"
close_pelmiro

uninstalled() {
  for file in "${installed[@]}" "$drive/Program Files/Pelmiro"; do
    [ ! -e "$file" ] || return 1
  done
  ! "$WINE" reg query "$UNINSTALL_KEY" >/dev/null 2>&1
}
quiet=$(sed -n 's/.*QuietUninstallString *REG_SZ *//p' <<<"$entry")
eval "\"\$WINE\" $quiet" || fail "the silent uninstall failed to start"
# The uninstaller runs on from a copy of itself and returns at once.
wait_until 30 uninstalled || fail "the uninstaller left files, the shortcut or the registry entry"
pass "the silent uninstall removes every file, the shortcut and the registry entry"

# ---- Full screen and maximise ----
PELMIRO=$1/pelmiro.exe
DPI_CHANGED=${4:?usage: $0 BUILD-DIR CLOSE-WINDOW FRAME-TIMES DPI-CHANGED}

# Size and place of Pelmiro's X window: its client area when no window manager runs.
x_geometry() {
  xwininfo -id "$WID" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
    /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w "x" h "+" x "+" y }'
}
geometry_is() {
  [ "$(x_geometry)" = "$1" ]
}
# The box reaches its right edge at the new DPI, past the width it has at 96.
box_widened() {
  shot box
  [ "$(pixel box $((BOX_W - 10)) $((BOX_Y + BOX_H / 2)))" != '#000000' ]
}

# A move to a 150 % monitor: in the normal window the client area takes the fixed size at
# the new DPI, where it is, with a box as much wider. In full screen the window stays on
# the whole monitor rather than taking the suggested rectangle (the screen scaled by 1.5),
# the box takes its 150 % size in the bottom-left corner, and dots are drawn at device
# resolution.
at_dpi 96
start_pelmiro
windowed=$(x_geometry)
"$WINE" "$DPI_CHANGED" 0 || fail "could not send WM_DPICHANGED"
geometry_is "$windowed" || fail "a DPI change with no DPI gave the window $(x_geometry)"
wait_until 5 window_painted || fail "the window no longer draws after a DPI change with no DPI"
pass "a DPI change with no DPI leaves the window as it was"
"$WINE" "$DPI_CHANGED" $HIGH_DPI || fail "could not send WM_DPICHANGED"
at_dpi $HIGH_DPI
wait_until 5 geometry_is "${CLIENT_W}x$CLIENT_H+${windowed#*+}" ||
  fail "a DPI change to $HIGH_DPI gave the normal window $(x_geometry), not ${CLIENT_W}x$CLIENT_H where it was"
wait_until 5 box_widened || fail "the box did not grow to $BOX_W px wide with the DPI"
pass "a DPI change to $HIGH_DPI gives the normal window ${CLIENT_W}x$CLIENT_H where it was, and a box $BOX_W px wide"
press_key F11
wait_until 5 geometry_is "${SCREEN_W}x${SCREEN_H}+0+0" || fail "F11 did not fill the screen: $(x_geometry)"
"$WINE" "$DPI_CHANGED" $HIGH_DPI || fail "could not send WM_DPICHANGED"
# The box's place in the screen's logical pixels, rounded up as the program counts them.
BOX_Y=$(scaled $(((SCREEN_H * 96 + HIGH_DPI - 1) / HIGH_DPI - BOX_BOTTOM_GAP - NORMAL_BOX_H)) $HIGH_DPI)
read -r CLIENT_W CLIENT_H WIN_X WIN_Y <<<"$SCREEN_W $SCREEN_H 0 0"
wait_until 5 window_painted || fail "no box $BOX_H px high at the bottom-left after the DPI change"
geometry_is "${SCREEN_W}x${SCREEN_H}+0+0" || fail "a DPI change took the window out of full screen: $(x_geometry)"
box_widened || fail "the box did not grow to $BOX_W px wide with the DPI"
pass "a DPI change in full screen keeps the window on the monitor, the box in its corner"
# The first "1" launches at 0.8148 of the 683 logical pixels across: 2 x 2 device pixels
# near x = 834.
press_key 1
wait_for 5 'GREEN_N == 4' 40 "$SCREEN_H" 815 0 ||
  fail "no 2x2 rocket near x = 834 after the DPI change: $(counts)"
pass "after the DPI change, rockets launch across the new logical width, at device resolution"
press_key F11
at_dpi $HIGH_DPI
wait_until 5 geometry_is "${CLIENT_W}x$CLIENT_H+${windowed#*+}" ||
  fail "leaving full screen gave $(x_geometry), expected $high at the old place (${windowed#*+})"
pass "leaving full screen after it gives the fixed client area at the new DPI, at the old place"
close_pelmiro

# Wine gives an X window manager no maximise for a window without a sizing border, but in
# a Wine desktop it draws the caption itself and its system menu maximises the window.
PELMIRO_ERR=$WORK/desktop.err
"$WINE" explorer /desktop=pelmiro,"${SCREEN_W}x${SCREEN_H}" "$PELMIRO" >"$WORK/desktop.out" 2>"$PELMIRO_ERR" &
PELMIRO_PID=$!
wait_until 30 find_window_once || fail "no Pelmiro window in the Wine desktop"
# The X window holds the frame: the client area lies inside its border and caption.
frame=$(x_geometry)
read -r frame_w frame_h frame_x frame_y < <(tr 'x+' '  ' <<<"$frame")
at_dpi 96
border=$(((frame_w - CLIENT_W) / 2))
caption=$((frame_h - CLIENT_H - border))
WIN_X=$((frame_x + border)) WIN_Y=$((frame_y + caption))
wait_until 30 window_painted || fail "the window in the Wine desktop was never painted"
xdotool mousemove $((WIN_X + CLIENT_W / 2)) $((frame_y + caption / 2)) click 1 # activates it
# system_menu KEY: picks KEY (x maximises, r restores) from the window's own menu.
# The menu, grey where the fireworks have only black and their own colours, takes the next
# key only once it shows over the client's corner.
system_menu() {
  press_key alt+space
  wait_for 5 'OTHER_N > 1000' 120 120 0 0 || fail "Alt+Space showed no window menu"
  press_key "$1"
}
system_menu x
maximised() {
  read -r frame_w frame_h frame_x frame_y < <(x_geometry | tr 'x+' '  ')
  [ "$((frame_w - 2 * border))" -eq "$SCREEN_W" ] && [ "$((frame_y + frame_h - border))" -eq "$SCREEN_H" ]
}
wait_until 5 maximised || fail "Alt+Space, x did not fill the desktop below the caption: $(x_geometry)"
CLIENT_W=$SCREEN_W CLIENT_H=$((frame_h - caption - border)) WIN_X=0 WIN_Y=$((frame_y + caption))
BOX_Y=$((CLIENT_H - BOX_BOTTOM_GAP - BOX_H))
wait_until 5 window_painted || fail "the box is not in the bottom-left corner of the maximised window"
press_key 1
wait_for 5 'GREEN_N >= 1' 20 "$CLIENT_H" 824 0 || fail "the first 1 did not launch near x = 834: $(counts)"
pass "maximising fills the work area; the box follows the bottom edge; rockets span the width"
system_menu r
wait_until 5 geometry_is "$frame" ||
  fail "restoring gave the frame $(x_geometry), not the fixed client area"
pass "restoring gives back the fixed client area"

# Full screen from maximised goes back to maximised; a move to a 150 % monitor keeps the
# window maximised with the box at its new size, and restoring then gives the fixed client
# area at that DPI.
system_menu x
wait_until 5 maximised || fail "Alt+Space, x did not maximise the window again: $(x_geometry)"
press_key F11
wait_until 5 geometry_is "${SCREEN_W}x${SCREEN_H}+0+0" || fail "F11 from maximised gave $(x_geometry)"
press_key F11
wait_until 5 maximised || fail "leaving full screen did not maximise the window again: $(x_geometry)"
pass "full screen from maximised goes back to a maximised window"
"$WINE" explorer /desktop=pelmiro "$DPI_CHANGED" $HIGH_DPI || fail "could not send WM_DPICHANGED"
BOX_W=$(scaled "$NORMAL_BOX_W" $HIGH_DPI) BOX_H=$(scaled "$NORMAL_BOX_H" $HIGH_DPI)
BOX_Y=$((CLIENT_H - BOX_H))
wait_until 5 box_widened || fail "no ${BOX_W}x$BOX_H box in the bottom-left corner after the DPI change"
maximised || fail "a DPI change took the window out of maximised: $(x_geometry)"
system_menu r
at_dpi $HIGH_DPI
wait_until 5 geometry_is "$((CLIENT_W + 2 * border))x$((CLIENT_H + caption + border))+${frame#*+}" ||
  fail "restoring after the DPI change gave the frame $(x_geometry), not $high inside it"
pass "a DPI change keeps the window maximised; restoring gives the fixed client area at the new DPI"
close_pelmiro alt+F4

# ---- What a screen reader reads, from a process of its own ----
MSAA_TREE=${5:?usage: $0 BUILD-DIR CLOSE-WINDOW FRAME-TIMES DPI-CHANGED MSAA-TREE}
GRAPHIC=40 TEXT=42 SPIN_BUTTON=52 # ROLE_SYSTEM_*
# msaa_is LANGUAGE VALUE: the fireworks, then the box's arrows and its edit box, all named in
# LANGUAGE, the box's two parts with the box's value and its tooltip as their description.
msaa_is() {
  "$WINE" "$MSAA_TREE" >"$WORK/msaa" 2>&1 || return 1
  local box
  box=$(words "$1" BoxName)
  [ "$(cat "$WORK/msaa")" = "$(printf '%s\t%s\t%s\t%s\n' "$GRAPHIC" "$(words "$1" FieldName)" '' '' \
    "$SPIN_BUTTON" "$box" "$2" "$BOX_TOOL_TIP" "$TEXT" "$box" "$2" "$BOX_TOOL_TIP")" ]
}
at_dpi 96
start_pelmiro
wait_until 10 msaa_is en 1 || fail "over MSAA the window reads, not as expected:"$'\n'"$(cat "$WORK/msaa")"
pass "over MSAA: the fireworks as a graphic, the box as text and spin button named Dot size, value 1"
press_key Tab
xdotool type 150
press_key Return
wait_until 10 msaa_is en 100 || fail "after 150 and Return the box reads:"$'\n'"$(cat "$WORK/msaa")"
pass "after 150 and Return both parts of the box read the clamped value 100"
close_pelmiro
for locale in ja_JP ar_EG; do
  E2E_LOCALE=$locale.UTF-8 start_pelmiro
  wait_until 10 msaa_is "${locale%_*}" 1 || fail "in $locale the window reads:"$'\n'"$(cat "$WORK/msaa")"
  pass "in a $locale session the fireworks and the box are named in its language"
  close_pelmiro
done
