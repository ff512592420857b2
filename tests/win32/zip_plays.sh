#!/bin/bash
# The zip of the Windows build, unpacked into a folder with blanks in its
# name in a fresh Wine prefix whose Windows directory has no TALUNE.INI,
# started from another directory by its full path: it must play the escape
# game exactly as the Linux build does.
#
#   zip_plays.sh BUILD_DIR E2E_DIR
set -u
build=$(cd "$1" && pwd) || exit 2
e2e=$(cd "$2" && pwd) || exit 2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
prefix=$work/prefix
cleanup() {
    WINEPREFIX=$prefix wineserver -k 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

(cd "$build" && cpack -G ZIP -B "$work/package" >"$work/cpack.log" 2>&1) || {
    echo "cpack failed:"; cat "$work/cpack.log"; exit 1
}
zip=$work/package/fuga-windows.zip
[ -f "$zip" ] || { echo "no $zip was made"; exit 1; }
"$source_dir/tools/wine_prefix.sh" "$prefix" ${FUGA_WINE_TEMPLATE:+"$FUGA_WINE_TEMPLATE"} >/dev/null || exit 1
export WINEPREFIX=$prefix WINEDEBUG=-all
folder="$prefix/drive_c/Jogos/Fuga de Val Morvela"
mkdir -p "$folder"
(cd "$work" && cmake -E tar xf "$zip") || { echo "the zip cannot be unpacked"; exit 1; }
mv "$work"/fuga-windows/* "$folder"/ || exit 1
for f in fuga.exe TALUNE.INI som letras difones verna; do
    [ -e "$folder/$f" ] || { echo "the zip has no $f"; exit 1; }
done
if [ -e "$prefix/drive_c/windows/TALUNE.INI" ]; then echo "the new prefix has a TALUNE.INI"; exit 1; fi

failed=0
name=escape_with_nothing
mkdir -p "$work/elsewhere"
(
    cd "$work/elsewhere" || exit 2
    env -u TALUNE_HOME FUGA_CLOCK="2026-01-05 10:00:00" TZ=UTC FUGA_BACKEND=headless \
        FUGA_KEYS="$e2e/$name.keys" FUGA_SCREEN_LOG=screen.txt FUGA_SOUND_LOG=sound.txt \
        timeout -k 5 120 wine 'C:\Jogos\Fuga de Val Morvela\fuga.exe' -r </dev/null >"$work/out.txt" 2>&1
)
status=$?
if [ "$status" -ne 0 ]; then
    echo "the unpacked program ended with $status"; cat "$work/out.txt"; failed=1
fi
# Relative log paths count from where the program was started.
for kind in screen sound; do
    log="$work/elsewhere/$kind.txt"
    if [ ! -f "$log" ]; then
        echo "no $kind log in the directory the program was started from"; failed=1
    elif [ "$kind" = screen ] && ! diff -u "$e2e/$name.screen" "$log"; then
        echo "the unpacked program's screen differs"; failed=1
    elif [ "$kind" = sound ] && ! "$source_dir/tests/e2e/compare_sound.sh" "$e2e/$name.sound" "$log"; then
        echo "the unpacked program's sound differs"; failed=1
    fi
done
[ "$failed" -eq 0 ] && echo "ok: the unpacked zip plays the escape game from any directory"
exit "$failed"
