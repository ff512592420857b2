#!/bin/bash
# Key scripts that are not files of keys: an endless device and a directory.
# Each must be refused with a message naming it and exit code 2, neither
# read until memory runs out nor taken as an empty script.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
check() {
    local what=$1 path=$2 words=$3
    # The memory limit turns an unbounded read into a quick failure.
    (ulimit -v 2000000; env -u DISPLAY -u WAYLAND_DISPLAY FUGA_BACKEND=headless FUGA_KEYS="$path" \
        FUGA_SCREEN_LOG="$work/screen" timeout -k 5 30 "$program" </dev/null >/dev/null 2>"$work/err")
    local code=$?
    if [ "$code" -ne 2 ]; then
        echo "$what: exit code $code, expected 2"; cat "$work/err"; failed=1
    elif ! grep -q "$path" "$work/err" || ! grep -q "$words" "$work/err"; then
        echo "$what: standard error does not say why:"; cat "$work/err"; failed=1
    elif [ -e "$work/screen" ]; then
        echo "$what: the game ran (a screen log was written)"; failed=1
    fi
}
check "endless device" /dev/zero "longer than"
mkdir "$work/keys"
check "directory" "$work/keys" "is a directory"
[ "$failed" -eq 0 ] && echo "ok: both refused with exit code 2 and a reason"
exit "$failed"
