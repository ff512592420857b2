#!/bin/bash
# The Wine session of a test run of the Windows build:
#
#   wine_session.sh start PREFIX   makes a fresh prefix and starts one
#                                  wineserver that stays for the whole run
#   wine_session.sh stop PREFIX    ends that server
#
# Every test then starts its program in the running server instead of
# paying for a server of its own.
set -euo pipefail
if [ $# -ne 2 ]; then
    echo "usage: $0 start|stop PREFIX" >&2
    exit 2
fi
prefix=$2
export WINEPREFIX=$prefix WINEDEBUG=-all
case $1 in
start)
    "$(dirname "$0")/../../tools/wine_prefix.sh" "$prefix" >/dev/null
    # It stays two minutes after its last program, not for ever, should the
    # stop never come (an interrupted run).
    wineserver -p120
    # The server answers once the prefix's first program can start.
    DISPLAY= wine cmd /c exit 0 >/dev/null 2>&1
    echo "wine session: prefix $prefix, server running"
    ;;
stop)
    wineserver -k 2>/dev/null || true
    echo "wine session: server ended"
    ;;
*)
    echo "usage: $0 start|stop PREFIX" >&2
    exit 2
    ;;
esac
