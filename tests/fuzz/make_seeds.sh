#!/usr/bin/env bash
# Writes the checked-in seed inputs. Each is a short, readable script for a fuzz
# target (see byte_reader.h and the Op lists in the targets); the fuzzer grows the
# rest of its corpus from these in a scratch copy.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
model=$here/corpus/model
draw=$here/corpus/draw
mkdir -p "$model" "$draw"

# model_fuzz operations
KEY='\x00' TICK='\x01' WIDTH='\x02' HEIGHT='\x03' CLOCK='\x04' STEP='\x05' RAND='\x06'
INIT='\x08' BURST='\x09'
KEY1='\x02'    # even mode byte: digit-row key, (mode / 2) % 10 + '0', so this is '1'
KEY9='\x12'
ANYKEY='\x01'  # odd mode byte: four bytes of key follow
# Floats: a selector byte; 0 zero, 2 NaN, 3 +inf, 4 -inf; odd >= 13 raw bits follow.
F_ZERO='\x00' F_NAN='\x02' F_INF='\x03' F_NEGINF='\x04' F_RAW='\x0d'
F_6630='\x0d\x00\x30\xcf\x45'
F_MINUS_ONE='\x0d\x00\x00\x80\xbf'

seed() { printf '%b' "$2" >"$1"; }

seed "$model/launch_and_tick" "$KEY$KEY1$TICK$TICK$TICK$KEY$KEY9$KEY$KEY9$TICK"
seed "$model/clock_wraps" \
  "$CLOCK\x00\x00\x00\x00$INIT$KEY$KEY1$CLOCK\xf0\xff\xff\x7f$STEP\x01\x00\x00\x00$TICK$TICK"
seed "$model/odd_heights" \
  "$HEIGHT$F_ZERO$KEY$KEY1$TICK$HEIGHT$F_NAN$KEY$KEY1$TICK$HEIGHT$F_NEGINF$TICK$HEIGHT$F_MINUS_ONE$TICK"
seed "$model/random_edges" \
  "$RAND\x00$KEY$KEY1$RAND\x01$KEY$KEY1$WIDTH$F_INF$KEY$KEY1$HEIGHT$F_6630$TICK"
seed "$model/any_keys" "$KEY$ANYKEY\xff\xff\xff\x7f$KEY$ANYKEY\x00\x00\x00\x80$KEY$ANYKEY\x31\x00\x01\x00"
full=""
for _ in $(seq 21); do
  full+="$BURST$F_RAW\x00\x00\x80\x3f$F_RAW\x00\x00\x80\x3f"
done
seed "$model/full_pool" "$full$CLOCK\x10\x27\x00\x00$TICK$BURST$F_ZERO$F_ZERO$TICK"

# draw_fuzz: ratio byte (0 1x, 1 1.5x, 2 2x), width and height bytes (255 the
# window), then operations.
PLOT='\x00' SIZE='\x01' CLEAR='\x02' RESIZE='\x03' FINISH='\x04'
NEAR_CENTRE='\x0e\x00\x20'  # even selector: 16-bit value / 8 twips follows (1024)
ORANGE='\xff\x7d\x00\x00'
seed "$draw/dot_in_the_middle" \
  "\x00\x40\x40$PLOT$NEAR_CENTRE$NEAR_CENTRE$ORANGE$SIZE\x64\x00\x00\x00$PLOT$NEAR_CENTRE$NEAR_CENTRE$ORANGE"
seed "$draw/one_and_a_half" \
  "\x01\x40\x30$SIZE\x0a\x00\x00\x00$PLOT$F_NAN$F_ZERO$ORANGE$PLOT$F_INF$F_ZERO$ORANGE$PLOT$F_ZERO$F_ZERO$ORANGE$CLEAR"
seed "$draw/edges_and_resize" \
  "\x02\x03\x03$PLOT\x07\x07$ORANGE$PLOT\x05\x06$ORANGE$RESIZE\x00\xfe\x05$PLOT$F_ZERO$F_ZERO$ORANGE$RESIZE\x02\x10\x08$SIZE\xff\xff\xff\xff$PLOT\x0e\xf8\xff\x0e\x08\x00$ORANGE"
seed "$draw/overlaps_drawn_at_once" \
  "\x00\x40\x40$SIZE\x14\x00\x00\x00$PLOT$NEAR_CENTRE$NEAR_CENTRE$ORANGE$PLOT\x0e\x00\x24$NEAR_CENTRE\xff\x00\x00\x00$FINISH$CLEAR$PLOT$NEAR_CENTRE\x0e\x00\x24$ORANGE$FINISH$CLEAR$PLOT$NEAR_CENTRE$NEAR_CENTRE$ORANGE$PLOT\x0e\x00\x24$NEAR_CENTRE\xff\x00\x00\x00$FINISH"
