# Shared by the tests that run the Windows program under Wine on a virtual X
# display; sourced. WINEPREFIX names the prefix to use (made by
# tools/wine_prefix.sh); without it a prefix is made in the test's output
# directory, as a copy of FUGA_WINE_TEMPLATE when that names the build's.

# wine_test_prepare NAME OUT_DIR TOOL...: checks the tools, empties OUT_DIR
# and makes the prefix when none is named.
wine_test_prepare() {
    local name=$1 out=$2 tool
    shift 2
    for tool in wine wineserver xvfb-run xdotool "$@"; do
        command -v "$tool" >/dev/null || { echo "$name: $tool is not installed" >&2; exit 1; }
    done
    rm -rf "$out"
    mkdir -p "$out"
    if [ -z "${WINEPREFIX:-}" ]; then
        export WINEPREFIX="$out/prefix"
        "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine_prefix.sh" "$WINEPREFIX" ${FUGA_WINE_TEMPLATE:+"$FUGA_WINE_TEMPLATE"} >/dev/null
    fi
}

# wine_test_inside SCRIPT ARGS...: runs the script again on a display of its
# own; true once it runs there.
wine_test_inside() {
    [ -n "${FUGA_XVFB_INSIDE:-}" ] && return 0
    FUGA_XVFB_INSIDE=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$@"
}

# wine_test_window PID: the program's window once it is shown (its title is
# the program's path), focused; empty when none came within a minute.
wine_test_window() {
    local window
    window=$(timeout 60 xdotool search --sync --name 'fuga\.exe' | head -1) || true
    [ -n "$window" ] && xdotool windowfocus --sync "$window" 2>/dev/null || true
    echo "$window"
}

# wine_test_sound_server DIR [RATE]: starts a private PulseAudio server with
# one null sink "fuga_null" (mono, RATE samples per second, 48000 when not
# given) whose socket is in DIR, and points PULSE_SERVER at it. Its process
# id is in WINE_TEST_SOUND_PID; false when it did not start.
wine_test_sound_server() {
    local dir=$1 rate=${2:-48000}
    mkdir -p "$dir"
    chmod 700 "$dir"
    HOME="$dir" XDG_RUNTIME_DIR="$dir" pulseaudio -n --daemonize=no --use-pid-file=no --exit-idle-time=-1 \
        --disallow-exit --log-target=stderr -L "module-null-sink sink_name=fuga_null rate=$rate channels=1" \
        -L "module-native-protocol-unix socket=$dir/native auth-anonymous=1" 2>"$dir/pulseaudio.log" &
    WINE_TEST_SOUND_PID=$!
    export PULSE_SERVER="unix:$dir/native"
    for _ in $(seq 100); do [ -S "$dir/native" ] && return 0; sleep 0.05; done
    return 1
}
