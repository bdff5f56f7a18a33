#!/usr/bin/env bash
# Primes shown prime at [1], from start-up: the primes of known forms, each
# alone; then random primes of D digits against gp's isprime and primecert
# on the same numbers, in the same run, the order swapped from one run to
# the next. Wall-clock and processor seconds of each (processor seconds add
# up the threads), and the ratio of ours to the faster of gp's two.
#
# Needs a Release build in build/, gp (pari-gp) on PATH and /usr/bin/time
# (time). The program runs in an empty folder: it needs no liste.txt.
#
#   bench/preuves.sh                      the forms, then 1000 digits once
#   CHIFFRES="300 600" FOIS=3 bench/preuves.sh
#   CHIFFRES= bench/preuves.sh            the forms only
#   FORMES= bench/preuves.sh              the random primes only
set -euo pipefail
cd "$(dirname "$0")/.."
prog=$PWD/build/src/premiers
[ -x "$prog" ] || { echo "build the release preset first" >&2; exit 1; }
gp=$(command -v gp) || { echo "gp (pari-gp) is not on PATH" >&2; exit 1; }
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
cd "$travail"

# The decimal digits of a gp expression, into a file.
ecrire() { # file, expression
    rm -f "$1"
    echo "write(\"$1\", $2)" | "$gp" -q -D parisizemax=1G > /dev/null
}
# "wall processor" seconds of a shell command, its output to sortie.txt.
mesurer() {
    /usr/bin/time -f '%e %U' -o mesure.txt sh -c "$1" > sortie.txt 2>&1 || true
    tail -1 mesure.txt
}
# [1] on the number in file $1: the times, and whether it was shown prime.
nous() {
    local m
    m=$(mesurer "printf '1\\n%s\\n0\\n0\\n' \"\$(cat $1)\" | '$prog'")
    if grep -q "est un nombre premier" sortie.txt; then echo "$m premier"; else echo "$m NON"; fi
}
gp_seul() { # function, file
    mesurer "echo 'print($1(read(\"$2\")))' | '$gp' -q -D parisizemax=4G"
}

formes=("2^4423 - 1" "2^9689 - 1" "2^21701 - 1" "872! + 1" "974! - 1" "2657# + 1" "3*2^3912 + 1"
    "(10^317 - 1)/9")
en_gp() { # 2657# becomes a product of primes for gp
    echo "$1" | sed -E 's/([0-9]+)#/prod(i = 1, primepi(\1), prime(i))/'
}
if [ "${FORMES-1}" ]; then
    echo "== [1] on primes of known forms, from start-up"
    for f in "${formes[@]}"; do
        ecrire n.txt "$(en_gp "$f")"
        set -- $(nous n.txt)
        printf '%-22s %6d digits   %7.2f s wall %7.2f s cpu   %s\n' "$f" "$(tr -d '\n' < n.txt | wc -c)" "$1" "$2" "$3"
    done
fi

for d in ${CHIFFRES-1000}; do
    echo "== [1] on random primes of $d digits, against gp's isprime and primecert"
    for run in $(seq "${FOIS:-1}"); do
        ecrire p.txt "setrand($d * 100 + $run); randomprime([10^($d - 1), 10^$d])"
        if [ $((run % 2)) = 1 ]; then
            a=$(nous p.txt)
            b=$(gp_seul isprime p.txt)
            c=$(gp_seul primecert p.txt)
        else
            c=$(gp_seul primecert p.txt)
            b=$(gp_seul isprime p.txt)
            a=$(nous p.txt)
        fi
        set -- $a $b $c
        meilleur=$(echo "if ($4 < $6) $4 else $6" | bc -l)
        printf '%d digits, run %d: ours %7.2f s (cpu %7.2f) %s   gp isprime %7.2f s (cpu %7.2f)   primecert %7.2f s (cpu %7.2f)   ratio %5.2f\n' \
            "$d" "$run" "$1" "$2" "$3" "$4" "$5" "$6" "$7" "$(echo "$1 / $meilleur" | bc -l)"
    done
done
