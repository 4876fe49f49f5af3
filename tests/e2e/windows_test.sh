#!/usr/bin/env bash
# What only the Windows program has, under Wine: drawing at 150 % DPI, Alt+digit and
# Alt+F4, the tick rate, and the installer: a silent install, the installed program, a
# silent uninstall.
#   windows_test.sh BUILD-DIR PATH-TO-CLOSE-WINDOW-HELPER PATH-TO-FRAME-TIMES-HELPER
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "$0")/lib.sh" "$1/pelmiro.exe" "$2"
SETUP=$1/pelmiro-setup.exe
FRAME_TIMES=${3:?usage: $0 BUILD-DIR PATH-TO-CLOSE-WINDOW PATH-TO-FRAME-TIMES}
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelmiro'

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
  ((low >= 442)) || fail "no first rocket showed in the picture's lower third (lowest row $low)"
  pass "at 144 dpi the first rocket rises straight up columns 610-611 from row $low; the corner dot at (0, 0)"
}

# The window ticks every 99 ms. Launches keep every frame different; the X server's
# times of the frames give the typical gap between two, which a loaded machine
# stretches now and then but rarely makes shorter.
check_tick_rate() {
  local key gap
  for key in 2 3 4 5 6 7 8 9; do
    press_key "$key"
  done
  gap=$("$FRAME_TIMES" "$WID" 3000 | awk 'NR > 1 && $1 - t > 4 { print $1 - t } { t = $1 }' |
    sort -n | awk '{ g[NR] = $1 } END { print g[int((NR + 1) / 2)] + 0 }')
  ((gap >= 70 && gap <= 140)) || fail "the window ticks every $gap ms, not every 99"
  pass "the window ticks every $gap ms"
}
# ---

start_xvfb
use_wine_prefix
"$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
read -r CLIENT_W CLIENT_H BOX_Y BOX_W BOX_H <<<"750 663 624 104 38"
start_pelmiro
size=$(xwininfo -id "$WID" | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w "x" h }')
[ "$size" = 750x663 ] || fail "at 144 dpi the client area is $size, expected 750x663"
pass "at 144 dpi the client area is 750x663"
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
read -r CLIENT_W CLIENT_H BOX_Y BOX_W BOX_H <<<"500 442 416 69 25"
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
