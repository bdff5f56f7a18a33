#!/usr/bin/env python3
"""Runs premiers in a pseudo-terminal and types the lines of a file, each
once the question for it is on the screen (the screen ends with ": " or
"? "), as a user pasting them would. Used by bench/run.sh to time long
answers typed at the terminal against the same answers from a pipe.

    bench/terminal.py PROGRAM LINES
"""
import os
import pty
import select
import sys


def main():
    programme, fichier = sys.argv[1], sys.argv[2]
    with open(fichier, "rb") as f:
        lignes = f.read().split(b"\n")[:-1]
    pid, maitre = pty.fork()
    if pid == 0:
        os.execv(programme, [programme])
    os.set_blocking(maitre, False)
    recu = b""
    a_taper = b""
    while True:
        if not a_taper and lignes and recu.rstrip(b" ").endswith((b":", b"?")):
            a_taper = lignes.pop(0) + b"\r"
            recu = b""
        pret, ecrivable, _ = select.select([maitre], [maitre] if a_taper else [], [], 60)
        if not pret and not ecrivable:
            sys.exit("no answer from the program")
        if pret:
            try:
                bloc = os.read(maitre, 65536)
            except OSError:  # the program ended
                break
            if not bloc:
                break
            recu = (recu + bloc)[-64:]
        if ecrivable and a_taper:
            try:
                fait = os.write(maitre, a_taper)
            except BlockingIOError:
                fait = 0
            a_taper = a_taper[fait:]
    _, statut = os.waitpid(pid, 0)
    sys.exit(0 if os.WEXITSTATUS(statut) == 1 else 1)


if __name__ == "__main__":
    main()
