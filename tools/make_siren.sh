#!/bin/sh
# Computes the alarm's siren SIRENE.wav: two wails, each a tone rising from
# 600 to 1300 Hz and falling back, 1.6 s in all, 8-bit unsigned mono 11025 Hz
# like every recording of the game.
# Usage: make_siren.sh OUT_DIR
set -eu
out=$1
mkdir -p "$out"
tmp="$out/.SIRENE.$$"
sox -n -r 11025 -c 1 "$tmp.up.wav" synth 0.4 sine 600-1300
sox "$tmp.up.wav" "$tmp.down.wav" reverse
sox "$tmp.up.wav" "$tmp.down.wav" "$tmp.up.wav" "$tmp.down.wav" \
    -r 11025 -c 1 -b 8 -e unsigned-integer "$out/SIRENE.wav" fade 0.02 0 0.02 gain -n -3
rm -f "$tmp.up.wav" "$tmp.down.wav"
