#!/bin/bash
# Games through the engine (type 3) whose `mbrola` program is killed or
# breaks, by a stand-in on PATH in front of the real program:
#   startup  the first `mbrola` (the voice check at start-up) is killed:
#            the engine must still start and speak the game's texts;
#   waiting  the process started ahead of the first text is killed while it
#            waits: that text must still be spoken by the engine;
#   killed   the two processes after it are killed from outside, one after
#            the other with no text between: each is replaced and the engine
#            goes on (the second dies as it starts, so the text it was started
#            for may be lost with it);
#   broken   after the first text every `mbrola` fails at once: the player
#            must hear once that the engine stopped, and the rest is read by
#            the own reader.
#
#   mbrola_killed.sh FUGA_BINARY BUILD_DIR
set -u
program=$1
build=$(cd "$2" && pwd) || exit 2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
config="$build/data-mbrola"
real=$(command -v mbrola)
voice=$(sed -n 's/^br[0-9]*=//p' "$config/registry.ini" 2>/dev/null | head -n 1)
if [ ! -f "$config/TALUNE.INI" ] || [ -z "$real" ] || [ -z "$voice" ] || [ ! -f "$voice" ]; then
    echo "skipped: no engine configuration, mbrola program or MBROLA voice"
    exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
cat >"$work/bin/mbrola" <<EOF
#!/bin/sh
n=\$(cat "$work/count" 2>/dev/null || echo 0)
n=\$((n + 1))
echo "\$n" >"$work/count"
case "\$FUGA_TEST_MBROLA:\$n" in
startup:1 | waiting:3 | killed:4 | killed:5) kill -9 \$\$ ;;
broken:1 | broken:2 | broken:3) ;;
broken:*) exit 1 ;;
esac
exec "$real" "\$@"
EOF
chmod +x "$work/bin/mbrola"

notice='say O sintetizador externo parou'
failed=0
run() {
    local mode=$1
    rm -f "$work/count"
    (cd "$work" && env FUGA_TEST_MBROLA="$mode" PATH="$work/bin:$PATH" TALUNE_HOME="$config" \
        FUGA_BACKEND=headless FUGA_KEYS="$source_dir/tests/e2e/mbrola_escape.keys" \
        FUGA_SCREEN_LOG="$work/$mode.screen" FUGA_SOUND_LOG="$work/$mode.sound" \
        FUGA_CLOCK="2026-01-05 10:00:00" TZ=UTC timeout -k 5 120 "$program" -r </dev/null >/dev/null 2>&1)
    local code=$? problems=()
    [ "$code" -eq 0 ] || problems+=("exit code $code")
    local texts sounds notices
    texts=$(grep -c '^ext ' "$work/$mode.sound")
    notices=$(grep -c "^$notice" "$work/$mode.sound")
    # Each text handed to the engine is followed by its sound at the engine's rate.
    sounds=$(awk '/^ext / { pending = 1; next } pending && / 16000 16 1$/ { n++; pending = 0 } END { print n + 0 }' \
        "$work/$mode.sound")
    case $mode in
    startup | waiting | killed)
        [ "$texts" -ge 5 ] || problems+=("only $texts texts went to the engine")
        local lost=0
        [ "$mode" = killed ] && lost=1
        [ "$sounds" -ge $((texts - lost)) ] || problems+=("$sounds of $texts texts were heard from the engine")
        [ "$notices" -eq 0 ] || problems+=("the player was told the engine stopped")
        ;;
    broken)
        [ "$notices" -eq 1 ] || problems+=("the stop was told $notices times, expected once")
        if awk -v n="$notice" 'index($0, n) == 1 { told = 1; next } told && /^ext / { bad = 1 } END { exit !bad }' \
            "$work/$mode.sound"; then
            problems+=("texts went to the engine after it stopped")
        fi
        ;;
    esac
    if [ ${#problems[@]} -gt 0 ]; then
        echo "$mode: ${problems[*]}"
        grep -n '^ext \|16000\|^say O sint' "$work/$mode.sound" | head -n 30
        failed=1
    else
        echo "$mode: ok ($texts texts to the engine, $notices notices)"
    fi
}

run startup
run waiting
run killed
run broken
exit "$failed"
