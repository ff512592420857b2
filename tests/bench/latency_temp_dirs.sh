#!/bin/sh
# The latency benchmark removes the temporary directories it makes (the
# sound server's, tmux's, the speech server's), after a whole run and after
# one that gives up part way; here the peer's figure, with and without
# espeak-ng on PATH.
#   latency_temp_dirs.sh BENCH_LATENCY
set -u
bench=$1
for tool in pulseaudio parec Xvfb xdotool tmux espeak-ng; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: no $tool"; exit 77; }
done
root=$(mktemp -d /tmp/fuga-bench-test-XXXXXX) || exit 1
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$root"' EXIT
trap 'exit 1' TERM INT HUP
mkdir "$root/tmp" "$root/tools" || exit 1
# The tools the benchmark asks for, but not espeak-ng.
for tool in pulseaudio parec Xvfb xdotool tmux; do
    ln -s "$(command -v "$tool")" "$root/tools/$tool" || exit 1
done
fail=0

# Runs the peer's figure with PATH=$1, watching $root/tmp: a directory must
# show there while it runs and none be left when it has ended.
run() {
    : >"$root/seen"
    PATH=$1 TMPDIR=$root/tmp "$bench" --benchmark_filter='^peer_espeak_first_sample' >"$root/out" 2>&1 &
    pid=$!
    while kill -0 "$pid" 2>/dev/null; do
        [ -n "$(ls -A "$root/tmp")" ] && echo yes >"$root/seen"
        sleep 0.05
    done
    wait "$pid"
    rc=$?
    cat "$root/out"
    if [ ! -s "$root/seen" ]; then
        echo "FAIL ($2): no directory was made under TMPDIR"
        fail=1
    fi
    if [ -n "$(ls -A "$root/tmp")" ]; then
        echo "FAIL ($2): left behind:"
        ls -la "$root/tmp"
        fail=1
    fi
    return $rc
}

run "$PATH" "a whole run" || { echo "FAIL (a whole run): exit code $?"; fail=1; }
if grep -q "ERROR OCCURRED" "$root/out"; then
    echo "FAIL (a whole run): it gave up"
    fail=1
fi
run "$root/tools" "without espeak-ng"
if ! grep -q "espeak-ng did not start" "$root/out"; then
    echo "FAIL (without espeak-ng): it did not say why it gave up"
    fail=1
fi
[ "$fail" = 0 ] && echo "ok: no temporary directory left"
exit "$fail"
