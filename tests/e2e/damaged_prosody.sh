#!/bin/bash
# Games whose engine (type 3) has a damaged prosody file, one kind of damage a
# run: the message must be shown once on a line of its own and heard through
# the own reader; the one key that dismisses it is the only key it takes, so
# the command typed next arrives whole; the game goes on with the own
# synthesizer and ends with exit code 0.
#
#   damaged_prosody.sh FUGA_BINARY BUILD_DIR
#
# Exit 77 (skipped) when the build has no engine configuration or the MBROLA
# voice it names is not installed: the engine then fails before its prosody.
set -u
program=$1
build=$(cd "$2" && pwd) || exit 2
config="$build/data-mbrola"
verna="$build/data/verna"
if [ ! -f "$config/TALUNE.INI" ] || [ ! -f "$verna/portug.pro" ]; then
    echo "skipped: no engine data in $build"
    exit 77
fi
voice=$(sed -n 's/^br[0-9]*=//p' "$config/registry.ini" | head -n 1)
if [ -z "$voice" ] || [ ! -f "$voice" ] || ! command -v mbrola >/dev/null; then
    echo "skipped: the MBROLA voice ${voice:-(none)} or the mbrola program is not installed"
    exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The dismissing key, then a command whose first letters would be lost if
# the message took more keys than one.
printf '{Space}pegar serra\n' >"$work/keys"

# One installation per kind of damage: the generated configuration with the
# engine's directory pointing at a copy whose prosody file is damaged.
make_home() {
    local home="$work/$1"
    mkdir -p "$home/verna"
    cp "$config/registry.ini" "$home/"
    sed "s|^DIR=.*|DIR=$home/verna/|" "$config/TALUNE.INI" >"$home/TALUNE.INI"
    for f in "$verna"/*; do ln -s "$f" "$home/verna/"; done
    rm "$home/verna/portug.pro"
    printf '%s' "$home"
}

failed=0
check() {
    local kind=$1 home=$2
    local screen="$work/$kind.screen" sound="$work/$kind.sound"
    (cd "$work" && env TALUNE_HOME="$home" FUGA_BACKEND=headless FUGA_KEYS="$work/keys" \
        FUGA_SCREEN_LOG="$screen" FUGA_SOUND_LOG="$sound" FUGA_CLOCK="2026-01-05 10:00:00" TZ=UTC \
        timeout -k 5 60 "$program" -r </dev/null >/dev/null 2>"$work/$kind.err")
    local code=$?
    local problems=()
    [ "$code" -eq 0 ] || problems+=("exit code $code")
    local shown heard
    shown=$(grep -c 'pros[óo]dia\|Dura[çc][ãa]o' "$screen" 2>/dev/null)
    heard=$(grep -c '^say .*\(pros[óo]dia\|Dura[çc][ãa]o\)' "$sound" 2>/dev/null)
    [ "${shown:-0}" -eq 1 ] || problems+=("the message is on the screen ${shown:-0} times, expected once")
    [ "${heard:-0}" -eq 1 ] || problems+=("the message is spoken ${heard:-0} times, expected once")
    # On a line of its own: the line that holds it begins with it.
    if grep -q '.[^ ].*\(Configura[çc][ãa]o da pros\|Dura[çc][ãa]o dos difones\|Pros[óo]dia:\)' "$screen"; then
        problems+=("the message shares a line with other text")
    fi
    grep -q '^Que fazer? pegar serra$' "$screen" || problems+=("the command did not arrive whole as \"pegar serra\"")
    grep -q '^ext ' "$sound" && problems+=("text went to the engine that failed")
    if [ ${#problems[@]} -gt 0 ]; then
        echo "$kind: ${problems[*]}"
        echo "--- screen"; cat "$screen" 2>/dev/null; echo "--- stderr"; cat "$work/$kind.err"
        failed=1
    else
        echo "$kind: ok"
    fi
}

home=$(make_home empty); : >"$home/verna/portug.pro"; check empty "$home"
home=$(make_home random); head -c 4096 /dev/urandom >"$home/verna/portug.pro"; check random "$home"
home=$(make_home directory); mkdir "$home/verna/portug.pro"; check directory "$home"
home=$(make_home zero); ln -s /dev/zero "$home/verna/portug.pro"; check zero "$home"
home=$(make_home truncated)
head -c $(($(stat -c %s "$verna/portug.pro") / 3)) "$verna/portug.pro" >"$home/verna/portug.pro"; check truncated "$home"
home=$(make_home huge_line)
{ printf '[DURA\307\303O]\n'; head -c 3000000 /dev/zero | tr '\0' 'x'; } >"$home/verna/portug.pro"; check huge_line "$home"
exit "$failed"
