#!/usr/bin/env bash
# A full liste.txt whose value of rank 140,000,000 is wrong changes nothing:
# the session's screens, the table filled to its end and shown, are those of
# no file at all. Needs 1.6 GB of disk for the file (skipped otherwise).
#
#   liste_tardive.sh PROG GENLISTE
set -u
prog=$1 genliste=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
libre=$(df -Pk . | awk 'NR == 2 {print $4}')
[ "$libre" -gt 4000000 ] || { echo "skipped: less than 4 GB free here"; exit 77; }

# A 25-digit prime takes the table to rank 150,000,000; the listing then
# shows its end.
session() { # folder
    (cd "$1" && printf '1\n1000000000000000000000007\n0\n2\n*\n0\n=0\n0\n0\n' |
        timeout 120 "$prog" > sortie)
    echo $?
}
mkdir saine abimee vide
"$genliste" 149999998 saine/liste.txt 2> /dev/null || { echo "genliste failed"; exit 1; }
p=$(sed -n '139999998{p;q}' saine/liste.txt) # the value of rank 140,000,000
decalage=$(grep -b -m1 -x "$p" saine/liste.txt | cut -d: -f1)
mv saine/liste.txt abimee/liste.txt
# The last digit of that prime becomes 1 or 3: a value that is not its rank's prime.
chiffre=$([ "${p: -1}" = 1 ] && echo 3 || echo 1)
printf '%s' "$chiffre" | dd of=abimee/liste.txt bs=1 seek=$((decalage + ${#p} - 1)) conv=notrunc 2> /dev/null
[ "$(session abimee)" = 1 ] || { echo "damaged file: exit status not 1"; exit 1; }
[ "$(session vide)" = 1 ] || { echo "no file: exit status not 1"; exit 1; }
grep -q -F '[ 150000000 : 3121238909 ]' abimee/sortie || { echo "the table's end is not shown"; exit 1; }
cmp abimee/sortie vide/sortie || { echo "the screens differ"; exit 1; }
