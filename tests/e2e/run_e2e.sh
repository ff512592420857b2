#!/bin/bash
# Replays one key script headless and compares the run with its expected
# transcripts.
#
#   run_e2e.sh FUGA_BINARY SCRIPT.keys BUILD_DIR
#
# Beside SCRIPT.keys, all optional:
#   NAME.args    one line of command-line arguments (split on blanks)
#   NAME.env     lines KEY=VALUE added to the environment ("#" starts a
#                comment line); @BUILD@ and @SOURCE@ stand for the build and
#                source directories, also in NAME.args
#   NAME.screen  expected screen log (the build and source directories
#                written as @BUILD@ and @SOURCE@)
#   NAME.sound   expected sound log
#   NAME.exit    expected exit code (default 0)
#   NAME.stderr  expected standard error, with the build and source
#                directories written as @BUILD@ and @SOURCE@
#   NAME.tool    (read by CMake) a program of tools/ to run instead of the game
# The logs are written to BUILD_DIR/e2e/NAME.screen and NAME.sound. The run
# starts in BUILD_DIR/e2e with FUGA_CLOCK="2026-01-05 10:00:00" and TZ=UTC
# unless NAME.env says otherwise, so runs that read the clock repeat. When
# BUILD_DIR/play exists (it points the program at the installation data the
# build made) the program is started through it.
# FUGA_E2E_UPDATE=1 copies the logs of this run over the expected files
# that exist, for review with git diff.
# For the Windows program: FUGA_E2E_EMULATOR names the command that runs it
# (a Wine starter), FUGA_E2E_DATA_BUILD the build directory whose generated
# data @BUILD@ stands for in NAME.env and NAME.args (the Linux build's); in
# the logs, paths the program wrote in Windows form (Z:\dir\file) are
# compared in their Linux form, and line ends in the CR LF form of Windows
# standard error as plain line ends.
set -u

