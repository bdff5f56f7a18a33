#!/usr/bin/env bash
# Runs one transcript case: PROG is started in a fresh folder holding liste.txt,
# with CASE.in as its standard input; its standard output must equal CASE.out
# byte for byte and its exit status must be 1 (or the number in CASE.status).
#
# A CASE.setup file, when present, is run by bash in that folder instead of
# linking the fixture there (LISTE names the fixture), to build an odd liste.txt;
# when it exits with status 77 the case cannot be set up here and is skipped.
#
#   run_transcript.sh PROG LISTE CASE
set -u
prog=$1 liste=$2 cas=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

if [ -f "$cas.setup" ]; then
    (cd "$dir" && LISTE=$liste bash "$cas.setup")
    case $? in
    0) ;;
    77) echo "skipped: cannot be set up here"; exit 77 ;;
    *) echo "setup failed"; exit 1 ;;
    esac
else
    ln -s "$liste" "$dir/liste.txt"
fi
attendu=1
[ -f "$cas.status" ] && attendu=$(cat "$cas.status")

(cd "$dir" && timeout 60 "$prog" < "$cas.in" > "$dir/sortie")
statut=$?
ok=0
if [ "$statut" != "$attendu" ]; then
    echo "exit status $statut, expected $attendu"
    ok=1
fi
if ! cmp -s "$dir/sortie" "$cas.out"; then
    ecart=$(cmp "$dir/sortie" "$cas.out" | sed -n 's/.*byte \([0-9]*\).*/\1/p')
    [ -z "$ecart" ] && ecart=$(( $(wc -c < "$dir/sortie") < $(wc -c < "$cas.out") ? $(wc -c < "$dir/sortie") : $(wc -c < "$cas.out") ))
    debut=$(( ecart > 200 ? ecart - 200 : 0 ))
    echo "output differs from $cas.out at byte $ecart (sizes $(wc -c < "$dir/sortie") and $(wc -c < "$cas.out"))"
    echo "--- got (from byte $debut, whitespace shown):"
    tail -c +$((debut + 1)) "$dir/sortie" | head -c 500 | cat -A; echo
    echo "--- expected:"
    tail -c +$((debut + 1)) "$cas.out" | head -c 500 | cat -A; echo
    ok=1
fi
exit $ok
