#!/usr/bin/env bash
# Memory limits: under an address-space limit a listing command whose table
# would not fit is asked again at once, and a large prime at [1] is answered
# with the table grown only as far as fits; nothing on standard error, the
# next request answered, exit status 1. A request that needs more than there
# is ends with one line on standard error and the menu, never an abort; one
# that fits is never refused, nor starved by the table's growth behind an
# earlier one (each session three times: threads race).
#
#   memoire.sh PROG LISTE
set -u
prog=$1 liste=$2
command -v prlimit > /dev/null || { echo "prlimit unavailable"; exit 77; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
ln -s "$liste" "$dir/liste.txt"
cd "$dir"
ok=0

# 150,000,000 ranks take 320 MB: more than the 300 MB the whole process may map.
printf '2\n150000000\n0\n1\n12\n0\n0\n' | timeout 60 prlimit --as=300000000 "$prog" > sortie 2> erreur
statut=$?
[ "$statut" = 1 ] || { echo "exit status $statut, expected 1"; ok=1; }
[ -s erreur ] && { echo "standard error:"; cat erreur; ok=1; }
[ "$(grep -a -o -F '[0]   ? : ' sortie | wc -l)" = 2 ] || { echo "the command was not asked again"; ok=1; }
grep -q -F "12 =  (2)^2 X (3)" sortie || { echo "the next request was not answered"; ok=1; }

# A 25-digit prime would take the table to rank 150,000,000 (320 MB): it
# takes half the memory left at most.
printf '1\n1000000000000000000000007\n0\n2\n0\n0\n' | timeout 60 prlimit --as=500000000 "$prog" > sortie 2> erreur
statut=$?
[ "$statut" = 1 ] || { echo "exit status $statut, expected 1"; ok=1; }
[ -s erreur ] && { echo "standard error:"; cat erreur; ok=1; }
grep -q -F "1000000000000000000000007  est un nombre premier." sortie || { echo "no answer"; ok=1; }
rang=$(grep -a -o 'Le dernier nombre premier charge/calcule est  :    \[ [0-9]*' sortie | grep -o '[0-9]*$')
[ -n "$rang" ] && [ "$rang" -lt 150000000 ] || { echo "table grown to rank ${rang:-?}"; ok=1; }
# Counting [10^18, 10^18 + 10^9] needs some 400 MB: at most an answer or the
# memory line, and the menu.
for limite in 150000000 250000000 400000000; do
    for _ in 1 2 3; do
        printf '3\n1000000000000000000\n1000000001000000000\n1\n0\n' |
            timeout 60 prlimit --as=$limite "$prog" > sortie 2> erreur
        statut=$?
        [ "$statut" = 1 ] || { echo "[3] under $limite: exit status $statut"; cat erreur; ok=1; }
        grep -q -F 'Il y a  24127085' sortie || [ "$(cat erreur)" = "Memoire insuffisante : calcul abandonne." ] ||
            { echo "[3] under $limite: neither the count nor the memory line:"; cat erreur; ok=1; }
    done
done

# A few primes to list after a large factorisation, and a 40-digit number at
# [4]: both fit, whatever the table grew to behind the first request.
for _ in 1 2 3; do
    printf '1\n1000000000000000000000000000057\n0\n2\n5\n0\n0\n0\n' |
        timeout 60 prlimit --as=150000000 "$prog" > sortie 2> erreur
    [ "$(grep -a -c -F 'Nombres premiers suivants' sortie)" = 2 ] && [ ! -s erreur ] ||
        { echo "[2] 5 after [1] refused or failed"; cat erreur; ok=1; }
    printf '4\n1\n2357111317192329313741434753596167717379\n0\n0\n0\n' |
        timeout 60 prlimit --as=400000000 "$prog" > sortie 2> erreur
    grep -q -F 'possibles = 271782' sortie && [ ! -s erreur ] ||
        { echo "[4] 40 digits failed"; cat erreur; ok=1; }
done
exit $ok
