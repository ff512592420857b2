#!/bin/bash
# Checks compare_sound.sh on pairs of logs that must agree and must not.
set -u
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d) || exit 2
trap 'rm -rf "$tmp"' EXIT
failures=0

expect() {  # expect 0|1 NAME EXPECTED-TEXT ACTUAL-TEXT
    printf '%s' "$3" >"$tmp/e"
    printf '%s' "$4" >"$tmp/a"
    "$here/compare_sound.sh" "$tmp/e" "$tmp/a" >"$tmp/out" 2>&1
    local got=$?
    if [ "$got" -ne "$1" ]; then
        echo "FAIL $2: exit $got, expected $1"; cat "$tmp/out"
        failures=$((failures + 1))
    fi
}

base=$'say 6\nimage 4436 11025 8 1\nfile 09.wav\ntone 440\n'
expect 0 same "$base" "$base"
expect 0 "synthesized length changed" "$base" $'say 6\nimage 3040 11025 8 1\nfile 09.wav\ntone 440\n'
expect 1 "image format changed" "$base" $'say 6\nimage 4436 22050 8 1\nfile 09.wav\ntone 440\n'
expect 1 "image far too short" "$base" $'say 6\nimage 1000 11025 8 1\nfile 09.wav\ntone 440\n'
expect 1 "empty image" "$base" $'say 6\nimage 0 11025 8 1\nfile 09.wav\ntone 440\n'
expect 1 "other recording" "$base" $'say 6\nimage 4436 11025 8 1\nfile 10.wav\ntone 440\n'
expect 1 "recordings in another order" $'file A.wav\nfile B.wav\n' $'file B.wav\nfile A.wav\n'
expect 1 "image where a recording was" "$base" $'say 6\nimage 4436 11025 8 1\nimage 4436 11025 8 1\ntone 440\n'
expect 1 "other text" "$base" $'say 7\nimage 4436 11025 8 1\nfile 09.wav\ntone 440\n'
expect 1 "other tone" "$base" $'say 6\nimage 4436 11025 8 1\nfile 09.wav\ntone 441\n'
expect 1 "log ends early" "$base" $'say 6\nimage 4436 11025 8 1\n'
expect 1 "log goes on" "$base" "${base}file X.wav"$'\n'
expect 1 "empty log" "$base" ""
rm -f "$tmp/a"
"$here/compare_sound.sh" "$tmp/e" "$tmp/a" >/dev/null 2>&1
[ $? -eq 2 ] || { echo "FAIL missing actual log not reported as 2"; failures=$((failures + 1)); }

[ "$failures" -eq 0 ] && echo "compare_sound: ok"
exit $((failures > 0))
