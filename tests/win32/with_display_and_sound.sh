#!/bin/bash
# Runs a Windows test program under Wine on a virtual X display of its own,
# in a prefix of its own (a shared prefix's desktop may have no display) and
# with a private sound server, so that the window and sound device tests run
# instead of skipping.
# Usage: with_display_and_sound.sh OUT_DIR PROGRAM ARGS...
# WINEPREFIX names the prefix to use (see wine_test.sh).
set -euo pipefail
if [ $# -lt 2 ]; then
    echo "usage: $0 OUT_DIR PROGRAM ARGS..." >&2
    exit 2
fi
out=$(realpath -m "$1")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_test.sh"
if [ -z "${FUGA_XVFB_INSIDE:-}" ]; then
    wine_test_prepare with_display_and_sound "$out" pulseaudio
fi
wine_test_inside "$0" "$@"
shift
cleanup() {
    kill "${WINE_TEST_SOUND_PID:-}" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
export WINEDEBUG=-all
# A server left from another display would have no window on ours.
wineserver -k 2>/dev/null || true
wine_test_sound_server "$out/pulse" || { echo "with_display_and_sound: the sound server did not start" >&2; exit 1; }
wine "$@"
