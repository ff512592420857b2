#!/bin/bash
# The Wine session of a test run of the Windows build:
#
#   wine_session.sh start PREFIX TEMPLATE KEEPER
#       PREFIX becomes a fresh copy of the build's prefix TEMPLATE (made
#       first when there is none, see tools/wine_prefix.sh); one wineserver
#       starts there and stays for the whole run, with Wine's services and
#       its desktop process, which KEEPER (wine_keeper.exe) holds
#   wine_session.sh stop PREFIX
#       ends that server and every program in it
#
# Every test then starts its program in the running server instead of
# paying for a server of its own. Wine's own processes are started here, with
# their output going nowhere: one started by a test's program would keep the
# test's output open, and ctest would wait for it after the test ended.
set -euo pipefail
usage() {
    echo "usage: $0 start PREFIX TEMPLATE KEEPER | stop PREFIX" >&2
    exit 2
}
[ $# -ge 2 ] || usage
prefix=$(realpath -m "$2")
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
case $1 in
start)
    [ $# -eq 4 ] || usage
    "$(dirname "$0")/../../tools/wine_prefix.sh" "$prefix" "$3" >/dev/null
    # It stays two minutes after its last program, not for ever, should the
    # stop never come (an interrupted run).
    wineserver -p120 </dev/null >/dev/null 2>&1
    ready=$prefix/keeper-ready
    rm -f "$ready"
    # The keeper ends itself after two hours, for the same reason.
    DISPLAY= nohup wine "$4" 7200 "Z:${ready//\//\\}" </dev/null >/dev/null 2>&1 &
    for _ in $(seq 600); do
        [ -e "$ready" ] && break
        sleep 0.1
    done
    [ -e "$ready" ] || { echo "wine session: the desktop did not start within a minute" >&2; exit 1; }
    echo "wine session: prefix $prefix, server and desktop running"
    ;;
stop)
    [ $# -eq 2 ] || usage
    wineserver -k 2>/dev/null || true
    echo "wine session: server ended"
    ;;
*)
    usage
    ;;
esac
