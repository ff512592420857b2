#!/bin/bash
# Makes a fresh Wine prefix for running the Windows program and its tests:
#
#   tools/wine_prefix.sh DIR            made by Wine's first start
#   tools/wine_prefix.sh DIR TEMPLATE   a copy of TEMPLATE, a prefix this
#                                       script made before (made first when
#                                       it is not there yet, or was left
#                                       unfinished or by another Wine)
#
# Wine's first start takes some 15 s on an idle machine and minutes on a
# loaded one; a copy takes a second or two, so a build makes its prefix once
# and every test run and test with a prefix of its own copies it.
# 64-bit, without the Mono and Gecko installers (nothing here needs .NET or
# an HTML engine), without a window manager's part in windows (so that a
# window's end does not wait for one), and without the crash dialog (a test
# that crashes fails instead of waiting for someone to click). An existing
# DIR is removed first. Prints nothing on success but the prefix's path.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ] || [ -z "$1" ]; then
    echo "usage: $0 DIR [TEMPLATE]" >&2
    exit 2
fi
for tool in wine wineserver; do
    if ! command -v "$tool" >/dev/null; then
        echo "wine_prefix: $tool is not installed (Debian packages wine and wine64)" >&2
        exit 1
    fi
done
# refuse DIR: true, and says why, when DIR cannot be a prefix.
refuse() {
    case "$1" in
    / | "$HOME" | /root | /tmp) echo "wine_prefix: refusing to use $1 as a prefix" >&2; return 0 ;;
    esac
    return 1
}
prefix=$(realpath -m "$1")
refuse "$prefix" && exit 2
template=""
if [ $# -eq 2 ]; then
    template=$(realpath -m "$2")
    refuse "$template" && exit 2
    [ "$template" != "$prefix" ] || { echo "wine_prefix: DIR and TEMPLATE are the same" >&2; exit 2; }
fi

export WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
# The mark of a finished prefix: written last, naming the Wine that made it.
ready_mark=.fuga-prefix-ready
wine_made=$(wine --version 2>/dev/null | head -1)

# empty DIR: ends the server of a prefix still in use there (it would keep
# using the removed files) and removes it.
empty() {
    if [ -d "$1" ]; then
        WINEPREFIX=$1 wineserver -k 2>/dev/null || true
        rm -rf "$1"
    fi
}

# make DIR: a fresh prefix by Wine's first start.
make_prefix() {
    local dir=$1
    empty "$dir"
    mkdir -p "$dir"
    export WINEPREFIX=$dir
    # No display is needed to make the prefix.
    DISPLAY= wineboot --init >/dev/null 2>&1
    reg_add() { DISPLAY= wine reg add "$@" /f >/dev/null 2>&1; }
    reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
    reg_add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N
    reg_add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
    # The registry is on disk once the server has ended.
    wineserver -w
    echo "$wine_made" >"$dir/$ready_mark"
}

if [ -z "$template" ]; then
    make_prefix "$prefix"
else
    mkdir -p "$(dirname "$template")"
    # One maker at a time; the others wait and copy what it made.
    exec 9>"$template.lock"
    flock 9
    if [ "$(cat "$template/$ready_mark" 2>/dev/null)" != "$wine_made" ]; then
        make_prefix "$template" >/dev/null
    fi
    empty "$prefix"
    cp -a "$template" "$prefix"
    exec 9>&-
fi
echo "$prefix"
