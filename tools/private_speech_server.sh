#!/bin/bash
# A speech-dispatcher of its own for tests and benchmarks, so that nothing
# of the user's session is needed or disturbed: a private runtime and
# configuration directory, the espeak-ng and RHVoice output modules, and the
# sound going to the null sink of a private PulseAudio, which consumes it in
# real time on a machine without a sound card.
#
#   private_speech_server.sh start DIR   starts both; prints the line
#                                        SPEECHD_ADDRESS=... that reaches it
#   private_speech_server.sh stop DIR    stops what start left running
#   private_speech_server.sh pid DIR     the server's process id
#
# The server logs every message it is given to DIR/log/speech-dispatcher.log.
# Settings a user could make in the server's or the espeak-ng module's own
# configuration are added from FUGA_SPEECHD_SETTINGS and
# FUGA_SPEECHD_ESPEAK_SETTINGS (lines added at the end of those files), so
# that their effect can be measured.
# Exit code 3: a component is missing (the message names its Debian package);
# 1: it did not come up (the logs in DIR say why). Each daemon ends by itself
# after FUGA_SPEECH_SERVER_LIFETIME seconds (default 900) should stop never
# be called.
set -u

if [ $# -ne 2 ]; then
    echo "usage: $0 start|stop|pid DIR" >&2
    exit 2
fi
action=$1
mkdir -p "$2" || exit 1
dir=$(cd "$2" && pwd)
lifetime=${FUGA_SPEECH_SERVER_LIFETIME:-900}
modules_dir=/usr/lib/speech-dispatcher-modules

# Waits up to 10 s for a socket to appear.
wait_for_socket() {
    for _ in $(seq 100); do
        [ -S "$1" ] && return 0
        sleep 0.1
    done
    return 1
}

stop_pid_file() {
    [ -f "$1" ] || return 0
    local pid
    pid=$(cat "$1")
    rm -f "$1"
    [ -n "$pid" ] || return 0
    kill "$pid" 2>/dev/null || return 0
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null
    return 0
}

case "$action" in
stop)
    stop_pid_file "$dir/speechd.pid"
    stop_pid_file "$dir/pulse.pid"
    exit 0
    ;;
pid)
    cat "$dir/run/speechd.pid" 2>/dev/null
    exit
    ;;
start) ;;
*)
    echo "$0: unknown action $action" >&2
    exit 2
    ;;
esac

missing() {
    echo "$0: $1 is not installed (Debian: $2)" >&2
    exit 3
}
command -v speech-dispatcher >/dev/null || missing speech-dispatcher speech-dispatcher
command -v pulseaudio >/dev/null || missing pulseaudio pulseaudio
[ -x "$modules_dir/sd_espeak-ng" ] || missing "the espeak-ng output module" speech-dispatcher-espeak-ng
compgen -G "/usr/lib/*/speech-dispatcher/spd_pulse.so" >/dev/null ||
    missing "the server's PulseAudio output" speech-dispatcher-audio-plugins

"$0" stop "$dir"
rm -rf "$dir/run" "$dir/pulse" "$dir/conf" "$dir/log" "$dir/home"
mkdir -p "$dir/run" "$dir/pulse" "$dir/conf" "$dir/log" "$dir/home" || exit 1
chmod 700 "$dir/run" "$dir/pulse"
mkdir -p "$dir/conf/modules" || exit 1
for conf in /etc/speech-dispatcher/modules/*.conf; do ln -s "$conf" "$dir/conf/modules/"; done
if [ -n "${FUGA_SPEECHD_ESPEAK_SETTINGS:-}" ]; then
    rm -f "$dir/conf/modules/espeak-ng.conf"
    { cat /etc/speech-dispatcher/modules/espeak-ng.conf; printf '%s\n' "$FUGA_SPEECHD_ESPEAK_SETTINGS"; } \
        >"$dir/conf/modules/espeak-ng.conf"
fi
rhvoice_module=""
if [ -x "$modules_dir/sd_rhvoice" ]; then
    rhvoice_module='AddModule "rhvoice" "sd_rhvoice" "rhvoice.conf"'
fi
cat >"$dir/conf/speechd.conf" <<EOF
# Written by private_speech_server.sh. Level 5 logs each message's text.
LogLevel 5
LogDir "$dir/log"
AudioOutputMethod "pulse"
AudioPulseDevice "fuga_null"
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
$rhvoice_module
DefaultModule espeak-ng
DefaultLanguage "pt-br"
${FUGA_SPEECHD_SETTINGS:-}
EOF

export HOME="$dir/home"
export PULSE_SERVER="unix:$dir/pulse/native"
unset DISPLAY DBUS_SESSION_BUS_ADDRESS
# Starts a daemon for its lifetime and waits for its socket:
#   start_daemon NAME RUNTIME_DIR SOCKET COMMAND...
start_daemon() {
    local name=$1 runtime=$2 socket=$3
    shift 3
    XDG_RUNTIME_DIR="$runtime" timeout -k 5 "$lifetime" "$@" >"$dir/log/$name-output.log" 2>&1 </dev/null &
    echo $! >"$dir/$name.pid"
    if ! wait_for_socket "$socket"; then
        echo "$0: $name did not start (see $dir/log)" >&2
        "$0" stop "$dir"
        exit 1
    fi
}
start_daemon pulse "$dir/pulse" "$dir/pulse/native" pulseaudio -n --daemonize=no --use-pid-file=no \
    --exit-idle-time=-1 --disallow-exit --log-target=stderr \
    -L "module-null-sink sink_name=fuga_null" \
    -L "module-native-protocol-unix socket=$dir/pulse/native auth-anonymous=1"
start_daemon speechd "$dir/run" "$dir/run/speechd.sock" speech-dispatcher -s -t 0 -C "$dir/conf" \
    -c unix_socket -S "$dir/run/speechd.sock" -P "$dir/run/speechd.pid" -L "$dir/log"
echo "SPEECHD_ADDRESS=unix_socket:$dir/run/speechd.sock"
