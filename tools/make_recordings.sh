#!/bin/sh
# Renders recordings: reads "KEY<TAB>text" lines (UTF-8) from LIST and
# writes OUT_DIR/KEY.wav for each, spoken in Brazilian Portuguese by
# espeak-ng (through an installed MBROLA Brazilian voice when there is one),
# stored as 8-bit unsigned mono 11025 Hz, trimmed of silence and levelled.
# Usage: make_recordings.sh LIST OUT_DIR
set -eu
list=$1
out=$2
mkdir -p "$out"

voice=pt-br
for v in br3 br1; do
    if [ -e "/usr/share/mbrola/$v/$v" ] || [ -e "/usr/share/mbrola/$v" -a -f "/usr/share/mbrola/$v/$v" ]; then
        voice=mb-$v
        break
    fi
done

render() {
    key=$1
    text=$2
    tmp="$out/.$key.$$.wav"
    espeak-ng -v "$voice" -s 160 -w "$tmp" -- "$text" 2>/dev/null || espeak-ng -v pt-br -s 160 -w "$tmp" -- "$text"
    # Trim leading and trailing silence, level to -1 dB, convert to the
    # stored format. A text that is all silence keeps its untrimmed form.
    if ! sox "$tmp" -r 11025 -c 1 -b 8 -e unsigned-integer "$out/$key.wav" \
        silence 1 0.01 0.3% reverse silence 1 0.01 0.3% reverse gain -n -1 2>/dev/null ||
        [ "$(soxi -s "$out/$key.wav" 2>/dev/null || echo 0)" -lt 100 ]; then
        sox "$tmp" -r 11025 -c 1 -b 8 -e unsigned-integer "$out/$key.wav" gain -n -1
    fi
    rm -f "$tmp"
}

tab=$(printf '\t')
while IFS="$tab" read -r key text; do
    [ -n "$key" ] || continue
    case "$key" in */*|.*) echo "make_recordings: bad key '$key'" >&2; exit 1 ;; esac
    render "$key" "$text"
done < "$list"
