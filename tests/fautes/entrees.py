#!/usr/bin/env python3
"""Hostile standard input, derived from every transcript case of a folder.

For each case (those that use the plain fixture), the program must:
- read the same lines with CR LF line ends and give the same output (when
  they do not end in CR already);
- end with status 1 when the input stops after any number of lines, its
  output then being the start of the case's output, up to a question;
- when a refused line is slipped in before any line (a 1 MB line of digits
  ending in a blank, a 1 MB line of letters, NUL bytes, binary garbage), ask
  that question again and go on exactly as before.
A run that lasts longer than the guard counts as a failure: the program must
never loop. With PAS above 1, only one cut in PAS is checked, a different
one from case to case.

    entrees.py PROG LISTE TRANSCRIPTS [PAS]
"""
import concurrent.futures
import os
import random
import subprocess
import sys
import tempfile

GARDE = 60  # seconds: a guard against loops, not a timing


def lancer(prog, liste, entree):
    with tempfile.TemporaryDirectory() as dossier:
        os.symlink(liste, os.path.join(dossier, "liste.txt"))
        try:
            r = subprocess.run([prog], input=entree, capture_output=True, cwd=dossier, timeout=GARDE)
        except subprocess.TimeoutExpired:
            return None, b""
        return r.returncode, r.stdout


def refusee(k):
    """A line that every question refuses, never beginning with "=" or "*"."""
    genre = k % 4
    if genre == 0:
        return b"7" * (1 << 20) + b" "
    if genre == 1:
        return b"x" * (1 << 20)
    if genre == 2:
        return b"\0" if k % 8 == 2 else b"1\0"
    g = random.Random(k)
    return b"\xff" + bytes(g.choice([c for c in range(256) if c != 10]) for _ in range(300))


def verifier(prog, liste, cas, pas):
    lignes = open(cas + ".in", "rb").read().split(b"\n")
    if lignes and lignes[-1] == b"":
        lignes.pop()
    attendu = open(cas + ".out", "rb").read()
    fautes = []

    statut, sortie = lancer(prog, liste, b"".join(l + b"\r\n" for l in lignes))
    if not any(l.endswith(b"\r") for l in lignes) and (statut != 1 or sortie != attendu):
        fautes.append("CR LF line ends: status %s, output %s" % (statut, "same" if sortie == attendu else "differs"))

    decalage = sum(cas.encode()) % pas
    for k in range(decalage, len(lignes), pas):
        debut = b"".join(l + b"\n" for l in lignes[:k])
        statut, avant = lancer(prog, liste, debut)
        if statut != 1 or not attendu.startswith(avant) or not avant.rstrip(b" ").endswith((b":", b"?")):
            fautes.append("end of input after %d lines: status %s, output %s" % (
                k, statut, "not the start of the case's" if not attendu.startswith(avant) else "not at a question"))
            continue
        reste = b"".join(l + b"\n" for l in lignes[k:])
        statut, sortie = lancer(prog, liste, debut + refusee(k) + b"\n" + reste)
        m = len(avant)
        question = sortie[m:len(sortie) - (len(attendu) - m)]
        if (statut != 1 or not sortie.startswith(avant) or not sortie.endswith(attendu[m:])
                or not question or not avant.endswith(question)):
            fautes.append("refused line (kind %d) before line %d: status %s, question not asked again alone"
                          % (k % 4, k + 1, statut))
    return cas, fautes


def main():
    prog, liste, racine = sys.argv[1:4]
    pas = int(sys.argv[4]) if len(sys.argv) > 4 else 1
    cas = []
    for dossier, _, noms in os.walk(racine):
        for nom in sorted(noms):
            base = os.path.join(dossier, nom[:-3])
            if (nom.endswith(".in") and not os.path.exists(base + ".setup")
                    and not os.path.exists(base + ".status")):
                cas.append(base)
    echecs = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        for nom, fautes in pool.map(lambda c: verifier(prog, liste, c, pas), sorted(cas)):
            for f in fautes:
                print("%s: %s" % (os.path.relpath(nom, racine), f))
            echecs += len(fautes)
    print("%d cases, %d faults" % (len(cas), echecs))
    return 1 if echecs else 0


if __name__ == "__main__":
    sys.exit(main())
