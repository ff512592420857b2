#!/bin/bash
# A TALUNE.INI that is a link to /dev/zero: the start must say that the file
# is too large (not that it is missing), naming it, and end without reading
# on past the bound.
#
#   endless_configuration.sh FUGA_BINARY
set -u
program=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
ln -s /dev/zero "$home/TALUNE.INI"
: >"$home/keys"
(cd "$home" && env TALUNE_HOME="$home" FUGA_BACKEND=headless FUGA_KEYS="$home/keys" \
    timeout -k 5 20 "$program" -r </dev/null >/dev/null 2>"$home/err")
code=$?
problems=()
[ "$code" -eq 124 ] || [ "$code" -eq 137 ] && problems+=("the program did not end within 20 s")
grep -q 'Grande demais para um arquivo de configura' "$home/err" || problems+=("it does not say the file is too large")
grep -qF "$home/TALUNE.INI" "$home/err" || problems+=("it does not name $home/TALUNE.INI")
grep -q 'encontrado' "$home/err" && problems+=("it says the file was not found")
if [ ${#problems[@]} -gt 0 ]; then
    printf '%s\n' "${problems[@]}"
    echo "--- stderr"; cat "$home/err"
    exit 1
fi
echo "ok: $(head -n 3 "$home/err" | tr '\n' ' ')"
