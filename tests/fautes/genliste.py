#!/usr/bin/env python3
"""genliste in hostile conditions: stopped by any signal that can be caught
and Ctrl-C at a terminal, a file size limit, a full disk, a folder, a FIFO or a device as
FILE, a symbolic link, a long name, the temporary file of a run killed outright
or of a run under way, --help on a full disk. It never leaves a temporary file,
removes no other run's, replaces only regular files and writes through links
to their targets.

    genliste.py GENLISTE
"""
import os
import pty
import resource
import signal
import stat
import subprocess
import sys
import tempfile
import time

GENLISTE = os.path.abspath(sys.argv[1])
fautes = []


def faute(cas, texte):
    fautes.append(f"{cas}: {texte}")
    print(f"FAULT {cas}: {texte}")


def premiers(compte):
    """The COMPTE primes from 5 on, as genliste writes them."""
    limite = 100 + compte * 20
    crible = bytearray([1]) * limite
    crible[0:2] = b"\0\0"
    for p in range(2, int(limite ** 0.5) + 1):
        if crible[p]:
            crible[p * p::p] = bytearray(len(crible[p * p::p]))
    valeurs = [p for p in range(5, limite) if crible[p]][:compte]
    assert len(valeurs) == compte
    return "".join(f"{p}\n" for p in valeurs)


def contenu(dossier):
    return sorted(os.listdir(dossier))


def attendre_provisoire(dossier, connus):
    """Waits until a file other than CONNUS holds data: genliste is writing."""
    for _ in range(600):
        for nom in os.listdir(dossier):
            if nom not in connus and os.path.getsize(os.path.join(dossier, nom)) > 0:
                return True
        time.sleep(0.05)
    return False


def arret_par_signal(sig):
    cas = f"stopped by {signal.Signals(sig).name}"
    with tempfile.TemporaryDirectory() as d:
        p = subprocess.Popen([GENLISTE, "149999998", "liste.txt"], cwd=d,
                             stderr=subprocess.DEVNULL)
        if not attendre_provisoire(d, set()):
            faute(cas, "no temporary file seen")
        p.send_signal(sig)
        statut = p.wait(60)
        if statut != -sig:
            faute(cas, f"status {statut}, expected death by the signal")
        if contenu(d):
            faute(cas, f"files left behind: {contenu(d)}")


def ctrl_c_au_terminal():
    cas = "Ctrl-C at a terminal"
    with tempfile.TemporaryDirectory() as d:
        pid, maitre = pty.fork()
        if pid == 0:
            os.chdir(d)
            os.execv(GENLISTE, [GENLISTE, "149999998", "liste.txt"])
        ecran = b""
        limite = time.time() + 60
        while b"%" not in ecran and time.time() < limite:
            ecran += os.read(maitre, 4096)
        os.write(maitre, b"\x03")
        try:
            while True:
                bloc = os.read(maitre, 4096)
                if not bloc:
                    break
                ecran += bloc
        except OSError:
            pass  # the terminal is gone with the program
        _, statut = os.waitpid(pid, 0)
        os.close(maitre)
        if not os.WIFSIGNALED(statut) or os.WTERMSIG(statut) != signal.SIGINT:
            faute(cas, f"wait status {statut}, expected death by SIGINT")
        if not ecran.endswith(b"\n"):
            faute(cas, f"the terminal is left without a line feed: {ecran[-40:]!r}")
        if contenu(d):
            faute(cas, f"files left behind: {contenu(d)}")


def limite_de_taille():
    cas = "ulimit -f"
    with tempfile.TemporaryDirectory() as d:
        def limiter():
            resource.setrlimit(resource.RLIMIT_FSIZE, (1 << 20, 1 << 20))
        r = subprocess.run([GENLISTE, "1000000", "liste.txt"], cwd=d, preexec_fn=limiter,
                           capture_output=True, text=True, timeout=60)
        if r.returncode != 2:
            faute(cas, f"status {r.returncode}, expected 2")
        if "liste.txt" not in r.stderr:
            faute(cas, f"no message naming the file: {r.stderr!r}")
        if contenu(d):
            faute(cas, f"files left behind: {contenu(d)}")


def disque_plein():
    """A full file system, made as a small tmpfs when mount is allowed (root)."""
    cas = "full disk"
    with tempfile.TemporaryDirectory() as d:
        if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=256k", "tmpfs", d],
                          capture_output=True).returncode != 0:
            print(f"{cas}: skipped, no tmpfs can be mounted here")
            return
        try:
            r = subprocess.run([GENLISTE, "1000000", "liste.txt"], cwd=d, capture_output=True,
                               text=True, timeout=60)
            if r.returncode != 2:
                faute(cas, f"status {r.returncode}, expected 2")
            if "liste.txt" not in r.stderr:
                faute(cas, f"no message naming the file: {r.stderr!r}")
            if contenu(d):
                faute(cas, f"files left behind: {contenu(d)}")
        finally:
            subprocess.run(["umount", d])


def refus(cas, creer, verifier):
    """FILE exists and is not a regular file: exit 2, a message, FILE as it was."""
    with tempfile.TemporaryDirectory() as d:
        chemin = os.path.join(d, "f")
        creer(chemin)
        r = subprocess.run([GENLISTE, "1000", "f"], cwd=d, capture_output=True, text=True,
                           timeout=60)
        if r.returncode != 2:
            faute(cas, f"status {r.returncode}, expected 2")
        if "f:" not in r.stderr:
            faute(cas, f"no message naming the file: {r.stderr!r}")
        if not verifier(os.lstat(chemin).st_mode):
            faute(cas, "FILE was replaced")
        if contenu(d) != ["f"]:
            faute(cas, f"files left behind: {contenu(d)}")


