#!/usr/bin/env bash
# Standard output that cannot be written: a full device, a full file system
# (a small tmpfs, when one can be mounted), a reader gone with SIGPIPE
# ignored, --help and --version. The program ends with status 2 and one line
# on standard error that says why, never in silence.
#
#   ecriture.sh PROG LISTE
set -u
prog=$1 liste=$2
dir=$(mktemp -d)
trap 'umount "$dir/petit" 2> /dev/null; rm -rf "$dir"' EXIT
ln -s "$liste" "$dir/liste.txt"
cd "$dir" || exit 1
fautes=0

verdict() { # case, status, standard error file
    local lignes
    lignes=$(grep -c 'ecriture impossible sur la sortie standard' "$3")
    if [ "$2" != 2 ] || [ "$lignes" != 1 ]; then
        echo "$1: status $2, expected 2, and standard error:"
        cat "$3"
        fautes=$((fautes + 1))
    fi
}

printf '1\n12\n0\n0\n' | "$prog" > /dev/full 2> erreur
verdict "dialogue to /dev/full" $? erreur
for option in --help --version; do
    "$prog" $option > /dev/full 2> erreur
    verdict "$option to /dev/full" $? erreur
done
(trap '' PIPE; printf '2\n1000000\n0\n0\n' | "$prog" 2> erreur | head -c 1000 > /dev/null
    exit "${PIPESTATUS[1]}")
verdict "reader gone, SIGPIPE ignored" $? erreur
mkdir petit
if mount -t tmpfs -o size=64k tmpfs petit 2> /dev/null; then
    printf '2\n100000\n0\n0\n' | "$prog" > petit/sortie 2> erreur
    verdict "full file system" $? erreur
else
    echo "full file system: skipped, no tmpfs can be mounted here"
fi
exit $((fautes > 0))
