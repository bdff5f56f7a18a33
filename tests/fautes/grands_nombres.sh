#!/usr/bin/env bash
# A very long answer at [1]: 10^3999999, four million digits, read, factored
# and written back whole. Reading and writing digit by digit took over a
# minute and a half; the guard below is only there to catch that.
#
#   grands_nombres.sh PROG LISTE
set -u
prog=$1 liste=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
ln -s "$liste" "$dir/liste.txt"
cd "$dir" || exit 1
chiffres=4000000
{ printf '1'; head -c $((chiffres - 1)) /dev/zero | tr '\0' '0'; } > n.txt
{ printf '1\n'; cat n.txt; printf '\n0\n0\n'; } > entree.txt
debut=$SECONDS
timeout 40 "$prog" < entree.txt > sortie.txt
statut=$?
echo "exit status $statut after $((SECONDS - debut)) s"
[ "$statut" = 1 ] || exit 1
# The result line: the number itself, then its factors, then the question.
python3 - "$chiffres" <<'FIN'
import sys
k = int(sys.argv[1]) - 1
n = open("n.txt").read()
ligne = " \n \n \t " + n + " =  (2)^%d X (5)^%d\n \n \t Nouvelle valeur" % (k, k)
sys.exit(0 if ligne in open("sortie.txt").read() else 1)
FIN
if [ $? != 0 ]; then
    echo "the result line is not the number followed by its factors"
    exit 1
fi
echo "result line exact"
