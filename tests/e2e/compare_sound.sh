#!/bin/bash
# Compares a sound log with its expected form. Events and their order must
# match exactly, except that an in-memory image ("image BYTES RATE BITS
# CHANNELS") must only agree in its format and in having a length of the
# same order (within a factor of 4), because the length of a synthesized
# word follows the installed espeak-ng and its voices. Recordings, spoken
# texts and tones stay exact.
#
#   compare_sound.sh EXPECTED ACTUAL    (exit 0 when they agree, 1 with the
#                                        first disagreement and a diff, 2 on
#                                        a missing file)
set -u
if [ $# -ne 2 ] || [ ! -f "$1" ] || [ ! -f "$2" ]; then
    echo "usage: $0 EXPECTED ACTUAL (both files)" >&2
    exit 2
fi
if awk '
    function fail(why) { printf "line %d: %s\n  expected: %s\n  actual:   %s\n", FNR, why, e, a; bad = 1; exit 1 }
    NR == FNR { want[FNR] = $0; n = FNR; next }
    {
        e = (FNR in want) ? want[FNR] : "(end of log)"; a = $0; seen = FNR
        if (e == a) next
        ne = split(e, ef, " "); na = split(a, af, " ")
        if (ef[1] != "image" || af[1] != "image") fail("events differ")
        if (ne != 5 || na != 5 || ef[3] != af[3] || ef[4] != af[4] || ef[5] != af[5])
            fail("image formats differ")
        if (ef[2] !~ /^[0-9]+$/ || af[2] !~ /^[0-9]+$/ || ef[2] + 0 == 0 || af[2] + 0 == 0)
            fail("image lengths differ")
        if (af[2] * 4 < ef[2] + 0 || ef[2] * 4 < af[2] + 0) fail("image lengths differ by more than a factor of 4")
    }
    END {
        if (bad) exit 1
        if (seen < n) { FNR = seen + 1; e = want[seen + 1]; a = "(end of log)"; fail("the log ends early") }
    }' "$1" "$2"; then
    exit 0
fi
diff -u --label "expected $(basename "$1")" --label "actual $(basename "$2")" "$1" "$2"
exit 1
