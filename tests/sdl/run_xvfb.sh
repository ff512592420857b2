#!/bin/bash
# The window backend on a virtual X display: the test screen with configured
# font size and colours, keys typed with xdotool, slow scrolling, the
# magnifier, a burst of keys longer than the console's queue, the last
# screen kept after the program's end, and Alt+F4. Screenshots and the screen log are kept in
# BUILD_DIR/sdl-screens for a look.
# Usage: run_xvfb.sh SCREEN_CHECK_PROGRAM BUILD_DIR
set -euo pipefail

program=$1
out=$2/sdl-screens

if [ "${1:-}" != "--inside" ] && [ -z "${FUGA_XVFB_INSIDE:-}" ]; then
    for tool in xvfb-run xdotool import convert; do
        command -v "$tool" >/dev/null || { echo "run_xvfb: $tool is not installed" >&2; exit 1; }
    done
    rm -rf "$out"
    mkdir -p "$out/home"
    cat > "$out/home/TALUNE.INI" <<'INI'
[VIDEO]
FONTE=DejaVu Sans Mono
LARGURALETRA=12
ALTURALETRA=24
CORFUNDO=1
CORLETRA=14
LENTO=S
AMPLIF=3
INI
    FUGA_XVFB_INSIDE=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

fail() { echo "run_xvfb: $*" >&2; exit 1; }

# "r,g,b" of one pixel of a screenshot, at window coordinates.
pixel() {
    local x=$(($2 + X)) y=$(($3 + Y))
    convert "$1" -format "%[fx:int(255*p{$x,$y}.r)],%[fx:int(255*p{$x,$y}.g)],%[fx:int(255*p{$x,$y}.b)]" info:
}
# How many pixels of a w x h area at window (x, y) have the colour "r,g,b".
count() {
    convert "$1" -crop "$4x$5+$(($2 + X))+$(($3 + Y))" +repage -depth 8 txt:- |
        grep -c "($6)" || true
}

FUGA_BACKEND=sdl TALUNE_HOME="$out/home" FUGA_SCREEN_LOG="$out/screen.log" "$program" 2>"$out/stderr.txt" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
window=$(timeout 20 xdotool search --sync --name screen_check | head -1)
[ -n "$window" ] || fail "no window"
xdotool windowfocus --sync "$window"
eval "$(xdotool getwindowgeometry --shell "$window")"
sleep 1
import -window root "$out/prompt.png"

xdotool type --delay 30 "pegar a chave"
xdotool key --delay 30 Return ctrl+a alt+x Up ctrl+Up shift+Insert alt+Left BackSpace ctrl+BackSpace ctrl+Return
# Enough lines to scroll the screen several times.
xdotool type --delay 30 "abcdefghijklmnopqrstuvwxyz"
sleep 1
import -window root "$out/scrolled.png"
xdotool mousemove --window "$window" 200 100 mousedown 3
sleep 0.7
import -window root "$out/magnified.png"
xdotool mouseup 3
sleep 0.7
import -window root "$out/released.png"
# A burst longer than the console's 64-key queue, all in the window's queue
# at once (the program is stopped while it is typed), is typed whole.
burst=""
for i in $(seq 0 39); do burst+=$(printf 'k%03d ' "$i"); done
kill -STOP $pid
xdotool type --delay 0 "$burst"
kill -CONT $pid
sleep 3
# Esc ends the program; its last screen stays until the window is closed.
xdotool key Escape
sleep 1
title=$(xdotool getwindowname "$window" 2>/dev/null || true)
[ "$title" = "Programa terminado" ] || fail "the title at the end is '$title'"
import -window root "$out/ended.png"
xdotool key alt+F4
rc=0
wait $pid || rc=$?
trap - EXIT
[ "$rc" = 0 ] || fail "the program ended with $rc after Alt+F4"
cmp -s <(convert "$out/released.png" rgb:-) <(convert "$out/ended.png" rgb:-) && fail "the caret stayed at the end"
[ "$(count "$out/ended.png" 0 576 132 24 "255,255,0")" -gt 20 ] || fail "the last screen is gone at the end"

# Keys reached the program with the codes of a PC keyboard.
for line in "tecla 112 'p'" "tecla 13" "tecla 1" "tecla 0 45" "tecla 0 72" "tecla 0 113" "tecla 0 254" \
    "tecla 0 75" "tecla 8" "tecla 127" "tecla 10" "tecla 122 'z'"; do
    grep -qxF "Que fazer? $line" "$out/screen.log" || fail "no '$line' in the screen log"
done

typed=$(sed -n "s/^Que fazer? tecla [0-9]* '\(.\)'$/\1/p" "$out/screen.log" | tr -d '\n')
[[ "$typed" == *"$burst"* ]] || fail "the burst of ${#burst} characters came as: $typed"

# The configured size: 80 x 25 cells of 12 x 24 pixels on blue (colour 1).
[ "$WIDTH x $HEIGHT" = "960 x 600" ] || fail "the window is $WIDTH x $HEIGHT"
[ "$(pixel "$out/prompt.png" 955 595)" = "0,0,255" ] || fail "no blue background at the window's corner"
# The caret: a two-pixel bar, inverted blue, in the empty cell after the prompt (row 7, column 12).
caret=$(count "$out/prompt.png" 132 144 12 24 "255,255,0")
[ "$caret" = 24 ] || fail "caret cell holds $caret inverted pixels, not 12 x 2"
# After scrolling with pixel copies the bottom row is the last prompt on blue.
[ "$(pixel "$out/scrolled.png" 955 590)" = "0,0,255" ] || fail "bottom row not blue after scrolling"
[ "$(count "$out/scrolled.png" 0 576 132 24 "255,255,0")" -gt 20 ] || fail "no yellow prompt on the bottom row"
# The magnifier shows a different picture, and letting go restores it.
cmp -s <(convert "$out/magnified.png" rgb:-) <(convert "$out/released.png" rgb:-) && fail "the magnifier changed nothing"
cmp -s <(convert "$out/scrolled.png" rgb:-) <(convert "$out/released.png" rgb:-) || fail "the screen differs after the magnifier"
echo "run_xvfb: ok; screenshots in $out"
