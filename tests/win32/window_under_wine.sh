#!/bin/bash
# The Windows program in its window under Wine on a virtual X display: it
# starts, a command typed with xdotool is answered on the screen (the screen
# log and the prompt's colour in a screenshot), the braille keyboard switched
# on with Ctrl+Alt+F11 turns a chord of held keys into a letter when the
# keys are released, the magnifier enlarges while the right button is held,
# Alt+F4 ends the program with exit code 0 and Ctrl+Break with 255.
# Screenshots, the screen log and Wine's output are kept in OUT_DIR.
# Usage: window_under_wine.sh FUGA_EXE TALUNE_INI OUT_DIR
# WINEPREFIX names the prefix to use (see wine_test.sh).
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 FUGA_EXE TALUNE_INI OUT_DIR" >&2
    exit 2
fi
program=$(realpath "$1")
ini=$(realpath "$2")
out=$(realpath -m "$3")
here=$(cd "$(dirname "$0")" && pwd)

. "$here/wine_test.sh"
if [ -z "${FUGA_XVFB_INSIDE:-}" ]; then
    wine_test_prepare window_under_wine "$out" import convert compare setxkbmap
    mkdir -p "$out/home"
    # The build's settings, with a font size of our own.
    sed '/^\[VIDEO\]/,/^\[/{/^\[VIDEO\]/d;/^[A-Z]/d}' "$ini" >"$out/home/TALUNE.INI"
    printf '\r\n[VIDEO]\r\nLARGURALETRA=10\r\nALTURALETRA=20\r\n' >>"$out/home/TALUNE.INI"
fi
wine_test_inside "$0" "$@"

fail() {
    echo "window_under_wine: $*" >&2
    [ -f "$out/screen.log" ] && tr -d '\r' <"$out/screen.log" | sed 's/^/  screen: /' >&2
    exit 1
}

export WINEDEBUG=-all
# A server left from another display would show our window there.
wineserver -k 2>/dev/null || true
cd "$out"
TALUNE_HOME="$out/home" FUGA_SCREEN_LOG="$out/screen.log" wine "$program" -r >"$out/wine.txt" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true; wineserver -k 2>/dev/null || true' EXIT

window=$(wine_test_window)
[ -n "$window" ] || fail "no window"
eval "$(xdotool getwindowgeometry --shell "$window")"
# Ctrl+Alt with a function key is the X server's own (switching consoles)
# unless it is told otherwise, and Wine's start sets the keyboard anew: the
# braille keys need them.
setxkbmap -option srvrkeys:none
sleep 2
# Esc cuts the introduction short; the turn's tone drops keys typed before
# it, so the command waits for the room's description to begin.
xdotool key Escape
sleep 4
xdotool type --delay 80 "pegar serra"
xdotool key Return
sleep 4
import -window root "$out/answered.png"

# The magnifier: the right button held enlarges the image under the mouse;
# released, the screen comes back as it was.
xdotool mousemove --window "$window" 150 80 mousedown 3
sleep 1
import -window root "$out/magnified.png"
xdotool mouseup 3
sleep 1
import -window root "$out/released.png"
differing() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1 || true; }
magnified=$(differing "$out/answered.png" "$out/magnified.png")
released=$(differing "$out/answered.png" "$out/released.png")

# The braille keyboard: F, S, J and K are the dots 1, 3, 4 and 5, the letter
# "n"; nothing is typed until the last of them is released.
xdotool key ctrl+alt+F11
sleep 1
xdotool keydown f keydown s keydown j keydown k
sleep 0.3
xdotool keyup f keyup s keyup j
sleep 0.3
xdotool keyup k
sleep 0.3
xdotool key Return
sleep 3
xdotool key ctrl+alt+F12
sleep 1
import -window root "$out/braille.png"

xdotool key alt+F4
code=0
timeout 30 tail --pid=$pid -f /dev/null || fail "Alt+F4 did not end the program"
wait $pid || code=$?
[ "$code" = 0 ] || fail "Alt+F4 ended the program with exit code $code"

# Line ends as the system writes them.
tr -d '\r' <"$out/screen.log" >"$out/screen.txt"
grep -q "^Que fazer? pegar serra$" "$out/screen.txt" || fail "the typed command is not on the screen"
grep -A1 "^Que fazer? pegar serra$" "$out/screen.txt" | tail -1 | grep -q "Okey!" ||
    fail "the command's answer is not on the screen"
grep -q "^Que fazer? n$" "$out/screen.txt" || fail "the braille chord did not type n"
# The prompt is drawn in yellow on black in the window.
yellow=$(convert "$out/answered.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -depth 8 txt:- |
    grep -c "(255,255,0)" || true)
[ "$yellow" -gt 50 ] || fail "no yellow prompt in the screenshot ($yellow pixels)"

# Ctrl+Break ends the program at once, as a quit message does: exit code 255.
wineserver -w
TALUNE_HOME="$out/home" wine "$program" -r >"$out/wine-break.txt" 2>&1 &
pid=$!
window=$(wine_test_window)
[ -n "$window" ] || fail "no window for Ctrl+Break"
sleep 2
xdotool key ctrl+Break
code=0
timeout 30 tail --pid=$pid -f /dev/null || fail "Ctrl+Break did not end the program"
wait $pid || code=$?
[ "$code" = 255 ] || fail "Ctrl+Break ended the program with exit code $code"
[ "${magnified%.*}" -gt 20000 ] || fail "the magnifier changed $magnified pixels"
[ "${released%.*}" -lt 1000 ] || fail "the screen after the magnifier differs in $released pixels"
echo "window_under_wine: passed (screens in $out)"
