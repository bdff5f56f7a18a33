#!/usr/bin/env bash
# Standard output closed early: a long listing piped into head -c 1000, with
# SIGPIPE in force or ignored, and standard output closed from the start.
# The program must end by itself; timeout is only a guard against a spin.
#
#   sortie_fermee.sh PROG LISTE
set -u
prog=$1 liste=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
ln -s "$liste" "$dir/liste.txt"
cd "$dir" || exit 1
fautes=0

essai() { # name, input, how (pipe | ignore | ferme)
    local debut=$SECONDS statut
    case $3 in
    pipe) printf "$2" | timeout 120 "$prog" | head -c 1000 > /dev/null
        statut=${PIPESTATUS[1]} ;;
    ignore) (trap '' PIPE; printf "$2" | timeout 120 "$prog" | head -c 1000 > /dev/null
        exit "${PIPESTATUS[1]}")
        statut=$? ;;
    ferme) printf "$2" | timeout 120 "$prog" >&-
        statut=$? ;;
    esac
    if [ "$statut" = 124 ]; then
        echo "$1 ($3): still running after 120 s"
        fautes=$((fautes + 1))
    else
        echo "$1 ($3): ended, status $statut, $((SECONDS - debut)) s"
    fi
}

for how in pipe ignore; do
    essai "listing of 10,000,000 ranks" '2\n10000000\n0\n0\n' $how
    essai "primes up to 10^10" '3\n1\n10000000000\n0\n0\n' $how
    essai "concatenations up to 10^9" '4\n2\n1\n1000000000\n0\n0\n0\n' $how
    essai "explanations again and again" "$(printf '5\\n%.0s' $(seq 2000))0\\n" $how
done
essai "menu" '5\n0\n' ferme
exit $((fautes > 0))
