#!/usr/bin/env bash
# Runs the real program on its own Xvfb and measures it the way a user meets it:
# time from exec to the first frame on screen, CPU while idle and while bursting
# at the largest dot size, and peak resident memory.
# Usage: LAYOUT=BUILD/hostkit/layout.env measure_program.sh PROGRAM [ARGS...]; the program
# may be a launcher such as Wine with the program to run. With FIRST_FRAME_ONLY=1 it stops
# after the first frame; a start that maps no window at all within the time then exits
# with status 75, so that the caller may try again.
# With FULL_SCREEN=1 the screen is 3840 x 2160 with a window manager (openbox) on it,
# and F11 puts the window in full screen before the first measurement.
# Prints "name value" lines: first_frame_s, idle_cpu_pct, load_cpu_pct, peak_rss_mb,
# load_lit_fraction, launches.
set -euo pipefail

IDLE_SECONDS=${IDLE_SECONDS:-20}
LOAD_SECONDS=${LOAD_SECONDS:-20}
FIRST_FRAME_TIMEOUT_S=10
NO_WINDOW=75
# The window's layout: CLIENT_W, CLIENT_H, BOX_X, BOX_Y, BOX_W, BOX_H, TIMER_MS.
# shellcheck source=/dev/null
source "${LAYOUT:?LAYOUT must name hostkit/layout.env in a build tree}"
KEY_DELAY_MS=$((TIMER_MS + 1)) # about one launch a tick
SETTLE_SECONDS=2  # lets the first rockets burst, so the load measurement sees a full sky
# Where to click the dot-size box, and a spot on the sky to take focus back.
BOX_X=$((BOX_X + BOX_W / 2))
BOX_Y=$((BOX_Y + BOX_H / 2))
SKY_X=$((CLIENT_W / 2))
SKY_Y=$((CLIENT_H / 4))
LARGEST_DOT=100
# With 100-pixel dots a steady stream of bursts lights a good part of the window; with
# the default 1-pixel dots it lights well under one per cent.
MIN_LIT_FRACTION=0.05
CLOCK_TICKS=$(getconf CLK_TCK)
FULL_SCREEN=${FULL_SCREEN:-0}
SCREEN_W=1024
SCREEN_H=768
if [ "$FULL_SCREEN" = 1 ]; then
  SCREEN_W=3840
  SCREEN_H=2160
fi

work=$(mktemp -d)
xvfb_pid=
wm_pid=
program_pid=
keys_pid=
cleanup() {
  local pid
  for pid in "$keys_pid" "$program_pid" "$wm_pid" "$xvfb_pid"; do
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
      kill "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
    fi
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP PIPE

now_ns() { date +%s%N; }

# utime + stime of a process, in clock ticks. The name field may hold spaces, so
# fields are counted after its closing parenthesis.
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }

# Per cent of one core used by PID over SECONDS.
cpu_percent() {
  local pid=$1 seconds=$2 t0 t1 c0 c1
  c0=$(cpu_ticks "$pid")
  t0=$(now_ns)
  sleep "$seconds"
  c1=$(cpu_ticks "$pid")
  t1=$(now_ns)
  awk -v c="$((c1 - c0))" -v hz="$CLOCK_TICKS" -v ns="$((t1 - t0))" \
    'BEGIN { printf "%.2f", 100 * (c / hz) / (ns / 1e9) }'
}

# True when the window's top-left pixel is pure green: the parked rockets are drawn
# there on the first tick, so it is green from the first frame on.
first_pixel_green() {
  import -window "$1" -crop 1x1+0+0 -depth 8 txt:- 2>/dev/null | grep -q '^0,0: (0,255,0)'
}

# Share of the window's pixels that are not black.
lit_fraction() {
  local total lit
  import -window "$1" -colorspace Gray -depth 8 gray:"$work/shot.gray"
  total=$(stat -c %s "$work/shot.gray")
  lit=$(tr -d '\000' <"$work/shot.gray" | wc -c)
  awk -v lit="$lit" -v total="$total" 'BEGIN { printf "%.3f", lit / total }'
}