if [ $# -ne 3 ]; then
    echo "usage: $0 FUGA_BINARY SCRIPT.keys BUILD_DIR" >&2
    exit 2
fi
binary=$1
script=$2
build=$(cd "$3" && pwd) || exit 2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
data_build=$build
if [ -n "${FUGA_E2E_DATA_BUILD:-}" ]; then
    data_build=$(cd "$FUGA_E2E_DATA_BUILD" && pwd) || exit 2
fi
emulator=()
if [ -n "${FUGA_E2E_EMULATOR:-}" ]; then emulator=("$FUGA_E2E_EMULATOR"); fi
dir=$(cd "$(dirname "$script")" && pwd)
name=$(basename "$script" .keys)
base="$dir/$name"
out="$build/e2e"
mkdir -p "$out" || exit 2
screen="$out/$name.screen"
sound="$out/$name.sound"
errors="$out/$name.stderr"
rm -f "$screen" "$sound" "$errors"

substitute() {
    local s=$1
    s=${s//@BUILD@/$data_build}
    s=${s//@SOURCE@/$source_dir}
    printf '%s' "$s"
}

envs=("FUGA_CLOCK=2026-01-05 10:00:00" "TZ=UTC")
# The Windows program has no build/play to point it at the data.
if [ ${#emulator[@]} -gt 0 ]; then envs+=("TALUNE_HOME=$data_build/data"); fi
if [ -f "$base.env" ]; then
    lineno=0
    while IFS= read -r line || [ -n "$line" ]; do
        lineno=$((lineno + 1))
        line=${line%$'\r'}
        [[ -z "${line//[[:space:]]/}" || "$line" =~ ^[[:space:]]*# ]] && continue
        if ! [[ "$line" =~ ^[A-Za-z_][A-Za-z0-9_]*= ]]; then
            echo "$base.env:$lineno: not a KEY=VALUE line: $line" >&2
            exit 2
        fi
        envs+=("$(substitute "$line")")
    done <"$base.env"
fi

args=()
if [ -f "$base.args" ]; then
    IFS= read -r argline <"$base.args" || true
    argline=$(substitute "${argline%$'\r'}")
    read -r -a args <<<"$argline"
fi

expected_exit=0
if [ -f "$base.exit" ]; then
    expected_exit=$(tr -d '[:space:]' <"$base.exit")
    if ! [[ "$expected_exit" =~ ^[0-9]+$ ]]; then
        echo "$base.exit: not an exit code: $expected_exit" >&2
        exit 2
    fi
fi

program=("$binary")
if [ -x "$build/play" ] && [ "$(cd "$(dirname "$binary")" && pwd)/$(basename "$binary")" = "$build/fuga" ]; then
    program=("$build/play")
fi

(
    cd "$out" || exit 2
    if [ -f "$base.stderr" ]; then exec 2>"$errors.raw"; fi
    exec env "${envs[@]}" FUGA_BACKEND=headless FUGA_KEYS="$script" \
        FUGA_SCREEN_LOG="$screen" FUGA_SOUND_LOG="$sound" \
        timeout -k 5 60 "${emulator[@]}" "${program[@]}" "${args[@]}" </dev/null
)
status=$?
# Paths of this checkout in the logs are written as @BUILD@ and @SOURCE@,
# the longer first (the build directory may lie inside the source directory).
portable() {
    local rules=() windows=() length path label
    if [ ${#emulator[@]} -gt 0 ]; then
        windows=(-e 's/\r$//' -e ':unix' -e 's|Z:\\\([^ ]*\)\\|Z:\\\1/|' -e 't unix' -e 's|Z:\\|/|g')
    fi
    while read -r length path label; do
        rules+=(-e "s|$path|$label|g")
    done < <(for pair in "$build @BUILD@" "$data_build @BUILD@" "$source_dir @SOURCE@"; do
                 echo "${#pair} $pair"
             done | sort -rn)
    sed "${windows[@]}" "${rules[@]}" "$1" >"$2"
}
if [ -f "$errors.raw" ]; then
    portable "$errors.raw" "$errors"
    rm -f "$errors.raw"
fi
if [ -f "$screen" ]; then
    portable "$screen" "$screen.portable" && mv "$screen.portable" "$screen"
fi

failed=0
if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "$name: the program did not end within 60 s (status $status)"
    failed=1
elif [ "$status" -ne "$expected_exit" ]; then
    echo "$name: exit code $status, expected $expected_exit"
    failed=1
fi

for kind in screen sound stderr; do
    expected="$base.$kind"
    actual="$out/$name.$kind"
    [ -f "$expected" ] || continue
    if [ "${FUGA_E2E_UPDATE:-}" = 1 ] && [ -f "$actual" ]; then
        cp "$actual" "$expected"
        echo "$name: updated $expected"
        continue
    fi
    if [ ! -f "$actual" ]; then
        echo "$name: no $kind log was written (expected $expected)"
        failed=1
        continue
    fi
    if [ "$kind" = sound ]; then
        # On Windows a file found without regard to case is named as asked
        # for, not as stored: the case of "file" lines does not count there.
        if [ ${#emulator[@]} -gt 0 ]; then
            sed -e '/^file /s/.*/\U&/' -e 's/^FILE /file /' "$expected" >"$out/$name.sound.expected"
            sed -i -e '/^file /s/.*/\U&/' -e 's/^FILE /file /' "$actual"
            expected="$out/$name.sound.expected"
        fi
        # Synthesized images are compared by kind and length order only.
        if ! "$source_dir/tests/e2e/compare_sound.sh" "$expected" "$actual"; then
            echo "$name: the sound log differs from $expected"
            failed=1
        fi
    elif ! diff -u --label "expected $name.$kind" --label "actual $name.$kind" "$expected" "$actual"; then
        echo "$name: the $kind log differs from $expected"
        failed=1
    fi
done

if [ "$failed" -eq 0 ]; then echo "$name: ok"; fi
exit "$failed"
