#!/bin/bash
# Whole games against the real system voices: the escape of
# voices_type4_escape.keys played headless with FUGA_VOICES=system, so that
# every synthesized text reaches a real engine.
#
#   system_voices.sh MODE FUGA_BINARY BUILD_DIR
#
#   espeak   type 4: the espeak-ng library; its samples must come back to
#            our sound device (16-bit "image" lines after each "ext" line)
#   server5  type 5: a private speech-dispatcher (tools/private_speech_server.sh),
#            default module espeak-ng; its log must show every text, in order
#   server54 type 54: the same server, every text on the RHVoice module
#   killed   type 5, and the server is killed while it speaks the first text:
#            the game must notice, go on with its own reader and end normally
#   exits5   type 5: every way out of a game whose connection to the server
#   exits54  is open ends the program within 3 s with its exit code, 0 for a
#            close or a hang-up, 255 for Ctrl+Break, SIGTERM and SIGINT:
#            headless a close and Ctrl+Break, in a terminal under tmux Alt+F4,
#            SIGHUP, SIGTERM and SIGINT, in a window under Xvfb Alt+F4,
#            Ctrl+Break and SIGTERM
#
# Otherwise the game must end with code 0 and show the same screen as the
# silent run of voices_type4_escape. Exit 77 (skipped) when a component is missing, except
# under CI=true, where that fails.
set -u

if [ $# -ne 3 ]; then
    echo "usage: $0 espeak|server5|server54|killed|exits5|exits54 FUGA_BINARY BUILD_DIR" >&2
    exit 2
fi
mode=$1
binary=$(cd "$(dirname "$2")" && pwd)/$(basename "$2") || exit 2
build=$(cd "$3" && pwd) || exit 2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
e2e="$source_dir/tests/e2e"
keys="$e2e/voices_type4_escape.keys"
out="$build/system_voices/$mode"
server_dir="$out/server"
rm -rf "$out"
mkdir -p "$out" || exit 2

fail() {
    echo "$mode: $*"
    exit 1
}

skip() {
    if [ "${CI:-}" = true ]; then fail "$* (CI=true: it must be there)"; fi
    echo "$mode: skipped: $*"
    exit 77
}

case "$mode" in
espeak) type=4 ;;
server5 | killed | exits5) type=5 ;;
server54 | exits54) type=54 ;;
*)
    echo "$0: unknown mode $mode" >&2
    exit 2
    ;;
esac

server_started=0
stop_server() {
    if [ "$server_started" = 1 ]; then "$source_dir/tools/private_speech_server.sh" stop "$server_dir"; fi
    if [ -n "${xvfb:-}" ]; then kill "$xvfb" 2>/dev/null; fi
}
trap stop_server EXIT

if [ "$type" != 4 ]; then
    address=$("$source_dir/tools/private_speech_server.sh" start "$server_dir")
    status=$?
    if [ "$status" -eq 3 ]; then skip "speech-dispatcher, its modules or PulseAudio are missing"; fi
    [ "$status" -eq 0 ] || fail "the private speech-dispatcher did not start"
    server_started=1
    export "$address"
    if [ "$type" = 54 ] && ! grep -q '"rhvoice"' "$server_dir/conf/speechd.conf"; then
        skip "the RHVoice output module is missing (Debian: speech-dispatcher-rhvoice)"
    fi
fi

run_game() {
    (
        cd "$out" || exit 2
        exec env FUGA_CLOCK="2026-01-05 10:00:00" TZ=UTC FUGA_BACKEND=headless FUGA_VOICES=system \
            FUGA_KEYS="$keys" FUGA_SCREEN_LOG="$out/game.screen" FUGA_SOUND_LOG="$out/game.sound" \
            TALUNE_HOME="$build/data-type$type" timeout -k 5 120 "$binary" -r </dev/null >"$out/game.stdout" \
            2>"$out/game.stderr"
    )
}

