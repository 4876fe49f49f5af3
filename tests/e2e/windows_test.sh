#!/usr/bin/env bash
# What only the Windows program has, under Wine: drawing at 150 % DPI, Alt+digit and
# Alt+F4, and the installer: a silent install, the installed program, a silent uninstall.
#   windows_test.sh BUILD-DIR PATH-TO-CLOSE-WINDOW-HELPER
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "$0")/lib.sh" "$1/pelmiro.exe" "$2"
SETUP=$1/pelmiro-setup.exe
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelmiro'

start_xvfb
use_wine_prefix
"$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
read -r CLIENT_W CLIENT_H BOX_Y BOX_W BOX_H <<<"750 663 624 104 38"
start_pelmiro
size=$(xwininfo -id "$WID" | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w "x" h }')
[ "$size" = 750x663 ] || fail "at 144 dpi the client area is $size, expected 750x663"
pass "at 144 dpi the client area is 750x663"
# A 1-pixel dot is 2 device pixels across at 150 %: 4 green pixels for a rising rocket
# beside the corner dot's one visible pixel.
wait_for 5 'GREEN_N == 1' || fail "expected only the corner's green pixel at the start: $(counts)"
press_key 1
wait_for 5 'GREEN_N == 5' || fail "key 1 did not add a rocket of 2x2 device pixels: $(counts)"
pass "a rocket is drawn at device resolution"
press_key alt+1
wait_for 5 'GREEN_N == 9' || fail "Alt+1 launched no rocket: $(counts)"
pass "Alt+1 launches a rocket"
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
