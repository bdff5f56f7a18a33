#!/usr/bin/env bash
# Speed figures of premiers against primesieve and PARI/GP, each measured in
# this one run. Needs a Release build in build/ (with -DPREMIERS_BENCH=ON for
# the loading figure), the primesieve command (Debian package primesieve),
# gp (pari-gp) and python3, and a full liste.txt in the repository's folder
# (bash tools/setup.sh run writes it; build/tools/genliste/genliste too).
#
#   bench/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."
[ -x build/bench/bench_travail ] || { echo "build with -DPREMIERS_BENCH=ON first" >&2; exit 1; }
racine=$PWD
prog=$racine/build/src/premiers
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
[ -f liste.txt ] || { echo "no liste.txt: run build/tools/genliste/genliste first" >&2; exit 1; }
ln -s "$racine/liste.txt" "$travail/liste.txt"
cd "$travail"

# Wall-clock seconds of a command, best of 3.
duree() {
    local meilleur=
    for _ in 1 2 3; do
        local t0 t1
        t0=$(date +%s.%N)
        "$@" > /dev/null 2>&1 || true
        t1=$(date +%s.%N)
        local t
        t=$(echo "$t1 - $t0" | bc)
        if [ -z "$meilleur" ] || [ "$(echo "$t < $meilleur" | bc)" = 1 ]; then meilleur=$t; fi
    done
    echo "$meilleur"
}
# Feeds the answers ($1, printf format) to the program, its output to a file.
dialogue() { printf "$1" | "$prog" > sortie.txt; }
rapport() { printf '%-62s %8.3f s  %8.3f s  ratio %6.2f\n' "$1" "$2" "$3" "$(echo "$2 / $3" | bc -l)"; }
echo "figure                                                          ours      reference"

a=$(duree dialogue '3\n1000000000000\n1001000000000\n1\n0\n')
b=$(duree primesieve 1e12 1e12+1e9 --count)
rapport "[3] count [1e12, 1e12+1e9] / primesieve --count" "$a" "$b"

a=$(duree dialogue '3\n1000000000000\n1000100000000\n0\n0\n')
b=$(duree sh -c 'primesieve 1e12 1e12+1e8 --print > p.txt')
rapport "[3] list [1e12, 1e12+1e8] to a file / primesieve --print" "$a" "$b"

a=$(duree dialogue '2\n10000000\n0\n0\n')
b=$(duree sh -c 'primesieve 1 179424673 --print > p.txt')
rapport "[2] 10000000 at first use to a file / primesieve --print" "$a" "$b"

haut=9223372036854775807
bas=$((haut - 1000000))
charge=$(duree dialogue '2\n=146144319\n0\n0\n')
une=$(duree dialogue "3\n$bas\n$haut\n1\n0\n")
deux=$(duree dialogue "3\n$bas\n$haut\n1\n3\n$bas\n$haut\n1\n0\n")
rapport "[3] count [2^63-1e6, 2^63-1], first call / loading its table" "$une" "$charge"
rapport "[3] same range, second call alone / first call" "$(echo "$deux - $une" | bc)" "$une"

# The factorisation and concatenation requests, timed inside one process
# once the table is at the end of liste.txt (see bench/travail.cpp), next to
# PARI/GP; and from start-up, where loading the table dominates.
"$racine/build/bench/bench_travail" liste.txt
for n in 300000000000000380960000000000012449541 \
    40000000000000000000000005047300000000000000000000013299873 \
    340282366920938463463374607431768211457; do
    gp=$(duree sh -c "echo 'factorint($n)' | gp -q")
    tout=$(duree dialogue "1\n$n\n0\n0\n")
    rapport "[1] ${#n} digits from start-up (table grows to its end) / gp" "$tout" "$gp"
done
a=$(duree dialogue '4\n2\n1\n10000000\n1\n0\n0\n')
grep -ao 'Il y a  [0-9]*' sortie.txt
b=$(duree dialogue '4\n2\n1\n1000000\n1\n0\n0\n')
rapport "[4] range [1, 1e7] choice 2 count only / [1, 1e6]" "$a" "$b"

# Long answers pasted at the terminal (a pseudo-terminal driven by
# bench/terminal.py), against the same answers from a pipe. Measured in one
# run on 2 shared cores: 10^99999 0.43 s / 0.074 s (ratio 5.8), 1,000,000
# characters 0.31 s / 0.011 s (ratio 27), most of it the pseudo-terminal's
# 4 KB transfers and the driver; the line editor crashed from about 5,500
# characters before.
python3 -c "print('1'); print('1' + '0' * 99999); print('0'); print('0')" > cent_mille.txt
a=$(duree python3 "$racine/bench/terminal.py" "$prog" cent_mille.txt)
b=$(duree sh -c "'$prog' < cent_mille.txt")
rapport "[1] 10^99999 pasted at the terminal / from a pipe" "$a" "$b"
python3 -c "print('1' * 1000000); print('0')" > million.txt
a=$(duree python3 "$racine/bench/terminal.py" "$prog" million.txt)
b=$(duree sh -c "'$prog' < million.txt")
rapport "menu: 1,000,000-character line pasted at the terminal / pipe" "$a" "$b"
