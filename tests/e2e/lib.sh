# shellcheck shell=bash
# Shared by the end-to-end tests: a private Xvfb, Pelmiro in it, screenshots,
# pixel counts, bounded waits and a cleanup that leaves no process behind.
#
# A test script sources this file with the arguments it was given:
#   PATH-TO-PELMIRO PATH-TO-CLOSE-WINDOW-HELPER
# A PELMIRO ending in .exe is the Windows program: it runs under Wine, in a prefix of
# the test's own, copied from PELMIRO_WINE_PREFIX when that names a ready one.
# Screenshots and logs are kept when a test fails, or always with E2E_KEEP=1.
set -euo pipefail

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
PELMIRO=${1:?usage: $0 PATH-TO-PELMIRO PATH-TO-CLOSE-WINDOW}
CLOSE_WINDOW=${2:?usage: $0 PATH-TO-PELMIRO PATH-TO-CLOSE-WINDOW}
[ -x "$PELMIRO" ] || {
  echo "not an executable: $PELMIRO" >&2
  exit 1
}

# What the build tree the helpers lie in knows: the window's layout (CLIENT_W, CLIENT_H,
# BOX_X, BOX_Y, BOX_W, BOX_H, BOX_BOTTOM_GAP, TIMER_MS) and every language's words.
BUILD_TREE=$(cd "$(dirname "$CLOSE_WINDOW")/../.." && pwd)
# shellcheck source=/dev/null
source "$BUILD_TREE/hostkit/layout.env"
WORDS=$BUILD_TREE/po/words.json

# The screen is bigger than the window so a tooltip can show beside it. Sizes are in
# device pixels: a test at another DPI scales them (scaled) before it starts Pelmiro.
SCREEN_W=1024
SCREEN_H=768
NORMAL_W=$CLIENT_W
NORMAL_H=$CLIENT_H

# scaled PIXELS DPI: logical pixels in device pixels at DPI dots per inch, as Windows rounds.
scaled() {
  echo $((($1 * $2 + 48) / 96))
}

GREEN='#00FF00'
ORANGE='#FF7D00'
YELLOW='#FFFA00'

# Straight to the 64-bit loader: the wine wrapper warns about the missing 32-bit half.
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

# Tells whether the pointer is hidden; built beside the close helper.
POINTER_HIDDEN=$(dirname "$CLOSE_WINDOW")/e2e_pointer_hidden

XVFB_OPTIONS=() # a test's own settings of the X server, set before start_xvfb

WORK=$(mktemp -d "${TMPDIR:-/tmp}/pelmiro-e2e.XXXXXX")
XVFB_PID=
WM_PID=
PELMIRO_PID=
PELMIRO_RUNS=0
WID=
WIN_X=0
WIN_Y=0

# LeakSanitizer: what third-party libraries keep until exit is not Pelmiro's leak.
# The list of suppressions used would count as output on stderr.
if [[ ${LSAN_OPTIONS:-} != *suppressions=* ]]; then
  export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$E2E_DIR/lsan.supp:print_suppressions=0"
fi

