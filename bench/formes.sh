#!/usr/bin/env bash
# [1] on numbers of special forms and on products with a factor of 25
# digits, next to GMP-ECM's ecm and PARI/GP's factorint, all measured in this
# one run, start-up included. Needs a Release build in build/, and gp
# (pari-gp) and ecm (gmp-ecm) on the PATH. The numbers are drawn afresh by
# gp at each run (GRAINE=... draws the same again).
#
#   bench/formes.sh
#   PRODUITS=9 bench/formes.sh          nine products p25 x p110 (five by default)
#   AVANT=/other/premiers bench/formes.sh   the same requests by another build too
set -euo pipefail
cd "$(dirname "$0")/.."
prog=$PWD/build/src/premiers
[ -x "$prog" ] || { echo "build the release preset first" >&2; exit 1; }
for c in gp ecm bc; do command -v $c > /dev/null || { echo "$c missing" >&2; exit 1; }; done
graine=${GRAINE:-$(date +%s)}
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
cd "$travail" # no liste.txt: the program does without

maintenant() { date +%s.%N; }
ecart() { echo "$2 - $1" | bc; }
# [1] on N with PROGRAM, its screens into sortie.txt; then the result line
# into resultat.txt, out of the time measured.
decomposer() { # program, N
    printf '1\n%s\n0\n0\n' "$2" | "$1" > sortie.txt || true
}
resultat() { grep -a ' =  \|premier\. ' sortie.txt > resultat.txt || true; }
# The factors as a gp vector of [p, e], checked for primality by isprime.
prouves() { # N
    local v
    v=$(grep -aoE '\([0-9]+\)(\^[0-9]+)?' resultat.txt | sed -E 's/\(([0-9]+)\)\^([0-9]+)/[\1,\2]/; s/\(([0-9]+)\)$/[\1,1]/' |
        tr '\n' ',' | sed 's/,$//')
    if grep -aq 'premier\. ' resultat.txt; then v="[$1,1]"; fi
    echo "v=[$v]; n=prod(t=1,#v,v[t][1]^v[t][2]); print(if(n==$1 && vecmin(vector(#v,t,isprime(v[t][1])))==1, \"ok\", \"FAUX\"))" |
        gp -q -D parisizemax=1G 2> /dev/null | tail -1
}
mediane() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {print (NR%2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2)}'; }

# --- Products of a prime of 25 digits and one of 110, against ecm running
# the usual ladder of B1 on one core (74 curves at 11e3, 214 at 5e4, 430 at
# 25e4, 904 at 1e6, 2350 at 3e6), stopping at the first factor.
echelle() { # N
    local r
    for r in "74 11e3" "214 5e4" "430 25e4" "904 1e6" "2350 3e6"; do
        set -- $r
        [ "$(echo "$N" | ecm -q -c "$1" "$2" | wc -w)" -gt 1 ] && return 0
    done
}
echo "p25 x p110 (graine $graine)                          premiers      ecm   ratio"
mapfile -t produits < <(echo "setrand($graine); for(t=1,${PRODUITS:-5}, print(randomprime([10^24,10^25])*randomprime([10^109,10^110])))" | gp -q)
ratios=()
for N in "${produits[@]}"; do
    t0=$(maintenant)
    decomposer "$prog" "$N"
    t1=$(maintenant)
    echelle
    t2=$(maintenant)
    a=$(ecart "$t0" "$t1")
    b=$(ecart "$t1" "$t2")
    ratios+=("$(echo "$a / $b" | bc -l)")
    resultat
    printf '  %-50s %8.2f s %8.2f s  %5.2f  %s\n' "${N:0:20}...(${#N} digits)" "$a" "$b" "${ratios[-1]}" "$(prouves "$N")"
done
printf '  median of the ratios: %.2f\n' "$(mediane "${ratios[@]}")"

# --- 2^n +- 1 (n <= 200) and 10^n +- 1 (n <= 60), sixteen drawn: each
# fully factored, every factor proved, against one gp process per number
# running factorint; the best of three runs of each.
echo "2^n +- 1, 10^n +- 1 (graine $graine)                 premiers       gp"
mapfile -t formes < <(echo "setrand($graine + 1); for(t=1,16, b=if(random(2),2,10); n=2+random(if(b==2,199,59)); s=if(random(2),\"+\",\"-\"); print(b,\"^\",n,s,1))" | gp -q)
somme_a=0
somme_b=0
# Seconds of a command, the best of $FOIS runs (3 by default).
meilleur() {
    local m= t0 t
    for _ in $(seq "${FOIS:-3}"); do
        t0=$(maintenant)
        "$@" > /dev/null 2>&1 || true
        t=$(ecart "$t0" "$(maintenant)")
        if [ -z "$m" ] || [ "$(echo "$t < $m" | bc)" = 1 ]; then m=$t; fi
    done
    echo "$m"
}
factorint() { echo "factorint($1)" | gp -q -D parisizemax=1G; }
for f in "${formes[@]}"; do
    N=$(echo "print($f)" | gp -q)
    a=$(meilleur decomposer "$prog" "$N")
    b=$(meilleur factorint "$N")
    somme_a=$(echo "$somme_a + $a" | bc)
    somme_b=$(echo "$somme_b + $b" | bc)
    resultat
    printf '  %-50s %8.3f s %8.3f s  %s\n' "$f" "$a" "$b" "$(prouves "$N")"
done
printf '  %-50s %8.3f s %8.3f s  ratio %.2f\n' "sum" "$somme_a" "$somme_b" "$(echo "$somme_a / $somme_b" | bc -l)"

# --- The eleven semiprimes of 24 to 60 digits of bench/run.sh, in one [1]
# session from start-up, against one gp process (and AVANT's build).
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
session() { printf "$reponses" | "$1" > /dev/null || true; } # [0] ends with status 1
t0=$(maintenant)
session "$prog"
t1=$(maintenant)
echo "$liste_gp" | gp -q -D parisizemax=1G > /dev/null
t2=$(maintenant)
printf '%-52s %8.3f s %8.3f s (gp)\n' "eleven semiprimes 24-60 digits" "$(ecart "$t0" "$t1")" "$(ecart "$t1" "$t2")"
if [ -n "${AVANT:-}" ]; then
    t0=$(maintenant)
    session "$AVANT"
    t1=$(maintenant)
    printf '%-52s %8.3f s (%s)\n' "  the same by the other build" "$(ecart "$t0" "$t1")" "$AVANT"
fi
