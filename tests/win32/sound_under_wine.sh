#!/bin/bash
# The Windows program's sound under Wine at a private PulseAudio server
# whose null sink's monitor is recorded: the title's recording is heard, and
# a key during the introduction cuts it short (the game reaches its quiet
# prompt long before the introduction would have ended). How fast the key
# silences it is measured by bench_latency, not here.
# Usage: sound_under_wine.sh FUGA_EXE DATA_DIR OUT_DIR
# DATA_DIR is the Linux build's installation tree (its TALUNE.INI and som/).
# WINEPREFIX names the prefix to use (see wine_test.sh).
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 FUGA_EXE DATA_DIR OUT_DIR" >&2
    exit 2
fi
program=$(realpath "$1")
data=$(realpath "$2")
out=$(realpath -m "$3")
here=$(cd "$(dirname "$0")" && pwd)
rate=8000

. "$here/wine_test.sh"
if [ -z "${FUGA_XVFB_INSIDE:-}" ]; then
    wine_test_prepare sound_under_wine "$out" pulseaudio parec sox soxi bc
fi
wine_test_inside "$0" "$@"

fail() {
    echo "sound_under_wine: $*" >&2
    exit 1
}

export WINEDEBUG=-all
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

wine_test_sound_server "$out/pulse" $rate || fail "the sound server did not start"
pids+=("$WINE_TEST_SOUND_PID")
# A short latency keeps the recording's length in step with the clock: the
# length when the key is sent tells where the key falls in it.
parec -d fuga_null.monitor --raw --format=s16le --rate=$rate --channels=1 --latency-msec=20 \
    >"$out/monitor.raw" 2>"$out/parec.log" &
pids+=($!)

wineserver -k 2>/dev/null || true
cd "$out"
TALUNE_HOME="$data" FUGA_SOUND_LOG="$out/sound.log" wine "$program" -r >"$out/wine.txt" 2>&1 &
game=$!
pids+=($game)
window=$(wine_test_window)
[ -n "$window" ] || fail "no window"
# The title and some seconds of the introduction, then a key.
sleep 8
xdotool key x
key_at=$(echo "$(stat -c %s "$out/monitor.raw") / (2 * $rate)" | bc -l)
sleep 9
closed_at=$(echo "$(stat -c %s "$out/monitor.raw") / (2 * $rate)" | bc -l)
xdotool key alt+F4
timeout 30 tail --pid=$game -f /dev/null || fail "Alt+F4 did not end the program"

# Seconds from the recording's start: the first loud sample, and the start
# of the first second of quiet after the key.
read -r first_loud quiet_at < <(sox -t raw -r $rate -e signed -b 16 -c 1 "$out/monitor.raw" -t dat - |
    awk -v key="$key_at" -v rate=$rate '
        /^;/ { next }
        { t = $1; loud = ($2 > 0.0625 || $2 < -0.0625) }
        loud && first == "" { first = t }
        t >= key { if (loud) { quiet_from = "" } else if (quiet_from == "") { quiet_from = t }
                   if (quiet_from != "" && t - quiet_from >= 1 && quiet == "") quiet = quiet_from }
        END { print (first == "" ? "none" : first), (quiet == "" ? "none" : quiet) }')
echo "sound_under_wine: first sound at ${first_loud} s, key at ${key_at} s, quiet prompt from ${quiet_at} s"
[ "$first_loud" != none ] || fail "nothing was heard at the sound server"
grep -q "^file TITULO" "$out/sound.log" || fail "the title's recording was not played"
introduction=$(soxi -D "$data/som/INTRO.wav")
[ "$quiet_at" != none ] || fail "the game never fell quiet after the key"
# Cut short: the prompt, quiet, comes before the window is closed, long
# before the introduction would have ended.
awk -v q="$quiet_at" -v c="$closed_at" 'BEGIN { exit !(q < c) }' ||
    fail "the key did not cut the introduction ($introduction s) short: quiet from $quiet_at s, closed at $closed_at s"
# No click: a run of 3 ms or more at full scale is no sound of the game's
# (8-bit sound padded by zero bytes, the loudest negative sample, once did).
clicks=$(sox -t raw -r $rate -e signed -b 16 -c 1 "$out/monitor.raw" -t dat - |
    awk -v need=$((rate * 3 / 1000)) '/^;/ { next }
        { if ($2 >= 0.99 || $2 <= -0.99) { if (++run == need) n++ } else run = 0 }
        END { print n + 0 }')
[ "$clicks" -eq 0 ] || fail "$clicks clicks (3 ms or more at full scale) were heard"
echo "sound_under_wine: passed"
