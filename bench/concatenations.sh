#!/usr/bin/env bash
# Speed of the concatenation search over a range (menu [4], entries [2] and
# [3]) against the program of an earlier commit, the number-by-number search,
# built beside it in build-ref/ and timed in the same run: each figure from
# start-up, the two programs in turn (earlier, ours, earlier, ours, ...), the
# median of each and the median of the speed-ups pair by pair. The outputs of
# the two are compared too. Needs a Release build in build/.
#
#   bench/concatenations.sh             5 pairs a figure
#   FOIS=3 bench/concatenations.sh      3 pairs
#   LONG=1 bench/concatenations.sh      also the earlier program on [1, 1e9] (about 4 min)
#   REF=<commit> bench/concatenations.sh
#
# bench/README.md says what each figure is compared with.
set -euo pipefail
cd "$(dirname "$0")/.."
racine=$PWD
prog=$racine/build/src/premiers
[ -x "$prog" ] || { echo "build/ first (Release)" >&2; exit 1; }
ref=${REF:-c2fe7f7}

# The earlier program, from its commit's files alone (no checkout touched).
if [ ! -x build-ref/build/src/premiers ] || [ "$(cat build-ref/commit 2>/dev/null)" != "$ref" ]; then
    rm -rf build-ref
    mkdir -p build-ref/src
    git archive "$ref" | tar -x -C build-ref/src
    cmake -S build-ref/src -B build-ref/build -DCMAKE_BUILD_TYPE=Release > /dev/null
    cmake --build build-ref/build -j2 --target premiers > /dev/null
    echo "$ref" > build-ref/commit
fi
ancien=$racine/build-ref/build/src/premiers

travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
[ -f liste.txt ] && ln -s "$racine/liste.txt" "$travail/liste.txt"
cd "$travail"

# Seconds of one session: the answers ($2, printf format) to program $1,
# its output to $3.
seance() {
    local t0 t1
    t0=$(date +%s.%N)
    printf "$2" | "$1" > "$3" 2> /dev/null || true
    t1=$(date +%s.%N)
    echo "$t1 - $t0" | bc
}
mediane() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# One figure: label, answers.
figure() {
    local a b ra= rb= rr=
    for _ in $(seq "${FOIS:-5}"); do
        a=$(seance "$ancien" "$2" ancien.txt)
        b=$(seance "$prog" "$2" nouveau.txt)
        ra="$ra$a"$'\n' rb="$rb$b"$'\n' rr="$rr$(echo "$a / $b" | bc -l)"$'\n'
    done
    cmp -s ancien.txt nouveau.txt || { echo "$1: the outputs differ" >&2; exit 1; }
    printf '%-44s %8.3f s %8.3f s  x %6.2f  (pairs %s)\n' "$1" \
        "$(printf '%s' "$ra" | mediane)" "$(printf '%s' "$rb" | mediane)" \
        "$(printf '%s' "$rr" | mediane)" "$(printf '%s' "$rr" | sort -g | awk '{printf "%.1f ", $1}')"
}

echo "figure                                        earlier     ours     speed-up"
figure "[2] count [1, 1e8]" '4\n2\n1\n100000000\n1\n0\n0\n'
figure "[2] full list [1, 1e7] to a file" '4\n2\n1\n10000000\n0\n0\n0\n'
figure "[3] count [1e12, 1e12 + 1e7]" '4\n3\n1000000000000\n1000010000000\n1\n0\n0\n'
figure "[3] full list [1e12, 1e12 + 1e7] to a file" '4\n3\n1000000000000\n1000010000000\n0\n0\n0\n'
figure "[2] count [1e12, 1e12 + 1e6]" '4\n2\n1000000000000\n1000001000000\n1\n0\n0\n'
figure "[3] count [2^63 - 1e5, 2^63 - 1]" '4\n3\n9223372036854675807\n9223372036854775807\n1\n0\n0\n'

# [1, 1e9]: ours alone (3 runs, the median), the earlier one only when asked.
nous=$(for _ in 1 2 3; do seance "$prog" '4\n2\n1\n1000000000\n1\n0\n0\n' nouveau.txt; done | mediane)
if [ -n "${LONG:-}" ]; then
    eux=$(seance "$ancien" '4\n2\n1\n1000000000\n1\n0\n0\n' ancien.txt)
    cmp -s ancien.txt nouveau.txt || { echo "[1, 1e9]: the outputs differ" >&2; exit 1; }
    printf '%-44s %8.3f s %8.3f s  x %6.2f\n' "[2] count [1, 1e9]" "$eux" "$nous" "$(echo "$eux / $nous" | bc -l)"
else
    printf '%-44s %8s   %8.3f s\n' "[2] count [1, 1e9]" "-" "$nous"
fi
# How wide a range a minute searches: ours alone, once.
printf '%-44s %8s   %8.3f s\n' "[2] count [1, 1e10]" "-" \
    "$(seance "$prog" '4\n2\n1\n10000000000\n1\n0\n0\n' nouveau.txt)"
printf '%-44s %8s   %8.3f s\n' "[3] count [1, 1e10]" "-" \
    "$(seance "$prog" '4\n3\n1\n10000000000\n1\n0\n0\n' nouveau.txt)"