server_log="$server_dir/log/speech-dispatcher.log"
# The texts the server was given, in order (its log at level 5).
server_texts() {
    sed -n 's/.*New buf is now: |\(.*\)|$/\1/p' "$server_log"
}

# Waits until the server has been given more than $1 texts (at most $2 s,
# default 60).
wait_for_texts() {
    local polls
    polls=$(awk -v s="${2:-60}" 'BEGIN { printf "%d", s * 20 + 1 }')
    for _ in $(seq "$polls"); do
        [ "$(server_texts 2>/dev/null | wc -l)" -gt "$1" ] && return 0
        sleep 0.05
    done
    return 1
}

# Waits up to 3 s for process $1 to end (a zombie has ended); kills it when
# it did not.
ends_in_time() {
    local state
    for _ in $(seq 60); do
        state=$(ps -o stat= -p "$1" 2>/dev/null)
        case "$state" in "" | Z*) return 0 ;; esac
        sleep 0.05
    done
    kill -9 "$1" 2>/dev/null
    return 1
}

failures=0
# Checks one way out: way_out_result NAME ENDED STATUS EXPECTED
way_out_result() {
    if [ "$2" != yes ]; then
        echo "$mode: $1: still running 3 s after the way out" >&2
        failures=$((failures + 1))
    elif [ "$3" != "$4" ]; then
        echo "$mode: $1: ended with $3, expected $4" >&2
        failures=$((failures + 1))
    else
        echo "$mode: $1: ended with $3"
    fi
}

game_env=(env FUGA_CLOCK="2026-01-05 10:00:00" TZ=UTC TALUNE_HOME="$build/data-type$type"
    PULSE_SERVER="unix:$server_dir/pulse/native" SDL_AUDIODRIVER=pulseaudio)

# The first text the game hands to the server is the echo of a command.
command_text="pegar paralelepipedo"

# Headless: the key script's Ctrl+Break or close request comes at the key
# the game reads after the first text; a signal comes as soon as the server
# has the first text of the whole escape.
headless_way_out() {
    local name=headless_$1 keys=$out/$1.keys before pid ended=yes status
    case "$1" in
    close*) printf '%s\n' "$command_text" >"$keys" ;;
    break) printf '%s\n{Break}' "$command_text" >"$keys" ;;
    *) keys=$e2e/voices_type4_escape.keys ;;
    esac
    before=$(server_texts | wc -l)
    (cd "$out" && exec env FUGA_CLOCK="2026-01-05 10:00:00" TZ=UTC FUGA_BACKEND=headless FUGA_VOICES=system \
        FUGA_KEYS="$keys" TALUNE_HOME="$build/data-type$type" "$binary" -r </dev/null >/dev/null \
        2>"$out/$name.stderr") &
    pid=$!
    wait_for_texts "$before" || fail "$name: the server never got a text"
    case "$1" in
    close* | break) ;;
    *) kill -s "$1" "$pid" ;;
    esac
    ends_in_time "$pid" || ended=no
    wait "$pid"
    status=$?
    way_out_result "$name" "$ended" "$status" "$2"
}