def a_travers_un_lien():
    cas = "symbolic link"
    attendu = premiers(1000)
    with tempfile.TemporaryDirectory() as d:
        os.mkdir(os.path.join(d, "sous"))
        with open(os.path.join(d, "sous", "vrai.txt"), "w") as f:
            f.write("ancien\n")
        os.symlink("sous/vrai.txt", os.path.join(d, "lien"))
        os.symlink("sous/nouveau.txt", os.path.join(d, "pendant"))  # target not there yet
        for lien, vrai in (("lien", "vrai.txt"), ("pendant", "nouveau.txt")):
            r = subprocess.run([GENLISTE, "1000", lien], cwd=d, capture_output=True, timeout=60)
            if r.returncode != 0:
                faute(cas, f"{lien}: status {r.returncode}: {r.stderr!r}")
            if not os.path.islink(os.path.join(d, lien)):
                faute(cas, f"{lien}: the link was replaced by a file")
            chemin = os.path.join(d, "sous", vrai)
            if not os.path.isfile(chemin) or open(chemin).read() != attendu:
                faute(cas, f"{lien}: the target does not hold the primes")
        if contenu(d) != ["lien", "pendant", "sous"] or \
                contenu(os.path.join(d, "sous")) != ["nouveau.txt", "vrai.txt"]:
            faute(cas, f"files left behind: {contenu(d)} {contenu(os.path.join(d, 'sous'))}")


def nom_long():
    cas = "250-character FILE"
    nom = "p" * 246 + ".txt"
    with tempfile.TemporaryDirectory() as d:
        r = subprocess.run([GENLISTE, "1000", nom], cwd=d, capture_output=True, timeout=60)
        if r.returncode != 0:
            faute(cas, f"status {r.returncode}: {r.stderr!r}")
        elif open(os.path.join(d, nom)).read() != premiers(1000):
            faute(cas, "the file does not hold the primes")
        if contenu(d) != [nom]:
            faute(cas, f"files left behind: {contenu(d)}")


def provisoires():
    """A run killed outright left its temporary file a while ago: the next run
    removes it; the temporary file of a run under way stays."""
    cas = "temporary files of other runs"
    with tempfile.TemporaryDirectory() as d:
        abandon = os.path.join(d, ".genliste.Ab12Cd")
        with open(abandon, "w") as f:
            f.write("5\n7\n")
        os.utime(abandon, (time.time() - 3600, time.time() - 3600))
        p = subprocess.Popen([GENLISTE, "149999998", "long.txt"], cwd=d,
                             stderr=subprocess.DEVNULL)
        if not attendre_provisoire(d, {os.path.basename(abandon)}):
            faute(cas, "no temporary file seen")
        en_cours = set(contenu(d)) - {os.path.basename(abandon)}
        os.utime(os.path.join(d, en_cours.pop()), (time.time() - 3600, time.time() - 3600))
        r = subprocess.run([GENLISTE, "1000", "court.txt"], cwd=d, capture_output=True, timeout=60)
        restes = contenu(d)
        p.send_signal(signal.SIGTERM)
        p.wait(60)
        if r.returncode != 0:
            faute(cas, f"status {r.returncode}: {r.stderr!r}")
        if os.path.basename(abandon) in restes:
            faute(cas, "the file of the run killed outright was left")
        if len([n for n in restes if n.startswith(".genliste.")]) != 1:
            faute(cas, f"the file of the run under way was not spared: {restes}")


def aide():
    cas = "--help and --version"
    for option, mot in (("--help", b"Usage"), ("--version", b"genliste ")):
        r = subprocess.run([GENLISTE, option], capture_output=True, timeout=60)
        if r.returncode != 0 or mot not in r.stdout:
            faute(cas, f"{option}: status {r.returncode}, {r.stdout[:40]!r}")
        with open("/dev/full", "w") as plein:
            r = subprocess.run([GENLISTE, option], stdout=plein, stderr=subprocess.PIPE, timeout=60)
        if r.returncode != 2 or b"ecriture impossible" not in r.stderr:
            faute(cas, f"{option} on a full disk: status {r.returncode}, {r.stderr!r}")


for sig in (signal.SIGTERM, signal.SIGHUP, signal.SIGINT, signal.SIGQUIT, signal.SIGUSR1,
            signal.SIGALRM, signal.SIGPIPE):
    arret_par_signal(sig)
provisoires()
aide()
ctrl_c_au_terminal()
limite_de_taille()
disque_plein()
refus("a folder as FILE", os.mkdir, stat.S_ISDIR)
refus("a FIFO as FILE", os.mkfifo, stat.S_ISFIFO)
if os.geteuid() == 0:  # only root makes devices; genliste run as root must spare them
    refus("a device as FILE", lambda c: os.mknod(c, 0o666 | stat.S_IFCHR, os.makedev(1, 7)),
          stat.S_ISCHR)
else:
    print("a device as FILE: skipped, not root")
a_travers_un_lien()
nom_long()
print(f"{len(fautes)} fault(s)")
sys.exit(1 if fautes else 0)
