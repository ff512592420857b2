#!/bin/bash
# The Debian package as a player gets it: built from BUILD_DIR, checked by
# lintian (no error), installed with apt-get and its dependencies, then the
# installed game is played headless through a key script with no settings
# of the player's (so /etc/talune's count) and its screen and sound logs are
# compared with the build tree's expected ones; the manual page is looked up
# in both languages, a player's edit of /etc/talune/TALUNE.INI survives a
# reinstallation, the menu entry's command opens the window on a virtual
# display (a screenshot is kept), and the package is purged at the end, its
# settings in /etc with it. Needs root or sudo; CI runs it.
#
#   installed_package.sh BUILD_DIR
# Screenshots and logs are kept in BUILD_DIR/package-check.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
out=$build/package-check
name=fuga-de-val-morvela
sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi

fail() {
    echo "package: $*" >&2
    exit 1
}

for tool in lintian dpkg-deb apt-get man xvfb-run xdotool import; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (tools/debian-packages-tests.txt)"
done
if dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'ok installed'; then
    fail "$name is installed already: remove it first (apt-get purge $name), this check installs and purges it"
fi

rm -rf "$out"
mkdir -p "$out"
cmake --build "$build" --target package
version=$(sed -n '1s/^[^(]*(\([^)]*\)).*/\1/p' "$source_dir/packaging/changelog")
deb=$build/${name}_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no package $deb was made"
echo "package: $deb, $(du -k "$deb" | cut -f1) KiB"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'

echo "== lintian"
lintian --fail-on error --display-info "$deb" || fail "lintian reports errors in $deb"

purge() { "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q "$name" >"$out/purge.log" 2>&1; }
trap 'purge || true' EXIT
echo "== apt-get install"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >"$out/install.log" 2>&1 ||
    { cat "$out/install.log"; fail "apt-get could not install $deb"; }
dpkg-query -W -f='${Status} ${Version}\n' "$name"
[ -x /usr/games/fuga ] || fail "no /usr/games/fuga"
conffiles=$(dpkg-query -W -f='${Conffiles}\n' "$name")
for f in /etc/talune/TALUNE.INI /etc/talune/registry.ini; do
    grep -q "^ $f " <<<"$conffiles" || fail "$f is not a configuration file of the package"
done

# A player with nothing of his own: a fresh home, no TALUNE_HOME, started
# from a directory without a TALUNE.INI.
player=$out/player
mkdir -p "$player/home"
as_player=(env -u TALUNE_HOME -u TALUNE_SYSTEM_HOME -u XDG_CONFIG_HOME HOME="$player/home")

echo "== the installed game, headless"
script=$source_dir/tests/e2e/arrest.keys
status=0
(cd "$player" && "${as_player[@]}" FUGA_CLOCK="2026-01-05 10:00:00" TZ=UTC FUGA_BACKEND=headless \
    FUGA_KEYS="$script" FUGA_SCREEN_LOG="$out/arrest.screen" FUGA_SOUND_LOG="$out/arrest.sound" \
    timeout -k 5 60 /usr/games/fuga -r </dev/null) || status=$?
[ "$status" = 0 ] || fail "the installed game ended with $status"
diff -u "$source_dir/tests/e2e/arrest.screen" "$out/arrest.screen" || fail "the installed game's screen differs"
"$source_dir/tests/e2e/compare_sound.sh" "$source_dir/tests/e2e/arrest.sound" "$out/arrest.sound" ||
    fail "the installed game's sound differs"
echo "package: the installed game played $(wc -l <"$out/arrest.screen") screen lines as expected"

echo "== man fuga"
MANPAGER=cat MANWIDTH=80 man fuga >"$out/man.txt" 2>&1 || fail "man fuga: $(cat "$out/man.txt")"
grep -q 'spoken text adventure' "$out/man.txt" || fail "man fuga shows no English page"
MANPAGER=cat MANWIDTH=80 man -L pt_BR fuga >"$out/man.pt_BR.txt" 2>&1 || fail "man -L pt_BR fuga failed"
grep -q 'aventura em texto falado' "$out/man.pt_BR.txt" || fail "man -L pt_BR fuga shows no Portuguese page"
grep -q '/etc/talune/TALUNE.INI' "$out/man.txt" || fail "the page does not name the shared settings"

echo "== a player's edit of /etc/talune survives a reinstallation"
marker="; edited by the machine's owner $$"
echo "$marker" | "${sudo[@]}" tee -a /etc/talune/TALUNE.INI >/dev/null
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --reinstall "$deb" >>"$out/install.log" 2>&1 ||
    fail "the reinstallation failed"
grep -qxF "$marker" /etc/talune/TALUNE.INI || fail "the reinstallation overwrote the edited TALUNE.INI"

echo "== the menu entry's command, in a window"
desktop=$(dpkg -L "$name" | grep '^/usr/share/applications/.*\.desktop$')
command=$(sed -n 's/^Exec=//p' "$desktop")
[ -n "$command" ] || fail "$desktop has no Exec line"
cat >"$out/window.sh" <<EOF
#!/bin/bash
# Runs inside xvfb-run: the menu entry's command, a command typed, a
# screenshot, and the window closed with Alt+F4.
set -u
cd "$player"
${as_player[*]} FUGA_SCREEN_LOG="$out/window.screen" $command 2>"$out/window.stderr" &
pid=\$!
window=\$(timeout 30 xdotool search --sync --name '^/usr/games/fuga$' | head -1)
[ -n "\$window" ] || { kill \$pid; echo "no window"; exit 1; }
xdotool windowfocus --sync "\$window"
# A key cuts the introduction short (and is dropped at the turn's tone).
sleep 2
xdotool key space
sleep 3
xdotool type --delay 50 "pegar serra"
xdotool key Return
sleep 4
import -window root "$out/window.png"
xdotool key alt+F4
status=0
timeout 30 tail --pid=\$pid -f /dev/null || { kill \$pid; echo "the window did not close"; exit 1; }
wait \$pid || status=\$?
echo "\$(xdotool getwindowname "\$window" 2>/dev/null || echo closed)"
exit \$status
EOF
chmod +x "$out/window.sh"
xvfb-run -a -s "-screen 0 1280x1024x24" "$out/window.sh" >"$out/window.log" 2>&1 ||
    { cat "$out/window.log" "$out/window.stderr"; fail "the window from the menu entry did not play and close"; }
grep -q 'FUGA DE VAL MORVELA' "$out/window.screen" || fail "the window's screen log has no title"
grep -A1 '^Que fazer? *pegar serra$' "$out/window.screen" | grep -q '^Okey!' ||
    fail "the command typed in the window was not played: $(tail -5 "$out/window.screen")"
echo "package: the window played and closed; screenshot $out/window.png"

echo "== apt-get purge"
trap - EXIT
purge || { cat "$out/purge.log"; fail "apt-get purge failed"; }
[ ! -e /usr/games/fuga ] || fail "/usr/games/fuga is still there after the purge"
[ ! -e /etc/talune ] || fail "/etc/talune is still there after the purge"
echo "package: ok"