# Types text and Enter into the tmux pane at socket $1, 50 ms apart.
type_in_pane() {
    local text=$2 i
    for ((i = 0; i < ${#text}; ++i)); do
        tmux -S "$1" send-keys -l "${text:i:1}" || return 1
        sleep 0.05
    done
    tmux -S "$1" send-keys Enter
}

# Terminal: the game in a tmux pane, under a shell that writes down its
# exit code.
terminal_way_out() {
    local name=terminal_$1 socket=$out/tmux.sock status_file=$out/terminal_$1.status before shell pid="" ended=yes
    before=$(server_texts | wc -l)
    rm -f "$status_file"
    tmux -S "$socket" -f /dev/null new-session -d -x 100 -y 30 "cd $(printf %q "$out") && \
$(printf '%q ' "${game_env[@]}") FUGA_BACKEND=terminal $(printf %q "$binary") -r 2>$(printf %q "$out/$name.stderr"); \
echo \$? >$(printf %q "$status_file"); sleep 600" || fail "tmux did not start"
    shell=$(tmux -S "$socket" display-message -p '#{pane_pid}')
    for _ in $(seq 100); do
        pid=$(pgrep -P "$shell")
        [ -n "$pid" ] && break
        sleep 0.05
    done
    [ -n "$pid" ] || fail "$name: the game did not start"
    # Typed as a player types, key by key: the first key cuts the speech and
    # the turn's tone drops it with whatever else came over the speech; the
    # rest of the command then reaches the prompt, and the game speaks its
    # answer with the system voice. Sent in one burst, the whole command
    # came before the tone and was dropped, and the Enter sent after it
    # came after the tone and asked for the examples, which the next burst
    # cut in the same way. Typed again until the server gets a text.
    for _ in $(seq 10); do
        type_in_pane "$socket" "$command_text" || break
        wait_for_texts "$before" 2 && break
    done
    if ! wait_for_texts "$before" 0.1; then
        tmux -S "$socket" capture-pane -p >"$out/$name.pane"
        fail "$name: the server never got a text (the screen is in $out/$name.pane)"
    fi
    case "$1" in
    close) tmux -S "$socket" send-keys M-F4 ;;
    *) kill -s "$1" "$pid" ;;
    esac
    ends_in_time "$pid" || ended=no
    for _ in $(seq 100); do
        [ -s "$status_file" ] && break
        sleep 0.05
    done
    tmux -S "$socket" kill-server 2>/dev/null
    way_out_result "$name" "$ended" "$(cat "$status_file" 2>/dev/null)" "$2"
}

# Window: the game on a display of its own, keys typed with xdotool.
window_way_out() {
    local name=window_$1 before pid ended=yes status
    before=$(server_texts | wc -l)
    (cd "$out" && exec "${game_env[@]}" DISPLAY=":$display" FUGA_BACKEND=sdl "$binary" -r </dev/null >/dev/null \
        2>"$out/$name.stderr") &
    pid=$!
    DISPLAY=":$display" timeout 10 xdotool search --sync --name FUGA windowfocus --sync >/dev/null
    for _ in $(seq 60); do
        DISPLAY=":$display" xdotool type --delay 5 "$command_text" && DISPLAY=":$display" xdotool key Return
        wait_for_texts "$before" 2 && break
    done
    wait_for_texts "$before" 0.1 || fail "$name: the server never got a text"
    case "$1" in
    close | break)
        local key=alt+F4
        [ "$1" = break ] && key=ctrl+Pause
        DISPLAY=":$display" xdotool key "$key" ;;
    *) kill -s "$1" "$pid" ;;
    esac
    ends_in_time "$pid" || ended=no
    wait "$pid"
    status=$?
    way_out_result "$name" "$ended" "$status" "$2"
}

