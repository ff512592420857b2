#!/usr/bin/env python3
"""Writes a game key script for tests/e2e from the commands a game should
carry out, repeating a command whenever a guard meeting (the uniform or a
bribe) kept it from being carried out. Replayed with "-r", so the guards come
where they came when the script was made; run it again when something that
draws random numbers (what the own synthesizer speaks, for one) has changed.

    tools/plan_game_e2e.py BUILD_DIR NAME 'pegar serra' serrar leste ...

Writes tests/e2e/NAME.keys and NAME.args, and prints the screen log of the
run; copy build/e2e/NAME.screen and NAME.sound over the expected files after
reviewing them."""
import os
import subprocess
import sys

if len(sys.argv) < 3:
    sys.exit(__doc__)
source = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
build = os.path.abspath(sys.argv[1])
name = sys.argv[2]
commands = sys.argv[3:]
keys_file = os.path.join(source, 'tests', 'e2e', name + '.keys')
with open(os.path.join(source, 'tests', 'e2e', name + '.args'), 'w') as f:
    f.write('-r\n')


def play(keys):
    with open(keys_file, 'w', encoding='utf-8') as f:
        f.write(''.join(k + '\n' for k in keys))
    subprocess.run([os.path.join(source, 'tests', 'e2e', 'run_e2e.sh'), os.path.join(build, 'fuga'), keys_file,
                    build], capture_output=True)
    with open(os.path.join(build, 'e2e', name + '.screen'), encoding='utf-8') as f:
        return f.read()


keys = []
for command in commands:
    for attempt in range(10):
        keys.append(command)
        turns = play(keys).split('Que fazer? ')
        if len(turns) <= len(keys):
            print('the game ended before: ' + command, file=sys.stderr)
            keys.pop()
            break
        reply = turns[len(keys)].split('\n')
        first = reply[1] if len(reply) > 1 else ''
        if 'uniformizado' in first:
            continue
        if 'suborná-lo' in first:
            print('a bribe at "%s": %s' % (command, first), file=sys.stderr)
            continue
        break
print(play(keys))
