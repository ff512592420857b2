#!/bin/bash
# The game started with no display and no terminal, and no key script: it must
# say why on standard error and end with a failure code, not exit 0 in silence.
set -u
program=$1
err=$(mktemp)
trap 'rm -f "$err"' EXIT
env -u DISPLAY -u WAYLAND_DISPLAY -u FUGA_BACKEND -u FUGA_KEYS "$program" </dev/null >/dev/null 2>"$err"
code=$?
if [ "$code" -eq 0 ]; then echo "exit code 0, expected a failure"; cat "$err"; exit 1; fi
if ! grep -q 'no display' "$err"; then echo "standard error does not say why:"; cat "$err"; exit 1; fi
# Forced headless without keys stays allowed (it ends as a closed window).
env -u DISPLAY -u WAYLAND_DISPLAY -u FUGA_KEYS FUGA_BACKEND=headless "$program" </dev/null >/dev/null 2>"$err"
if grep -q 'no display' "$err"; then echo "a forced headless run was refused"; exit 1; fi
echo "ok: exit code $code and the reason on standard error"
