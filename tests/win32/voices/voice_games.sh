#!/bin/bash
# Whole games of the Windows program under Wine through its COM voices and
# mbrola.dll, with the stand-in engines registered in the test prefix:
#
#   voice_games.sh TYPE WINE_RUN FUGA_EXE TEST_BIN_DIR DATA_HOME [FAILING_CALL]
#
#   TYPE          3 (mbrola.dll), 4 (version 4 engine), 5 or 54 (version 5
#                 voice classes)
#   WINE_RUN      the command that runs a Windows program in the test prefix
#   FUGA_EXE      the Windows program
#   TEST_BIN_DIR  where the stand-in DLLs and register_standins.exe are, and
#                 the stand-in mbrola.dll in its voices/ folder
#   DATA_HOME     the folder whose TALUNE.INI the Linux game of that type
#                 reads (TALUNE_HOME)
#   FAILING_CALL  a call the engine fails (FUGA_STANDIN_FAIL; for type 3
#                 "registry": the registry names a voice the stand-in
#                 mbrola.dll refuses), so that the voice cannot start: the
#                 game must then speak with its own synthesizer, show the
#                 same screen and hand nothing over; or "endless": the
#                 engine never reports the end of a text, and the game must
#                 still go on to its end as with an engine that does
#
# The game plays the key script of the Linux game of the same type, with
# FUGA_VOICES=system so that every synthesized text reaches the engine. It
# must end with code 0, show the Linux game's screen and give its sound log
# line for line (type 3: its "ext" lines; the stand-in mbrola.dll makes
# sound of its own length), and the engine must have been handed every
# "ext" text, in order, as the bridge sends it (the engines record Latin-1,
# the logs are UTF-8).
set -u

if [ $# -ne 5 ] && [ $# -ne 6 ]; then
    echo "usage: $0 3|4|5|54 WINE_RUN FUGA_EXE TEST_BIN_DIR DATA_HOME [FAILING_CALL]" >&2
    exit 2
fi
type=$1
wine_run=$2
exe=$3
bin=$4
home=$5
failing=${6:-}
endless=
if [ "$failing" = endless ]; then
    endless=1
    failing=
fi
source_dir=$(cd "$(dirname "$0")/../../.." && pwd)
e2e="$source_dir/tests/e2e"
case "$type" in
3) name=mbrola_escape ;;
4 | 5 | 54) name=voices_type${type}_escape ;;
*)
    echo "$0: unknown type $type" >&2
    exit 2
    ;;
esac
out=$(mktemp -d "${TMPDIR:-/tmp}/voice_games.XXXXXX") || exit 2
trap 'rm -rf "$out"' EXIT

fail() {
    echo "type $type: $*"
    exit 1
}

"$wine_run" "$bin/register_standins.exe" >/dev/null 2>&1 || fail "the stand-in engines could not be registered"

# mbrola.dll is found beside the program, as a player installs it.
run_dir="$out/program"
mkdir -p "$run_dir"
cp "$exe" "$run_dir/fuga.exe"
if [ "$type" = 3 ]; then
    cp "$bin/voices/mbrola.dll" "$run_dir/mbrola.dll"
    # The voice's database is found through the registry, as installed.
    voice='C:\mbrola\br1\br1'
    if [ "$failing" = registry ]; then voice='C:\missing\br1\br1'; fi
    "$wine_run" reg add 'HKLM\SOFTWARE\TCTS\Mbrola\databases' /v br1 /t REG_SZ /d "$voice" /f >/dev/null 2>&1 ||
        fail "the MBROLA registry key could not be written"
fi

(
    cd "$out" || exit 2
    exec env FUGA_CLOCK="2026-01-05 10:00:00" TZ=UTC FUGA_BACKEND=headless FUGA_VOICES=system \
        FUGA_KEYS="$e2e/$name.keys" FUGA_SCREEN_LOG="$out/game.screen" \
        FUGA_SOUND_LOG="$out/game.sound" FUGA_STANDIN_LOG="$out/engine.log" \
        FUGA_STANDIN_FAIL="$failing" FUGA_STANDIN_NO_END="$endless" \
        TALUNE_HOME="$home" timeout -k 5 240 "$wine_run" "$run_dir/fuga.exe" -r </dev/null >"$out/game.stdout" 2>&1
)
status=$?
[ "$status" -eq 0 ] || fail "the game ended with code $status: $(tail -5 "$out/game.stdout")"
diff -u "$e2e/$name.screen" "$out/game.screen" >"$out/screen.diff" || fail "screen differs: $(head -40 "$out/screen.diff")"

if [ -n "$failing" ]; then
    if [ "$type" != 3 ]; then
        grep -q "(fails)" "$out/engine.log" || fail "the engine was not asked for $failing"
    fi
    ! grep -q '^ext ' "$out/game.sound" || fail "text went to a voice that did not start"
    grep -q '^image .* 11025 8 1$' "$out/game.sound" || fail "the own synthesizer did not speak"
    exit 0
fi

grep '^ext ' "$e2e/$name.sound" | sed 's/^ext //' >"$out/expected.ext"
if [ "$type" = 3 ]; then
    grep '^ext ' "$out/game.sound" | sed 's/^ext //' >"$out/game.ext"
    diff -u "$out/expected.ext" "$out/game.ext" >"$out/ext.diff" || fail "ext lines differ: $(head -40 "$out/ext.diff")"
    grep -q '^image .* 16000 16 1$' "$out/game.sound" || fail "no sound of mbrola.dll was played"
    exit 0
fi
diff -u "$e2e/$name.sound" "$out/game.sound" >"$out/sound.diff" || fail "sound log differs: $(head -40 "$out/sound.diff")"

# What the engine was handed: the version 4 bridge trims blanks and control
# characters, skips what is left empty and sends a lone digit as "7."; the
# version 5 bridges send every text, "" as one blank.
case "$type" in
4)
    awk '{ sub(/^[\001- ]+/, ""); sub(/[\001- ]+$/, ""); if ($0 == "") next; if ($0 ~ /^[0-9]$/) $0 = $0 "."; print }' \
        "$out/expected.ext" >"$out/expected.engine"
    sed -n 's/^[0-9]* TextData 0 0 //p' "$out/engine.log" | iconv -f latin1 -t utf-8 >"$out/engine.texts"
    ;;
5 | 54)
    awk '{ if ($0 == "") $0 = " "; print }' "$out/expected.ext" >"$out/expected.engine"
    sed -n "s/^[0-9]* voice$type Speak 17 //p" "$out/engine.log" | iconv -f latin1 -t utf-8 >"$out/engine.texts"
    ;;
esac
[ -s "$out/expected.engine" ] || fail "the game spoke nothing through the engine"
diff -u "$out/expected.engine" "$out/engine.texts" >"$out/engine.diff" ||
    fail "the engine was not handed every text in order: $(head -40 "$out/engine.diff")"
exit 0
