#!/bin/sh
# Computes the dial tones dtmf_0..dtmf_9, dtmf_X (the "*" key) and dtmf_#:
# each key's two DTMF frequencies mixed, 150 ms, 8-bit unsigned mono 11025 Hz.
# Usage: make_dial_tones.sh OUT_DIR
set -eu
out=$1
mkdir -p "$out"
tone() {
    sox -n -r 11025 -c 1 -b 8 -e unsigned-integer "$out/dtmf_$1.wav" \
        synth 0.15 sine "$2" synth 0.15 sine mix "$3" gain -n -3
}
tone 1 697 1209; tone 2 697 1336; tone 3 697 1477
tone 4 770 1209; tone 5 770 1336; tone 6 770 1477
tone 7 852 1209; tone 8 852 1336; tone 9 852 1477
tone X 941 1209; tone 0 941 1336; tone '#' 941 1477
