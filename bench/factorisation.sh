#!/usr/bin/env bash
# [1] on balanced semiprimes against a peer, both from start-up, in the
# same run: paired runs, the order swapped from one run to the next; time
# and resident memory of each, and their ratio. The peer is yafu's siqs on
# two threads when YAFU names its program, gp's factorint otherwise. Then
# the sieve alone (bench/crible.cpp): relations per second on one thread
# and on two. Then today's eleven semiprimes of 24 to 60 digits in one
# session against one gp.
#
# Needs a Release build in build/ with -DPREMIERS_BENCH=ON, gp (pari-gp) and
# /usr/bin/time (time). The program runs in an empty folder: it needs no
# liste.txt; yafu runs in a fresh folder of its own each time (it writes
# its logs there). The semiprimes are drawn afresh by gp at each run of the
# script (GRAINE=n draws those of seed n again).
#
#   bench/factorisation.sh                 60, 66 and 72 digits, 3 runs each
#   YAFU=/path/to/yafu TAILLES="60 70 80" FOIS=1 bench/factorisation.sh
#   TAILLES="78 84" FOIS=1 bench/factorisation.sh
#   SEUL=90 TAILLES= bench/factorisation.sh   90 digits, ours alone (gp takes hours)
#   CRIBLE="78" ...                        the sizes of the sieve alone (60 66 72)
#   ONZE= ...                              without the eleven semiprimes
#
# Figures of one run against gp (2 cores shared with other work): ours
# against gp, time and ratio, resident memory in brackets.
#   60 digits: 0.82 / 2.22 s (0.37), 0.84 / 2.13 s (0.39); a third run, while
#     a build ran beside it, 1.98 / 2.22 s (0.89); 22 MB against 15 MB
#   66 digits: 3.84 / 10.84 s (0.35), 4.87 / 11.31 (0.43), 4.81 / 11.57 (0.42)
#   72 digits: 12.05 / 40.71 s (0.30), 12.93 / 43.19 (0.30), 12.54 / 43.29
#     (0.29); 97 MB against 36 MB
#   78 digits: 45.3 / 158.3 s (0.29), 163 MB against 54 MB
#   84 digits: 172 / 1040 s (0.17), 294 MB against 70 MB
#   90 digits, ours alone, beside a build and the sanitizer tests: 1243 s,
#     452 MB
#   the sieve alone, relations per second on one and two threads: 60 digits
#     2920 / 5711, 66 digits 1669 / 3218, 72 digits 926 / 1888, 78 digits
#     397 / 775
#   eleven semiprimes of 24 to 60 digits: 2.54 / 4.34 s (0.59), 2.53 / 4.30
#     (0.59), 2.75 / 4.19 (0.66)
set -euo pipefail
cd "$(dirname "$0")/.."
racine=$PWD
prog=$racine/build/src/premiers
crible=$racine/build/bench/bench_crible
[ -x "$crible" ] || { echo "build with -DPREMIERS_BENCH=ON first" >&2; exit 1; }
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
cd "$travail"

# A product of two random primes of D/2 digits each, drawn with the run's
# seed.
graine=${GRAINE:-$(date +%s%N | cut -c6-15)}
echo "== semiprimes of seed $graine (GRAINE=$graine draws them again)"
semipremier() {
    echo "setrand($graine + $1); d = $1; print(randomprime([10^(d\\2 - 1), 10^(d\\2)]) * randomprime([10^(d - d\\2 - 1), 10^(d - d\\2)]))" | gp -q
}
# "seconds kilobytes" of a shell command, its output dropped.
mesurer() {
    /usr/bin/time -f '%e %M' -o mesure.txt sh -c "$1" > /dev/null 2>&1 || true
    tail -1 mesure.txt
}
nous() { mesurer "printf '1\\n$1\\n0\\n0\\n' | '$prog'"; }
gp_seul() { mesurer "echo 'factorint($1)' | gp -q -D parisizemax=4G"; }
yafu_seul() {
    local dossier
    dossier=$(mktemp -d "$travail/yafu.XXXXXX")
    (cd "$dossier" && mesurer "echo 'siqs($1)' | '$YAFU' -threads 2")
    rm -rf "$dossier"
}
ligne() { # label, ours "s kB", the peer's name, its "s kB"
    set -- "$1" $2 "$3" $4
    printf '%-34s ours %8.2f s %5d MB   %-4s %8.2f s %5d MB   ratio %5.2f\n' "$1" "$2" $(($3 / 1024)) \
        "$4" "$5" $(($6 / 1024)) "$(echo "$2 / $5" | bc -l)"
}
if [ -n "${YAFU:-}" ]; then
    [ -x "$YAFU" ] || { echo "YAFU=$YAFU is not a program" >&2; exit 1; }
    pair=yafu_seul nom_pair=yafu
    echo "== [1] balanced semiprimes from start-up, against yafu siqs on 2 threads"
else
    pair=gp_seul nom_pair=gp
    echo "== [1] balanced semiprimes from start-up, against gp factorint"
fi
for d in ${TAILLES-60 66 72}; do
    n=$(semipremier "$d")
    for run in $(seq "${FOIS:-3}"); do
        if [ $((run % 2)) = 1 ]; then
            a=$(nous "$n")
            b=$($pair "$n")
        else
            b=$($pair "$n")
            a=$(nous "$n")
        fi
        ligne "$d digits, run $run" "$a" "$nom_pair" "$b"
    done
done
for d in ${SEUL:-}; do
    n=$(semipremier "$d")
    set -- $(nous "$n")
    printf '%-34s ours %8.2f s %5d MB\n' "$d digits, ours alone" "$1" $(($2 / 1024))
done

[ -z "${CRIBLE-60 66 72}" ] || echo "== the sieve alone: relations per second"
for d in ${CRIBLE-60 66 72}; do
    n=$(semipremier "$d")
    for parts in 1 2; do
        "$crible" "$parts" "$n" | sed 's/, factor.*//'
    done
done

[ -n "${ONZE-1}" ] || exit 0
echo "== [1] eleven semiprimes of 24 to 60 digits in one session / one gp"
# The list of bench/run.sh, read from there.
read -ra onze <<< "$(sed -n '/^onze=(/,/)$/p' "$racine/bench/run.sh" | tr -d '()\n' | sed 's/^onze=//')"
reponses="1\\n"
tous_gp=
for n in "${onze[@]}"; do
    reponses+="$n\\n1\\n"
    tous_gp+="factorint($n);"
done
reponses="${reponses%1\\n}0\\n0\\n"
for run in $(seq "${FOIS:-3}"); do
    a=$(mesurer "printf '$reponses' | '$prog'")
    b=$(mesurer "echo '$tous_gp' | gp -q -D parisizemax=4G")
    ligne "eleven semiprimes, run $run" "$a" gp "$b"
done
