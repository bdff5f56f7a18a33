#!/usr/bin/env bash
# Start-up in odd conditions: the command line (--help, --version, anything
# else) and standard descriptors closed, with a sound liste.txt in the folder.
#
#   demarrage.sh PROG LISTE
set -u
prog=$1 liste=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
ln -s "$liste" "$dir/liste.txt"
cd "$dir" || exit 1
fautes=0
faute() { echo "FAULT: $*"; fautes=$((fautes + 1)); }

# lance NAME EXPECTED-STATUS ARGS...: runs the program with standard input
# empty, its output in out.txt and err.txt.
lance() {
    local nom=$1 attendu=$2
    shift 2
    timeout 60 "$prog" "$@" < /dev/null > out.txt 2> err.txt
    local statut=$?
    [ "$statut" = "$attendu" ] || faute "$nom: exit status $statut, expected $attendu"
}

lance "--help" 0 --help
grep -q '^Usage : premiers \[--help | --version\]$' out.txt || faute "--help: no usage line on standard output"
grep -q 'liste.txt' out.txt || faute "--help: liste.txt not mentioned"
[ -s err.txt ] && faute "--help: standard error not empty"
grep -q 'POUR MODIFIER' out.txt && faute "--help: the menu started"

lance "--version" 0 --version
grep -Eq '^premiers [0-9]+\.[0-9]+' out.txt || faute "--version: no version line"
[ -s err.txt ] && faute "--version: standard error not empty"

for args in "-h" "--aide" "x" "--help --version" "--help x"; do
    # shellcheck disable=SC2086
    lance "premiers $args" 2 $args
    [ -s out.txt ] && faute "premiers $args: standard output not empty (the menu started?)"
    grep -q '^premiers : ' err.txt || faute "premiers $args: no message on standard error"
    grep -q '^Usage : premiers' err.txt || faute "premiers $args: no usage line on standard error"
done

# The first screen with standard input at its end: the menu, the question.
timeout 60 "$prog" < /dev/null > premier-ecran.txt 2> /dev/null

# Standard input closed: liste.txt must not become the dialogue's input.
timeout 60 "$prog" <&- > out.txt 2> err.txt
statut=$?
[ "$statut" = 1 ] || faute "<&-: exit status $statut, expected 1"
cmp -s out.txt premier-ecran.txt || faute "<&-: output is not the first screen alone ($(wc -c < out.txt) bytes)"

# All three closed: the program ends by itself, as at the end of its input.
timeout 60 "$prog" <&- >&- 2>&-
statut=$?
[ "$statut" = 1 ] || faute "<&- >&- 2>&-: exit status $statut, expected 1"

# Standard output closed: the answers are still read and the program ends
# at [0]; liste.txt is not mistaken for standard output.
printf '2\n=5000\n0\n0\n' | timeout 60 "$prog" >&- 2> err.txt
statut=$?
[ "$statut" = 1 ] || faute ">&-: exit status $statut, expected 1"

echo "$fautes fault(s)"
exit $((fautes > 0))