Xvfb -displayfd 3 -screen 0 "${SCREEN_W}x${SCREEN_H}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.05
done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=":$(head -n1 "$work/display")"
export DISPLAY
# The program keeps its runtime files out of the machine's real session.
export XDG_RUNTIME_DIR=$work
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
if [ "$FULL_SCREEN" = 1 ]; then
  XDG_CONFIG_HOME=$work XDG_CACHE_HOME=$work openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  for _ in $(seq 100); do
    wmctrl -m >/dev/null 2>&1 && break
    sleep 0.05
  done
  wmctrl -m >/dev/null 2>&1 || { echo "openbox did not start" >&2; exit 1; }
fi

start=$(now_ns)
"$@" >"$work/program.log" 2>&1 &
program_pid=$!
window=
deadline=$((start + FIRST_FRAME_TIMEOUT_S * 1000000000))
while :; do
  if [ -z "$window" ]; then
    window=$(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | head -n1) || true
  fi
  if [ -n "$window" ] && first_pixel_green "$window"; then
    break
  fi
  if ! kill -0 "$program_pid" 2>/dev/null; then
    echo "the program ended before its first frame" >&2
    cat "$work/program.log" >&2
    exit 1
  fi
  if [ "$(now_ns)" -gt "$deadline" ]; then
    if [ -z "$window" ]; then
      echo "no window within ${FIRST_FRAME_TIMEOUT_S} s" >&2
      exit "$NO_WINDOW"
    fi
    echo "a window, but no frame within ${FIRST_FRAME_TIMEOUT_S} s" >&2
    cat "$work/program.log" >&2
    exit 1
  fi
done
first_frame_ns=$(($(now_ns) - start))
awk -v ns="$first_frame_ns" 'BEGIN { printf "first_frame_s %.3f\n", ns / 1e9 }'
[ "${FIRST_FRAME_ONLY:-0}" = 1 ] && exit 0

client_size() {
  xwininfo -id "$1" | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w "x" h }'
}
if [ "$FULL_SCREEN" = 1 ]; then
  xdotool windowfocus --sync "$window"
  xdotool key F11
  for _ in $(seq 100); do
    [ "$(client_size "$window")" = "${SCREEN_W}x$SCREEN_H" ] && break
    sleep 0.05
  done
  [ "$(client_size "$window")" = "${SCREEN_W}x$SCREEN_H" ] ||
    { echo "F11 did not fill the screen: $(client_size "$window")" >&2; exit 1; }
  BOX_Y=$((BOX_Y + SCREEN_H - CLIENT_H)) # the box keeps to the bottom edge
  sleep 1                                # the first full-screen frames are shown
fi

echo "idle_cpu_pct $(cpu_percent "$program_pid" "$IDLE_SECONDS")"

# Largest dots, set the way a user does it; then focus goes back to the window, since
# keys typed into the box never launch.
xdotool mousemove --window "$window" "$BOX_X" "$BOX_Y" click 1
xdotool key ctrl+a
xdotool type "$LARGEST_DOT"
xdotool key Return
xdotool mousemove --window "$window" "$SKY_X" "$SKY_Y" click 1
launches=$(((LOAD_SECONDS + SETTLE_SECONDS + 1) * 1000 / KEY_DELAY_MS))
mapfile -t keys < <(for ((i = 0; i < launches; ++i)); do echo $((1 + i % 9)); done)
xdotool key --delay "$KEY_DELAY_MS" "${keys[@]}" &
keys_pid=$!
sleep "$SETTLE_SECONDS"
echo "load_cpu_pct $(cpu_percent "$program_pid" "$LOAD_SECONDS")"
lit=$(lit_fraction "$window")
echo "load_lit_fraction $lit"
echo "launches $launches"
wait "$keys_pid"
keys_pid=
awk '/^VmHWM:/ { printf "peak_rss_mb %.1f\n", $2 / 1024 }' "/proc/$program_pid/status"

if awk -v lit="$lit" -v min="$MIN_LIT_FRACTION" 'BEGIN { exit !(lit < min) }'; then
  echo "the load did not take: only $lit of the window lit" >&2
  exit 1
fi