if [ "$mode" = exits5 ] || [ "$mode" = exits54 ]; then
    # A connection left open held a lock that the exit waited for now and
    # then: the headless close is made twice.
    for i in 1 2; do headless_way_out close$i 0; done
    headless_way_out break 255
    if command -v tmux >/dev/null; then
        terminal_way_out close 0
        terminal_way_out HUP 0
        terminal_way_out TERM 255
        terminal_way_out INT 255
    else
        skip "tmux is missing"
    fi
    if command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
        display=$((80 + type))
        while [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
        Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb=$!
        for _ in $(seq 100); do [ -S "/tmp/.X11-unix/X$display" ] && break; sleep 0.05; done
        window_way_out close 0
        window_way_out break 255
        window_way_out TERM 255
        kill "$xvfb"
        wait "$xvfb" 2>/dev/null
    else
        skip "Xvfb or xdotool is missing"
    fi
    [ "$failures" -eq 0 ] || fail "$failures ways out did not end the game as they should"
    echo "$mode: ok"
    exit 0
fi

if [ "$mode" = killed ]; then
    run_game &
    game=$!
    first=$(grep -m1 '^ext ' "$e2e/voices_type4_escape.sound" | cut -c5-)
    for _ in $(seq 600); do
        server_texts 2>/dev/null | grep -qxF "$first" && break
        sleep 0.05
    done
    server_texts | grep -qxF "$first" || fail "the server never got the first text \"$first\""
    kill -0 "$game" 2>/dev/null || fail "the game ended before the server could be killed"
    kill -9 "$("$source_dir/tools/private_speech_server.sh" pid "$server_dir")" || fail "no server to kill"
    wait "$game"
    status=$?
else
    run_game
    status=$?
fi

if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "$mode: its sound log ends with:" >&2
    tail -n 3 "$out/game.sound" >&2
    fail "the game did not end within 120 s"
fi
[ "$status" -eq 0 ] || fail "the game ended with code $status (see $out/game.stderr)"
diff -u --label "expected screen" --label "actual screen" "$e2e/voices_type4_escape.screen" "$out/game.screen" ||
    fail "the game went otherwise than the silent one"

grep '^ext ' "$e2e/voices_type4_escape.sound" | cut -c5- >"$out/expected.texts"
grep '^ext ' "$out/game.sound" | cut -c5- >"$out/handed.texts"

case "$mode" in
espeak)
    diff -u --label expected --label handed "$out/expected.texts" "$out/handed.texts" ||
        fail "the texts handed to the synthesizer differ"
    # Each text's own samples (16-bit, unlike the own reader's 8-bit sounds)
    # reach the sound device before the next text is spoken.
    awk '
        /^ext / { if (pending != "") { print "no sound came back for \"" pending "\""; bad = 1 } pending = substr($0, 5) }
        /^image [0-9]+ [0-9]+ 16 1$/ { pending = "" }
        /^say / { if (pending != "") { print "no sound came back for \"" pending "\""; bad = 1 } pending = "" }
        END { if (pending != "") { print "no sound came back for \"" pending "\""; bad = 1 } exit bad }
    ' "$out/game.sound" || fail "the espeak-ng library did not speak every text"
    ;;
server5 | server54)
    diff -u --label expected --label handed "$out/expected.texts" "$out/handed.texts" ||
        fail "the texts handed to the server differ"
    # A text the output module dropped is sent once more: the server's log
    # then shows it again right after itself.
    server_texts >"$out/server.texts"
    awk -v handed="$out/handed.texts" '
        { got[++n] = $0 }
        END {
            while ((getline line <handed) > 0) want[++m] = line
            j = 1
            for (i = 1; i <= n; ++i) {
                if (j <= m && got[i] == want[j]) { ++j; continue }
                if (j > 1 && got[i] == want[j - 1]) { ++again; continue }
                print "the server got \"" got[i] "\" where \"" want[j] "\" was due"; exit 1
            }
            if (j <= m) { print "the server never got \"" want[j] "\""; exit 1 }
            if (again) print again " texts were sent once more"
        }' "$out/server.texts" || fail "the server's log does not show the texts in order"
    module=espeak-ng
    [ "$type" = 54 ] && module=rhvoice
    count=$(grep -c "In queue_message desired output module is $module$" "$server_log")
    [ "$count" -eq "$(wc -l <"$out/server.texts")" ] ||
        fail "$count of $(wc -l <"$out/server.texts") texts went to the $module module"
    ;;
killed)
    # Once the server is gone, every later text is read by the own reader:
    # its "say" line is no longer followed by an "ext" line.
    awk '
        /^say / { if (said != "") lost = 1; said = substr($0, 5); next }
        /^ext / { if (lost) { print "\"" substr($0, 5) "\" went to the dead server"; bad = 1 } said = ""; next }
        { if (said != "") lost = 1; said = "" }
        END { if (!lost) { print "no text fell back to the own reader"; bad = 1 } exit bad }
    ' "$out/game.sound" || fail "the game did not fall back to its own reader"
    ;;
esac
echo "$mode: ok"
