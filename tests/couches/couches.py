#!/usr/bin/env python3
"""Checks who includes whom in src/: every project include must follow the
layers, and no files may include each other, directly or in a circle.

    couches.py SRC_DIR
"""
import re
import sys
from pathlib import Path

# The folders each folder's files may include, besides its own.
PERMIS = {
    "base": set(),
    "state": {"base"},
    "primes": {"state", "base"},
    "input": {"state", "base"},
    "listings": {"primes", "input", "state", "base"},
    "factor": {"primes", "input", "state", "base"},
    "concat": {"primes", "input", "state", "base"},
    "app": {"listings", "factor", "concat", "primes", "input", "state", "base"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def main(src):
    fautes = []
    graphe = {}
    for f in sorted(src.rglob("*")):
        if f.suffix not in (".hpp", ".cpp"):
            continue
        nom = f.relative_to(src).as_posix()
        dossier = nom.split("/")[0]
        if dossier not in PERMIS:
            fautes.append(f"{nom}: folder {dossier} has no place in the layers")
            continue
        graphe[nom] = []
        for inclus in INCLUDE.findall(f.read_text()):
            cible = inclus.split("/")[0]
            if not (src / inclus).is_file():
                fautes.append(f"{nom}: includes {inclus}, which is not a file of src/")
                continue
            graphe[nom].append(inclus)
            if cible != dossier and cible not in PERMIS[dossier]:
                fautes.append(f"{nom}: {dossier} may not include {inclus} ({cible})")
    fautes += cycles(graphe)
    for faute in fautes:
        print(faute)
    print(f"{len(graphe)} files, {sum(map(len, graphe.values()))} project includes, "
          f"{len(fautes)} faults")
    return 1 if fautes else 0


def cycles(graphe):
    """Every circle of includes, once each (depth-first search)."""
    fautes, etat, chemin = [], {}, []

    def visiter(n):
        etat[n] = 1
        chemin.append(n)
        for m in graphe.get(n, []):
            if etat.get(m) == 1:
                fautes.append("circle of includes: " + " -> ".join(chemin[chemin.index(m):] + [m]))
            elif m not in etat:
                visiter(m)
        chemin.pop()
        etat[n] = 2

    for n in graphe:
        if n not in etat:
            visiter(n)
    return fautes


if __name__ == "__main__":
    sys.exit(main(Path(sys.argv[1])))
