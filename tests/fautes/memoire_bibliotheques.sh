#!/usr/bin/env bash
# Library threads under an address-space limit: [1] on a 70-digit semiprime
# (the sieve on both cores, PARI's proofs of its factors) and on a 400-digit
# prime (PARI's proof) either answers or gives the one memory line and the
# menu, each within its time bound; never a wait without end, never a second
# line on standard error; exit status 1 at [0].
#
#   memoire_bibliotheques.sh PROG
set -u
prog=$1
command -v prlimit > /dev/null || { echo "prlimit unavailable"; exit 77; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
ok=0

semipremier=5233819191595443531297606690795845690477411799086523125686485932950739
premier400=1$(printf '0%.0s' $(seq 394))12831 # the first prime above 10^399 + 12345
ligne_memoire="Memoire insuffisante : calcul abandonne."

facteur="(61196395951572424371308508835533703)"
prouve="est un nombre premier."
# limit (bytes) | number | its answer | time bound (s)
cas=(
    "60000000|$semipremier|$facteur|60"
    "120000000|$semipremier|$facteur|150"
    "200000000|$semipremier|$facteur|150"
    "150000000|$premier400|$prouve|150"
    "400000000|$premier400|$prouve|150"
)
for ligne in "${cas[@]}"; do
    IFS='|' read -r limite n reponse borne <<< "$ligne"
    printf '1\n%s\n0\n0\n' "$n" | timeout "$borne" prlimit --as="$limite" "$prog" > sortie 2> erreur
    statut=$?
    quoi="${#n} digits under $limite bytes"
    [ "$statut" = 1 ] || { echo "$quoi: exit status $statut (124: no answer in $borne s)"; ok=1; }
    if grep -q -F -- "$reponse" sortie; then
        [ -s erreur ] && { echo "$quoi: answered, but standard error holds:"; cat erreur; ok=1; }
    elif [ "$(cat erreur)" != "$ligne_memoire" ]; then
        echo "$quoi: neither the answer nor the memory line; standard error:"
        cat erreur
        ok=1
    fi
done
exit $ok
