#!/usr/bin/env bash
# Speed figures of premiers against primesieve, primecount and PARI/GP, each
# measured in this one run; bench/README.md says what each one is compared
# with. Needs a Release build in build/ with -DPREMIERS_BENCH=ON, the
# primesieve and primecount commands, gp, bc and python3 (tools/setup.sh
# bench installs them, builds and runs this). The figures with liste.txt
# read the repository's, or one written here by genliste.
#
#   bench/run.sh
#   LONG=1 bench/run.sh    also [3] count [1, 2^63-1] (several minutes)
set -euo pipefail
cd "$(dirname "$0")/.."
[ -x build/bench/bench_travail ] || { echo "build with -DPREMIERS_BENCH=ON first" >&2; exit 1; }
racine=$PWD
prog=$racine/build/src/premiers
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
if [ -f liste.txt ]; then
    ln -s "$racine/liste.txt" "$travail/liste.txt"
else
    build/tools/genliste/genliste 149999998 "$travail/liste.txt" 2> /dev/null
fi
mkdir "$travail/sans-liste"
cd "$travail"

# Wall-clock seconds of a command, best of 3 (of $FOIS when set).
duree() {
    local meilleur=
    for _ in $(seq "${FOIS:-3}"); do
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
# Median of the ratios A / B over 7 pairs of runs, A and B in turn (the
# machine's speed drifts: a pair shares its moment), and each one's median.
paires() { # label, command A, command B
    local ratios=() as=() bs=()
    for _ in 1 2 3 4 5 6 7; do
        local t0 t1 t2
        t0=$(date +%s.%N)
        sh -c "$2" > /dev/null 2>&1 || true
        t1=$(date +%s.%N)
        sh -c "$3" > /dev/null 2>&1 || true
        t2=$(date +%s.%N)
        as+=("$(echo "$t1 - $t0" | bc)")
        bs+=("$(echo "$t2 - $t1" | bc)")
        ratios+=("$(echo "($t1 - $t0) / ($t2 - $t1)" | bc -l)")
    done
    mediane() { printf '%s\n' "$@" | sort -g | sed -n 4p; }
    printf '%-62s %8.3f s  %8.3f s  ratio %6.2f (median of 7 pairs)\n' "$1" \
        "$(mediane "${as[@]}")" "$(mediane "${bs[@]}")" "$(mediane "${ratios[@]}")"
}
# Feeds the answers ($1, printf format) to the program, its output to a file.
dialogue() { printf "$1" | "$prog" > sortie.txt; }
rapport() { printf '%-62s %8.3f s  %8.3f s  ratio %6.2f\n' "$1" "$2" "$3" "$(echo "$2 / $3" | bc -l)"; }
echo "figure                                                          ours      reference"

a=$(duree dialogue '3\n1000000000000\n1001000000000\n1\n0\n')
b=$(duree primesieve 1e12 1e12+1e9 --count)
rapport "[3] count [1e12, 1e12+1e9] / primesieve --count" "$a" "$b"

# Count only by the prime-counting function, against the primecount
# command's pi(fin) and pi(debu - 1).
compte_pi() { # lower, upper, label
    local a b
    a=$(duree dialogue "3\n$1\n$2\n1\n0\n")
    grep -ao 'Il y a  [0-9]*' sortie.txt
    b=$(duree sh -c "primecount $2 && primecount $(($1 - 1))")
    rapport "[3] count $3 / primecount pi(fin), pi(debu-1)" "$a" "$b"
}
compte_pi 1 1000000000000000 "[1, 1e15]"
compte_pi 1000000000000000 10000000000000000 "[1e15, 1e16]"
compte_pi 123456789 98765432109876 "[123456789, 98765432109876]"
if [ -n "${LONG:-}" ]; then
    FOIS=1 compte_pi 1 9223372036854775807 "[1, 2^63-1]"
fi

a=$(duree dialogue '3\n1000000000000\n1000100000000\n0\n0\n')
b=$(duree sh -c 'primesieve 1e12 1e12+1e8 --print > p.txt')
rapport "[3] list [1e12, 1e12+1e8] to a file / primesieve --print" "$a" "$b"

a=$(duree dialogue '2\n10000000\n0\n0\n')
b=$(duree sh -c 'primesieve 1 179424673 --print > p.txt')
rapport "[2] 10000000 at first use to a file / primesieve --print" "$a" "$b"

# From start-up the answer comes first and the table fills behind it.
haut=9223372036854775807
bas=$((haut - 1000000))
une=$(duree dialogue "3\n$bas\n$haut\n1\n0\n")
b=$(duree primesieve $bas $haut --count)
rapport "[3] count [2^63-1e6, 2^63-1] from start-up / primesieve --count" "$une" "$b"
a=$(duree dialogue '4\n1\n4728193650172839465019283746501928374651\n0\n0\n0\n')
printf '%-62s %8.3f s\n' "[4] 40 digits from start-up" "$a"

# The whole table, 150,000,000 ranks, filled from start-up and its end shown
# ([2] =150000000): without liste.txt against primesieve counting the same
# primes on both cores, and with the full liste.txt in the folder against
# without it; resident memory of the full table after [1] of a 25-digit
# prime and the selections.
plein='printf "2\n=150000000\n0\n0\n" | '"$prog"
paires "full table from start-up, no liste.txt / primesieve --count" \
    "cd sans-liste && $plein" "primesieve 3121238909 --count"
paires "full table from start-up, with liste.txt / without it" "$plein" "cd sans-liste && $plein"
printf '1\n1000000000000000000000007\n0\n2\n*\n0\n0\n0\n' | /usr/bin/time -f '%M' "$prog" 2> memoire.txt > /dev/null || true
echo "resident after [1] of a 25-digit prime and the selections: $(( $(tail -1 memoire.txt) / 1024 )) MB"

# The factorisation and concatenation requests, timed inside one process
# once the table is at the end of liste.txt's range (see bench/travail.cpp),
# next to PARI/GP; and from start-up, the table filling behind the answer.
"$racine/build/bench/bench_travail"
for n in 300000000000000380960000000000012449541 \
    40000000000000000000000005047300000000000000000000013299873 \
    340282366920938463463374607431768211457; do
    gp=$(duree sh -c "echo 'factorint($n)' | gp -q")
    tout=$(duree dialogue "1\n$n\n0\n0\n")
    rapport "[1] ${#n} digits from start-up / gp" "$tout" "$gp"
done
# A 10,000,000-digit answer at [1] (10^9999999): read, factored and written
# back, next to gp reading, printing and factoring it.
{ printf '1'; head -c 9999999 /dev/zero | tr '\0' '0'; echo; } > n10.txt
{ printf '1\n'; cat n10.txt; printf '0\n0\n'; } > n10.in
a=$(duree sh -c "'$prog' < n10.in > sortie.txt")
b=$(duree sh -c 'echo "n=read(\"n10.txt\"); print(n); print(factor(n))" | gp -q -s 200M')
rapport "[1] 10^9999999 (10,000,000 digits) read and written / gp" "$a" "$b"
# [1] per size class, a product of two primes of half its size: the request
# alone (table already grown) against one gp process, in this run.
gp_pari() { echo "$1" | gp -q -D parisizemax=4G > /dev/null 2>&1; }
semis=(662535964922357 48973219816041823087 4492414357169364207874027
    191720003520630768047066487403 64147566969677888492916996103196987
    2287578533285563717539406310225583437057 178299272144524584304254354533242080887965823
    75583232794269259415856500105059401805853136267991
    5581456392897595558379122410452239495258251598415129113
    105032137296083366125728108323169834037190290600867270119257
    5465193332227928597233597768242397795572522925240711470565052009)
"$racine/build/bench/bench_travail" "${semis[@]}" > interne.txt
for n in "${semis[@]}"; do
    a=$(grep -a "^\[1\] ${#n} digits" interne.txt | awk '{print $4}')
    b=$(duree gp_pari "factorint($n)")
    rapport "[1] ${#n} digits, request alone / gp factorint" "$a" "$b"
done
# Eleven semiprimes of 24 to 60 digits in one [1] session from start-up
# against one gp process.
onze=(4492414357169364207874027 191720003520630768047066487403 276007431356683560106507778491
    64147566969677888492916996103196987 2287578533285563717539406310225583437057
    3408101199586037321869479967462821763603 178299272144524584304254354533242080887965823
    653577764873897176656691755463444419233885407 75583232794269259415856500105059401805853136267991
    5581456392897595558379122410452239495258251598415129113
    105032137296083366125728108323169834037190290600867270119257)
reponses="1\n"
liste_gp=
for n in "${onze[@]}"; do reponses+="$n\n1\n"; liste_gp+="factorint($n);"; done
reponses="${reponses%1\\n}0\n0\n"
a=$(duree dialogue "$reponses")
b=$(duree gp_pari "$liste_gp")
rapport "[1] eleven semiprimes 24-60 digits from start-up / one gp" "$a" "$b"
# A 1000-digit prime at [1], proved prime, against isprime in gp: once each.
p1000=$(echo 'print(nextprime(10^999 + 3 * 10^500))' | gp -q)
a=$("$racine/build/bench/bench_travail" "$p1000" | awk '/^\[1\]/ {print $4}')
t0=$(date +%s.%N)
gp_pari "isprime($p1000)"
b=$(echo "$(date +%s.%N) - $t0" | bc)
rapport "[1] 1000-digit prime, request alone / gp isprime" "$a" "$b"

a=$(duree dialogue '4\n2\n1\n10000000\n1\n0\n0\n')
grep -ao 'Il y a  [0-9]*' sortie.txt
b=$(duree dialogue '4\n2\n1\n1000000\n1\n0\n0\n')
rapport "[4] range [1, 1e7] choice 2 count only / [1, 1e6]" "$a" "$b"

# Long answers pasted at the terminal (a pseudo-terminal driven by
# bench/terminal.py), against the same answers from a pipe.
python3 -c "print('1'); print('1' + '0' * 99999); print('0'); print('0')" > cent_mille.txt
a=$(duree python3 "$racine/bench/terminal.py" "$prog" cent_mille.txt)
b=$(duree sh -c "'$prog' < cent_mille.txt")
rapport "[1] 10^99999 pasted at the terminal / from a pipe" "$a" "$b"
python3 -c "print('1' * 1000000); print('0')" > million.txt
a=$(duree python3 "$racine/bench/terminal.py" "$prog" million.txt)
b=$(duree sh -c "'$prog' < million.txt")
rapport "menu: 1,000,000-character line pasted at the terminal / pipe" "$a" "$b"
