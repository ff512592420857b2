#!/bin/bash
# Makes a fresh Wine prefix for running the Windows program and its tests:
#
#   tools/wine_prefix.sh DIR
#
# 64-bit, without the Mono and Gecko installers (nothing here needs .NET or
# an HTML engine), without a window manager's part in windows (so that a
# window's end does not wait for one), and without the crash dialog (a test
# that crashes fails instead of waiting for someone to click). An existing
# DIR is removed first. Prints nothing on success but the prefix's path.
set -euo pipefail

if [ $# -ne 1 ] || [ -z "$1" ]; then
    echo "usage: $0 DIR" >&2
    exit 2
fi
for tool in wine wineserver; do
    if ! command -v "$tool" >/dev/null; then
        echo "wine_prefix: $tool is not installed (Debian packages wine and wine64)" >&2
        exit 1
    fi
done
prefix=$(realpath -m "$1")
case "$prefix" in
/ | "$HOME" | /root | /tmp) echo "wine_prefix: refusing to use $prefix as a prefix" >&2; exit 2 ;;
esac

export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
# A prefix of a server still running would be reused by it: end that one.
if [ -d "$prefix" ]; then
    wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
fi
mkdir -p "$prefix"
# No display is needed to make the prefix.
DISPLAY= wineboot --init >/dev/null 2>&1
reg_add() { DISPLAY= wine reg add "$@" /f >/dev/null 2>&1; }
reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
reg_add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N
reg_add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
wineserver -w
echo "$prefix"
