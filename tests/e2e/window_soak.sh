#!/usr/bin/env bash
# Soak: a couple of minutes of keys, clicks and dot-size changes. Pelmiro must stay
# alive, keep repainting, hold its memory steady, stay quiet on stderr and still
# close cleanly. SOAK_SECONDS sets the length (120 by default).
#
# Sanitizer builds are too slow for the memory figures to mean anything, so the
# soak skips itself there (exit code 77), and when PELMIRO_SKIP_SOAK=1.
case "$(dirname "${1:-}")" in
  *asan*)
    echo "skipped: sanitizer build"
    exit 77
    ;;
esac
if [ "${PELMIRO_SKIP_SOAK:-0}" = 1 ]; then
  echo "skipped: PELMIRO_SKIP_SOAK=1"
  exit 77
fi

# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "$0")/lib.sh"

SOAK_SECONDS=${SOAK_SECONDS:-120}
if ! [[ $SOAK_SECONDS =~ ^[0-9]+$ ]] || ((SOAK_SECONDS < 30)); then
  fail "SOAK_SECONDS must be a whole number of at least 30, not '$SOAK_SECONDS'"
fi
SAMPLE_EVERY=10
BASELINE_AT=20
MAX_GROWTH_PERCENT=5

KEYS=(1 2 3 4 5 6 7 8 9 0 KP_1 KP_2 KP_5 KP_9 KP_0 a q w z x space Escape minus period)
SIZES=(0 1 2.5 37 100 150 -5)
RANDOM=4242 # the same run every time

start_xvfb
start_pelmiro

rss_kb() {
  awk '$1 == "VmRSS:" { print $2 }' "/proc/$PELMIRO_PID/status"
}

check_alive() {
  if pelmiro_exited; then
    fail "Pelmiro died after $(($(now_ms) / 1000 - start_s)) s"
  fi
}

# About a second of input: 20 keys, 40 ms apart, then a click with a random button
# somewhere on the black area.
one_second_of_input() {
  local batch=() i
  for i in $(seq 20); do
    batch+=("${KEYS[RANDOM % ${#KEYS[@]}]}")
  done
  xdotool key --delay 40 "${batch[@]}"
  click_at $((RANDOM % CLIENT_W)) $((RANDOM % (BOX_Y - 10))) $((RANDOM % 3 + 1))
  keys_sent=$((keys_sent + ${#batch[@]}))
  clicks_sent=$((clicks_sent + 1))
}

set_size() {
  click_at 30 428 1
  xdotool key ctrl+a
  xdotool type --delay 30 -- "$1"
  xdotool key Return
  park_pointer
}

# Late in a run a rocket bursts on its first step and its sparks are gone within
# half a second, so launch one before each shot. A launch draws nothing by
# itself: only the timer's repaint can change the screen.
repainting() {
  local i
  shot repaint-a
  for i in 1 2 3 4 5 6 7 8 9; do
    press_key "$i"
    shot repaint-b
    same_pixels repaint-a repaint-b || return 0
  done
  return 1
}

start_s=$(($(now_ms) / 1000))
keys_sent=0
clicks_sent=0
samples=()
next_sample=0
printf '%8s %10s %10s\n' "seconds" "VmRSS kB" "dot size"
while :; do
  one_second_of_input
  elapsed=$(($(now_ms) / 1000 - start_s))
  check_alive
  if ((elapsed >= next_sample)); then
    size=${SIZES[(next_sample / SAMPLE_EVERY) % ${#SIZES[@]}]}
    set_size "$size"
    rss=$(rss_kb)
    samples+=("$elapsed:$rss")
    printf '%8d %10d %10s\n' "$elapsed" "$rss" "$size"
    repainting || fail "the window stopped repainting after $elapsed s"
    next_sample=$((next_sample + SAMPLE_EVERY))
    ((next_sample <= SOAK_SECONDS)) || break
  fi
done
echo "Sent $keys_sent keys and $clicks_sent clicks in $elapsed s"

# After the first 20 s, once caches and pools are warm, memory must not creep up.
baseline=
highest=0
for sample in "${samples[@]}"; do
  ((${sample%%:*} >= BASELINE_AT)) || continue
  [ -n "$baseline" ] || baseline=${sample#*:}
  ((${sample#*:} > highest)) && highest=${sample#*:}
done
growth_percent=$(awk -v b="$baseline" -v h="$highest" 'BEGIN { printf "%.2f", (h - b) * 100 / b }')
echo "VmRSS at ${BASELINE_AT} s: $baseline kB, highest after: $highest kB, growth $growth_percent %"
awk -v g="$growth_percent" -v m="$MAX_GROWTH_PERCENT" 'BEGIN { exit !(g < m) }' ||
  fail "VmRSS grew by $growth_percent % after the first $BASELINE_AT s (limit $MAX_GROWTH_PERCENT %)"
pass "memory held steady (growth $growth_percent % after the first $BASELINE_AT s)"
pass "Pelmiro stayed alive and kept repainting for $elapsed s"

close_pelmiro
