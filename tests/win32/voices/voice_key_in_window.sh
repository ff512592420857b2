#!/bin/bash
# A key during a long text, in the Windows program's window under Wine, for
# each COM voice (types 4, 5 and 54, the stand-in engines speaking every text
# for seconds): the engine is cut (AudioReset, or the purging Speak) at once
# after the key, the game goes on to speak its next text, and Alt+F4 then
# ends it with code 0. How long after is printed: a few milliseconds on an
# idle machine, 101 ms seen once beside a latency benchmark at a load of 3;
# the test fails from 250 ms, so that the scheduling of a loaded machine
# does not fail it while a wait put before the cut (the text's 6 s, a
# polling interval) does.
#
#   voice_key_in_window.sh FUGA_EXE TEST_BIN_DIR DATA_BUILD_DIR OUT_DIR
#
#   TEST_BIN_DIR    where the stand-in DLLs and register_standins.exe are
#   DATA_BUILD_DIR  the Linux build, whose data-type4, data-type5 and
#                   data-type54 homes the games read
# WINEPREFIX names the prefix to use; without it one is made in OUT_DIR.
set -uo pipefail

if [ $# -ne 4 ]; then
    echo "usage: $0 FUGA_EXE TEST_BIN_DIR DATA_BUILD_DIR OUT_DIR" >&2
    exit 2
fi
program=$(realpath "$1")
bin=$(realpath "$2")
data=$(realpath "$3")
out=$(realpath -m "$4")
here=$(cd "$(dirname "$0")/.." && pwd)
# Long enough that the key surely falls inside a text.
speak_ms=6000

. "$here/wine_test.sh"
if [ -z "${FUGA_XVFB_INSIDE:-}" ]; then
    wine_test_prepare voice_key_in_window "$out"
fi
wine_test_inside "$0" "$@"

fail() {
    echo "voice_key_in_window: type $type: $*" >&2
    exit 1
}

export WINEDEBUG=-all
wineserver -k 2>/dev/null || true
wine "$bin/register_standins.exe" >/dev/null 2>&1 || { echo "voice_key_in_window: stand-ins not registered" >&2; exit 1; }
pid=
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; wineserver -k 2>/dev/null || true' EXIT

# The time of the first record in the engine's log that begins with TEXT
# and was made after the time AFTER; empty when there is none.
first_after() {
    awk -v after="$1" -v text="$2" '$1 > after && substr($0, index($0, " ") + 1, length(text)) == text { print $1; exit }' "$log"
}

for type in 4 5 54; do
    case $type in
    4) cut='AudioReset' handed='TextData 0 0 ' started='start PARALELEPIPEDO' ;;
    *) cut="voice$type Speak 2  " handed="voice$type Speak 17 " started="voice$type start PARALELEPIPEDO" ;;
    esac
    dir="$out/type$type"
    mkdir -p "$dir/home"
    log="$dir/engine.log"
    : >"$log"
    # The home of the Linux game of this type, with a window that fits the
    # virtual display.
    sed '/^\[VIDEO\]/,/^\[/{/^\[VIDEO\]/d;/^[A-Z]/d}' "$data/data-type$type/TALUNE.INI" >"$dir/home/TALUNE.INI"
    printf '\r\n[VIDEO]\r\nLARGURALETRA=10\r\nALTURALETRA=20\r\n' >>"$dir/home/TALUNE.INI"
    (cd "$dir" && exec env TALUNE_HOME="$dir/home" FUGA_STANDIN_LOG="$log" FUGA_STANDIN_SPEAK_MS=$speak_ms \
        wine "$program" -r >"$dir/wine.txt" 2>&1) &
    pid=$!
    window=$(wine_test_window)
    [ -n "$window" ] || fail "no window"
    # Esc cuts the recorded introduction short; the turn's tone drops keys
    # typed before it, so the command waits for the room's description to
    # begin. The object's name is the engine's to say, and a second into it
    # comes a key.
    sleep 2
    xdotool key Escape
    sleep 4
    xdotool type --delay 80 "pegar paralelepipedo"
    xdotool key Return
    for _ in $(seq 300); do
        start_us=$(first_after 0 "$started")
        [ -n "$start_us" ] && break
        sleep 0.1
    done
    [ -n "$start_us" ] || fail "the engine never began the object's name"
    sleep 1
    xdotool key x
    sleep 1
    key_us=$(first_after "$start_us" 'key ')
    [ -n "$key_us" ] || fail "the program's thread never took the key"
    cut_us=$(first_after "$start_us" "$cut")
    [ -n "$cut_us" ] || fail "the engine was not cut after the key"
    delay_us=$((cut_us - key_us))
    echo "voice_key_in_window: type $type: cut ${delay_us} us after the key"
    [ "$delay_us" -ge 0 ] || fail "the engine was cut before the key (${delay_us} us)"
    [ "$delay_us" -lt 250000 ] || fail "the engine was cut ${delay_us} us after the key, not at once"
    # The game goes on: the next command's object is handed over after the
    # cut (typed once the turn's tone has come, the key taken back).
    sleep 3
    xdotool key BackSpace
    xdotool type --delay 80 "pegar 1984"
    xdotool key Return
    for _ in $(seq 100); do [ -n "$(first_after "$cut_us" "${handed}1984")" ] && break; sleep 0.1; done
    [ -n "$(first_after "$cut_us" "${handed}1984")" ] || fail "the next command's object was not spoken after the key"
    xdotool key alt+F4
    code=0
    timeout 60 tail --pid=$pid -f /dev/null || fail "Alt+F4 did not end the program"
    wait $pid || code=$?
    pid=
    [ "$code" = 0 ] || fail "the program ended with code $code"
done
echo "voice_key_in_window: passed"
