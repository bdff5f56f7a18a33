#!/usr/bin/env bash
# Memory limits: under an address-space limit a listing command whose table
# would not fit is asked again at once, and a large prime at [1] is answered
# with the table grown only as far as fits; nothing on standard error, the
# next request answered, exit status 1.
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
exit $ok
