#!/bin/bash
# The package's menu entry, AppStream metadata and manual pages as the build
# made them: each passes its own validator with no warning, and the menu
# entry starts the program the package installs, under the id its icon and
# metadata carry; the manual pages name the switch, every environment
# variable of the README's table, the settings files and the exit codes.
#
#   check_metadata.sh PACKAGE_FILES_DIR APP_ID PROGRAM_PATH README
set -u
if [ $# -ne 4 ]; then
    echo "usage: $0 PACKAGE_FILES_DIR APP_ID PROGRAM_PATH README" >&2
    exit 2
fi
dir=$1
id=$2
program=$3
readme=$4
problems=()
for tool in desktop-file-validate appstreamcli man; do
    command -v "$tool" >/dev/null || { echo "check_metadata: $tool is not installed" >&2; exit 1; }
done

desktop=$dir/$id.desktop
report=$(desktop-file-validate "$desktop" 2>&1) || problems+=("$desktop: $report")
[ -z "$report" ] || problems+=("$desktop: $report")
grep -qxF "Exec=$program" "$desktop" || problems+=("$desktop does not start $program")
grep -qxF "Icon=$id" "$desktop" || problems+=("$desktop has another icon than $id")
grep -qx 'Categories=Game;AdventureGame;' "$desktop" || problems+=("$desktop is not in Games, AdventureGame")
grep -q '^Keywords=' "$desktop" && grep -q '^Keywords\[pt_BR\]=' "$desktop" ||
    problems+=("$desktop lacks its English or Portuguese keywords")

metainfo=$dir/$id.metainfo.xml
report=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1) || problems+=("$metainfo: $report")
grep -q "<id>$id</id>" "$metainfo" || problems+=("$metainfo has another id than $id")
grep -q '<control>keyboard</control>' "$metainfo" || problems+=("$metainfo does not say it is played by keyboard")
grep -q 'self-voicing' "$metainfo" || problems+=("$metainfo does not say it is self-voicing")

variables=$(sed -n '/^## Environment variables/,/^## /s/^| `\([A-Z_]*\)` |.*/\1/p' "$readme")
[ -n "$variables" ] || problems+=("$readme has no table of environment variables")
for page in "$dir/man/fuga.6" "$dir/man/pt_BR/fuga.6"; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || problems+=("$page: $warnings")
    for needed in '\\-r' $variables /etc/talune/TALUNE.INI /etc/talune/registry.ini; do
        grep -q -- "$needed" "$page" || problems+=("$page does not mention $needed")
    done
    for code in 0 1 2 255; do
        grep -qx "\.B $code" "$page" || problems+=("$page does not give the exit code $code")
    done
done

if [ ${#problems[@]} -gt 0 ]; then
    printf 'check_metadata: %s\n' "${problems[@]}" >&2
    exit 1
fi
echo "check_metadata: ok"
