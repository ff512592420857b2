#!/bin/bash
# Installs the Debian packages listed in tools/debian-packages.txt, and with
# --tests those of tools/debian-packages-tests.txt too (one per line; blank
# lines and lines starting with "#" are skipped). Does nothing
# when every one is installed already, so it is cheap to run before builds.
# MBROLA, its Brazilian voices and RHVoice are in Debian's contrib and
# non-free sections, which a fresh machine does not enable: when the
# machine's sources lack them, a sources file of our own adds them for the
# same archives and suites (and says so) before anything is installed.
set -euo pipefail

lists=("$(dirname "$0")/debian-packages.txt")
# --tests: also what only the tests need (the Windows build and Wine), which
# playing does not.
if [ "${1:-}" = --tests ]; then lists+=("$(dirname "$0")/debian-packages-tests.txt"); fi
mapfile -t packages < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' "${lists[@]}" | grep -v '^$')

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    echo "setup-debian: all ${#packages[@]} packages are installed"
    exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi

ours=/etc/apt/sources.list.d/fuga-contrib-non-free.sources

# Prints a deb822 stanza with Components "contrib non-free" for every Debian
# archive stanza (deb822 files and one-line sources.list entries alike) that
# has neither; prints nothing when every archive has both already.
extra_components() {
    local files=()
    shopt -s nullglob
    files=(/etc/apt/sources.list.d/*.sources)
    shopt -u nullglob
    local f
    for f in "${files[@]}"; do
        [ "$f" = "$ours" ] && continue
        awk '
            function flush() {
                if (types != "" && uris ~ /debian/ && !(comps ~ /contrib/ && comps ~ /non-free( |$)/)) {
                    printf "Types: %s\nURIs: %s\nSuites: %s\nComponents: contrib non-free\n", types, uris, suites
                    if (signed != "") printf "Signed-By: %s\n", signed
                    printf "\n"
                }
                types = uris = suites = comps = signed = ""
            }
            /^[[:space:]]*$/ { flush(); next }
            /^#/ { next }
            tolower($1) == "types:" { sub(/^[^:]*:[[:space:]]*/, ""); types = $0 }
            tolower($1) == "uris:" { sub(/^[^:]*:[[:space:]]*/, ""); uris = $0 }
            tolower($1) == "suites:" { sub(/^[^:]*:[[:space:]]*/, ""); suites = $0 }
            tolower($1) == "components:" { sub(/^[^:]*:[[:space:]]*/, ""); comps = $0 }
            tolower($1) == "signed-by:" { sub(/^[^:]*:[[:space:]]*/, ""); signed = $0 }
            END { flush() }
        ' "$f"
    done
    local legacy=()
    [ -f /etc/apt/sources.list ] && legacy+=(/etc/apt/sources.list)
    shopt -s nullglob
    legacy+=(/etc/apt/sources.list.d/*.list)
    shopt -u nullglob
    for f in "${legacy[@]}"; do
        awk '
            $1 == "deb" && $0 ~ /debian/ && !($0 ~ /contrib/ && $0 ~ /non-free( |$)/) {
                i = 2
                if ($2 ~ /^\[/) { while (i <= NF && $i !~ /\]$/) i++; i++ }
                printf "Types: deb\nURIs: %s\nSuites: %s\nComponents: contrib non-free\n\n", $i, $(i + 1)
            }
        ' "$f"
    done
}

if [ ! -f "$ours" ]; then
    stanzas=$(extra_components)
    if [ -n "$stanzas" ]; then
        echo "setup-debian: enabling Debian's contrib and non-free sections (for MBROLA, its voices and RHVoice) in $ours"
        printf '# Added by tools/setup-debian.sh: contrib and non-free for the same archives.\n%s\n' "$stanzas" |
            "${sudo[@]}" tee "$ours" >/dev/null
    fi
fi

echo "setup-debian: installing ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
