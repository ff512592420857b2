#!/bin/bash
# Logs asked for but lost: a log that cannot be created must be reported on
# standard error at the start, and one that could not be written whole at
# exit; a log that is written must not be reported.
#
#   lost_logs.sh FUGA_BINARY BUILD_DIR
set -u
program=$1
build=$(cd "$2" && pwd) || exit 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'norte\n' >"$work/keys"
home="$build/data"
[ -f "$home/TALUNE.INI" ] || home="$work"

failed=0
# run NAME SCREEN_LOG SOUND_LOG PATTERN...: each PATTERN must be on standard
# error; with none, standard error must say nothing about logs.
run() {
    local name=$1 screen=$2 sound=$3
    shift 3
    (cd "$work" && env TALUNE_HOME="$home" FUGA_BACKEND=headless FUGA_KEYS="$work/keys" \
        FUGA_SCREEN_LOG="$screen" FUGA_SOUND_LOG="$sound" timeout -k 5 60 "$program" -r \
        </dev/null >/dev/null 2>"$work/$name.err")
    local code=$? problems=()
    [ "$code" -eq 0 ] || problems+=("exit code $code")
    if [ $# -eq 0 ]; then
        grep -q 'log' "$work/$name.err" && problems+=("a log was reported although it was written")
    fi
    for pattern in "$@"; do
        grep -qF -- "$pattern" "$work/$name.err" || problems+=("standard error lacks: $pattern")
    done
    if [ ${#problems[@]} -gt 0 ]; then
        echo "$name: ${problems[*]}"; echo "--- stderr"; cat "$work/$name.err"
        failed=1
    else
        echo "$name: ok"
    fi
}

run written "$work/s.screen" "$work/s.sound"
[ -s "$work/s.screen" ] && [ -s "$work/s.sound" ] || { echo "written: the logs are empty"; failed=1; }
run missing_directory "$work/no/such/s.screen" "$work/no/such/s.sound" \
    "the screen log FUGA_SCREEN_LOG cannot be created: $work/no/such/s.screen" \
    "the sound log FUGA_SOUND_LOG cannot be created: $work/no/such/s.sound"
run full_device /dev/full /dev/full \
    "the screen log FUGA_SCREEN_LOG could not be written whole: /dev/full" \
    "the sound log FUGA_SOUND_LOG could not be written whole: /dev/full"
exit "$failed"