cleanup() {
  local status=$?
  trap - EXIT INT TERM
  if [ -n "$PELMIRO_PID" ]; then
    kill -KILL "$PELMIRO_PID" 2>/dev/null || true
    wait "$PELMIRO_PID" 2>/dev/null || true
  fi
  if [ -n "${WINEPREFIX:-}" ]; then
    "$WINESERVER" -k 2>/dev/null || true
  fi
  if [ -n "$WM_PID" ]; then
    kill -TERM "$WM_PID" 2>/dev/null || true
    wait "$WM_PID" 2>/dev/null || true
  fi
  if [ -n "$XVFB_PID" ]; then
    kill -TERM "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
  if [ "$status" -eq 0 ] && [ "${E2E_KEEP:-0}" != 1 ]; then
    rm -rf "$WORK"
  else
    echo "Screenshots and logs kept in $WORK" >&2
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

fail() {
  local ms=$(($(now_ms) - SCRIPT_START_MS))
  printf 'FAIL (%d.%d s): %s\n' $((ms / 1000)) $((ms % 1000 / 100)) "$*" >&2
  exit 1
}

now_ms() {
  local t=${EPOCHREALTIME/[.,]/}
  echo $((t / 1000))
}

SCRIPT_START_MS=$(now_ms)

# Each line tells how far into the script it passed: rockets move faster the
# longer Pelmiro runs, so timing matters when a check fails on a slow machine.
pass() {
  local ms=$(($(now_ms) - SCRIPT_START_MS))
  printf 'ok (%d.%d s): %s\n' $((ms / 1000)) $((ms % 1000 / 100)) "$*"
}

# to_ms SECONDS: "1.25" -> 1250
to_ms() {
  local whole=${1%.*} frac=
  [[ $1 == *.* ]] && frac=${1#*.}
  frac=${frac}000
  echo $((10#${whole:-0} * 1000 + 10#${frac:0:3}))
}

# wait_until SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds; fails
# (returns 1) once SECONDS have passed.
wait_until() {
  local deadline=$(($(now_ms) + $(to_ms "$1")))
  shift
  until "$@"; do
    [ "$(now_ms)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

start_xvfb() {
  local cookie
  cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
  export XAUTHORITY=$WORK/Xauthority
  # The server takes every cookie in the file, whatever display it names; the
  # display number is known only once the server runs.
  xauth -q -f "$XAUTHORITY" add :0 MIT-MAGIC-COOKIE-1 "$cookie" 2>/dev/null
  Xvfb -displayfd 3 -auth "$XAUTHORITY" -screen 0 "${SCREEN_W}x${SCREEN_H}x24" \
    -nolisten tcp -br -noreset "${XVFB_OPTIONS[@]}" 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  wait_until 20 grep -q '^[0-9]' "$WORK/display" || fail "Xvfb did not start (see $WORK/xvfb.log)"
  DISPLAY=:$(head -n 1 "$WORK/display")
  export DISPLAY
  xauth -q -f "$XAUTHORITY" add "$DISPLAY" MIT-MAGIC-COOKIE-1 "$cookie"
  wait_until 10 xdpyinfo >/dev/null 2>&1 || fail "cannot connect to Xvfb at $DISPLAY"
  unset WAYLAND_DISPLAY
}

# A window manager in the test's display, for what Xvfb alone cannot do: full screen,
# maximise, minimise. Its settings and cache stay in the test's folder.
start_wm() {
  XDG_CONFIG_HOME=$WORK/config XDG_CACHE_HOME=$WORK/cache openbox --sm-disable \
    >"$WORK/openbox.log" 2>&1 &
  WM_PID=$!
  wait_until 10 wmctrl -m >/dev/null 2>&1 || fail "openbox did not start (see $WORK/openbox.log)"
}

# Sets WIN_X and WIN_Y: where the window's client area is on the screen. xdotool counts a
# window manager's frame twice; xwininfo does not.
window_place() {
  read -r WIN_X WIN_Y < <(xwininfo -id "$WID" |
    awk '/Absolute upper-left X:/ { x = $NF } /Absolute upper-left Y:/ { y = $NF } END { print x, y }')
}

# Prints the client area's size as WxH.
client_size() {
  xwininfo -id "$WID" | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w "x" h }'
}

client_is() {
  [ "$(client_size)" = "$1" ]
}

# Whether the window asks the window manager for its fixed normal size.
fixed_size_asked() {
  local hints
  hints=$(xprop -id "$WID" WM_NORMAL_HINTS)
  grep -q "minimum size: $NORMAL_W by $NORMAL_H" <<<"$hints" &&
    grep -q "maximum size: $NORMAL_W by $NORMAL_H" <<<"$hints"
}

# Succeeds when the pointer shows no visible pixel.
pointer_hidden() {
  local status=0
  "$POINTER_HIDDEN" || status=$?
  [ "$status" -le 1 ] || fail "could not ask the X server about the pointer"
  return "$status"
}

pointer_shown() {
  ! pointer_hidden
}

# Looks for Pelmiro's visible top-level window; sets WID.
find_window_once() {
  local ids
  ids=$(xdotool search --onlyvisible --name '^Pelmiro$' 2>/dev/null) || return 1
  [ "$(wc -w <<<"$ids")" -eq 1 ] || return 1
  WID=$ids
}

# words LANGUAGE NAME: what the programs say under NAME in LANGUAGE, as po/LINGUAS names it.
words() {
  jq -r --arg language "$1" --arg name "$2" '.[] | select(.language == $language)[$name]' "$WORDS"
}

windows_build() {
  [[ $PELMIRO == *.exe ]]
}

# The test's own Wine prefix, made on first use.
use_wine_prefix() {
  if [ -z "${WINEPREFIX:-}" ]; then
    export WINEPREFIX=$WORK/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    if [ -n "${PELMIRO_WINE_PREFIX:-}" ]; then
      # A copy, but for the 700 MB of system files that Wine only reads: those are linked.
      local system=drive_c/windows/system32
      mkdir -p "$WINEPREFIX"
      tar -C "$PELMIRO_WINE_PREFIX" --exclude="./$system" -cf - . | tar -C "$WINEPREFIX" -xf -
      # Links need one file system; where the test's folder is on another, such as a
      # tmpfs /tmp, what the failed link made goes before the copy.
      cp -al "$PELMIRO_WINE_PREFIX/$system" "$WINEPREFIX/$system" 2>/dev/null || {
        rm -rf "${WINEPREFIX:?}/$system"
        cp -a "$PELMIRO_WINE_PREFIX/$system" "$WINEPREFIX/$system"
      }
      [ -f "$WINEPREFIX/$system/kernel32.dll" ] || fail "the copied Wine prefix has no kernel32.dll"
    else
      bash "$E2E_DIR/wine_prefix.sh" "$WINEPREFIX" || fail "could not make a Wine prefix"
    fi
  fi
}

# Starts Pelmiro, waits for its window to be painted (the dot-size box shows) and
# gives the window the keyboard focus. It runs in the locale E2E_LOCALE names, if any.
start_pelmiro() {
  PELMIRO_RUNS=$((PELMIRO_RUNS + 1))
  PELMIRO_ERR=$WORK/pelmiro-$PELMIRO_RUNS.err
  mkdir -p "$WORK/xdg"
  chmod 700 "$WORK/xdg"
  if windows_build; then
    use_wine_prefix
    env ${E2E_LOCALE:+LC_ALL="$E2E_LOCALE"} "$WINE" "$PELMIRO" >"$WORK/pelmiro-$PELMIRO_RUNS.out" \
      2>"$PELMIRO_ERR" &
  else
    env -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS -u QT_ENABLE_HIGHDPI_SCALING \
      -u QT_STYLE_OVERRIDE -u QT_QPA_PLATFORMTHEME -u QT_LOGGING_RULES \
      QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$WORK/xdg" LC_ALL="${E2E_LOCALE:-C.UTF-8}" \
      "$PELMIRO" >"$WORK/pelmiro-$PELMIRO_RUNS.out" 2>"$PELMIRO_ERR" &
  fi
  PELMIRO_PID=$!
  local started
  started=$(now_ms)
  wait_until 30 find_window_once || fail "no visible window named Pelmiro appeared"
  window_place
  wait_until 30 window_painted || fail "the window was never painted"
  timeout 15 xdotool windowfocus --sync "$WID" || fail "could not give the window the keyboard focus"
  # Keep the pointer off the window until a test moves it.
  park_pointer
  echo "Pelmiro (pid $PELMIRO_PID) is up after $(($(now_ms) - started)) ms"
}

window_painted() {
  shot first-paint
  [ "$(pixel first-paint $((BOX_X + 20)) $((BOX_Y + BOX_H / 2)))" != '#000000' ]
}

park_pointer() {
  xdotool mousemove $((SCREEN_W - 1)) $((SCREEN_H - 1))
}

pelmiro_alive() {
  kill -0 "$PELMIRO_PID" 2>/dev/null
}

# close_pelmiro [KEY]: closes the window as a window manager would, or with a key
# such as alt+F4, and checks that Pelmiro exits with status 0 and wrote nothing to stderr.
close_pelmiro() {
  pelmiro_alive || fail "Pelmiro died before it was closed"
  if [ $# -gt 0 ]; then
    press_key "$1"
  else
    "$CLOSE_WINDOW" "$WID" || fail "could not send WM_DELETE_WINDOW"
  fi
  wait_until 30 pelmiro_exited || fail "Pelmiro did not exit within 30 s of its window being closed"
  local status=0
  wait "$PELMIRO_PID" || status=$?
  PELMIRO_PID=
  [ "$status" -eq 0 ] || fail "Pelmiro exited with status $status after its window was closed: $(head -c 4000 "$PELMIRO_ERR")"
  pass "Pelmiro exits with status 0 when its window is closed${1:+ with $1}"
  check_quiet_stderr
}

pelmiro_exited() {
  ! pelmiro_alive || [[ $(ps -o stat= -p "$PELMIRO_PID" 2>/dev/null) == Z* ]]
}

check_quiet_stderr() {
  if [ -s "$PELMIRO_ERR" ]; then
    echo "--- Pelmiro's stderr:" >&2
    head -c 4000 "$PELMIRO_ERR" >&2
    fail "Pelmiro wrote to stderr (Qt warnings or worse)"
  fi
  pass "Pelmiro wrote nothing to stderr"
}

# shot NAME: screenshot of the whole screen into $WORK/NAME.png
shot() {
  import -silent -window root "$WORK/$1.png"
}

# window_geometry [W H X Y]: crop geometry relative to the window (default: all of it)
window_geometry() {
  local w=${1:-$CLIENT_W} h=${2:-$CLIENT_H} x=${3:-0} y=${4:-0}
  echo "${w}x${h}+$((WIN_X + x))+$((WIN_Y + y))"
}

# pixel NAME X Y: colour (#RRGGBB) of one pixel of the window in screenshot NAME
pixel() {
  convert "$WORK/$1.png" -crop "$(window_geometry 1 1 "$2" "$3")" +repage -alpha off -depth 8 \
    -format '#%[hex:u.p{0,0}]' info:
}

# count_colours NAME [W H X Y]: sets GREEN_N, ORANGE_N, YELLOW_N and OTHER_N (pixels
# neither black nor one of those three) in a region of the window in screenshot NAME.
# The dot-size box is painted black first: its own pixels are not fireworks.
count_colours() {
  local name=$1
  shift
  local counts
  counts=$(convert "$WORK/$name.png" \
    -fill black -draw "rectangle $((WIN_X + BOX_X)),$((WIN_Y + BOX_Y)) $((WIN_X + BOX_X + BOX_W - 1)),$((WIN_Y + BOX_Y + BOX_H - 1))" \
    -crop "$(window_geometry "$@")" +repage -alpha off -depth 8 -format %c histogram:info:- |
    awk -v g="$GREEN" -v o="$ORANGE" -v y="$YELLOW" '
      {
        n = $1; sub(":", "", n); hex = ""
        for (i = 2; i <= NF; i++) if ($i ~ /^#/) { hex = toupper(substr($i, 1, 7)); break }
        if (hex == g) gn += n; else if (hex == o) on += n; else if (hex == y) yn += n;
        else if (hex != "#000000") other += n
      }
      END { print gn + 0, on + 0, yn + 0, other + 0 }')
  read -r GREEN_N ORANGE_N YELLOW_N OTHER_N <<<"$counts"
}

# green_column NAME: the leftmost column of a green pixel below the window's top row
# (where the parked rockets sit) in screenshot NAME, or nothing when there is none.
green_column() {
  local box
  box=$(convert "$WORK/$1.png" -crop "$(window_geometry "$CLIENT_W" $((CLIENT_H - 1)) 0 1)" +repage \
    -fill black +opaque "$GREEN" -bordercolor black -border 1 -format '%@' info: 2>/dev/null)
  [[ $box =~ ^[0-9]+x[0-9]+\+([0-9]+)\+ ]] && [ "${box%%x*}" -gt 0 ] && echo $((BASH_REMATCH[1] - 1))
}

# rapid_shots NAME SECONDS: screenshots NAME-1, NAME-2 ... back to back for SECONDS, and
# counted only afterwards, so that a rocket's short climb on a busy machine is not missed.
# Sets SHOTS to how many were taken.
rapid_shots() {
  local deadline=$(($(now_ms) + $(to_ms "$2")))
  SHOTS=0
  while [ "$(now_ms)" -lt "$deadline" ] || [ "$SHOTS" -lt 2 ]; do
    SHOTS=$((SHOTS + 1))
    shot "$1-$SHOTS"
  done
}

# launch KEY: presses KEY, takes rapid shots (launch-N) for 5 s and sets LAUNCH_COLUMN to
# the column where the one new rocket climbs in the first that shows it, or to nothing.
launch() {
  local i
  LAUNCH_COLUMN=
  press_key "$1"
  rapid_shots launch 5
  for ((i = 1; i <= SHOTS; ++i)); do
    count_colours "launch-$i"
    if ((GREEN_N == 2)); then
      LAUNCH_COLUMN=$(green_column "launch-$i")
      return
    fi
  done
}

# crop NAME OUT W H X Y: saves a region of the window in screenshot NAME as OUT.png
crop() {
  convert "$WORK/$1.png" -crop "$(window_geometry "$3" "$4" "$5" "$6")" +repage "$WORK/$2.png"
}

# same_pixels A B: succeeds when images A and B (names in $WORK) are identical
same_pixels() {
  local diff
  diff=$(compare -metric AE "$WORK/$1.png" "$WORK/$2.png" null: 2>&1) || true
  [ "$diff" = 0 ]
}

# Polls screenshots of the window until the arithmetic CONDITION over GREEN_N,
# ORANGE_N, YELLOW_N and OTHER_N holds (counts as set by count_colours).
# wait_for SECONDS CONDITION [W H X Y]
wait_for() {
  local seconds=$1
  shift
  wait_until "$seconds" shot_holds "$@"
}

shot_holds() {
  local condition=$1
  shift
  shot poll
  count_colours poll "$@"
  ((condition)) # the value is evaluated as an expression in turn
}

# Fails (returns 1) as soon as a screenshot breaks CONDITION within SECONDS. Takes
# at least three screenshots, however slow the machine.
# holds_for SECONDS CONDITION [W H X Y]
holds_for() {
  local deadline=$(($(now_ms) + $(to_ms "$1"))) polls=0
  shift
  while [ "$(now_ms)" -lt "$deadline" ] || [ "$polls" -lt 3 ]; do
    shot_holds "$@" || return 1
    polls=$((polls + 1))
  done
}

counts() {
  echo "green $GREEN_N, orange $ORANGE_N, yellow $YELLOW_N, other $OTHER_N"
}

# press_key KEY: one key press (and release) sent to the focused window
press_key() {
  xdotool key "$1"
}

# move_pointer X Y: window coordinates. No --sync: it waits for motion, which never
# comes when the pointer is already there. The server keeps events in order anyway.
move_pointer() {
  xdotool mousemove $((WIN_X + $1)) $((WIN_Y + $2))
}

# click_at X Y [OPTIONS] BUTTON: moves the pointer there (window coordinates) and clicks
click_at() {
  xdotool mousemove $((WIN_X + $1)) $((WIN_Y + $2)) click "${@:3}"
}
