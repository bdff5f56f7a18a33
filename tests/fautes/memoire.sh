#!/usr/bin/env bash
# Memory running out during a request: under an address-space limit, a
# listing command that needs more than the limit leaves one line on standard
# error, the menu comes back with the table kept, and the next request (the
# factorisation of 12) is answered; the program ends with status 1.
#
#   memoire.sh PROG LISTE
set -u
prog=$1 liste=$2
command -v prlimit > /dev/null || { echo "prlimit unavailable"; exit 77; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
ln -s "$liste" "$dir/liste.txt"
cd "$dir"

# 80,000,000 ranks take 320 MB: more than the 300 MB the whole process may map.
printf '2\n80000000\n1\n12\n0\n0\n' | timeout 60 prlimit --as=300000000 "$prog" > sortie 2> erreur
statut=$?
ok=0
[ "$statut" = 1 ] || { echo "exit status $statut, expected 1"; ok=1; }
attendu="Memoire insuffisante : calcul abandonne."
[ "$(cat erreur)" = "$attendu" ] || { echo "standard error:"; cat erreur; ok=1; }
# Up to the listing's question, the screens of a run without the limit.
printf '2\n0\n0\n' | "$prog" > debut
question=$'[0]   ? : '
n=$(grep -abo -F "$question" debut | head -1 | cut -d: -f1)
n=$((n + ${#question}))
cmp -s <(head -c "$n" sortie) <(head -c "$n" debut) || { echo "output differs before the listing"; ok=1; }
# Then the menu again and the answer to the next request.
tail -c +"$((n + 1))" sortie | grep -q "Quel est votre choix" || { echo "no menu after the failure"; ok=1; }
grep -q -F "12 =  (2)^2 X (3)" sortie || { echo "the next request was not answered"; ok=1; }
exit $ok
