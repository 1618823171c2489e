#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks the values quoted in the corrections against the simulator.

    python3 data/exercices/sources/verifier.py [chemin/vers/ionaria]

For each exercise, runs `ionaria --batch` on its configuration (or on a
variant of it: the same configuration with a few parameters changed, as the
pupil is asked to do) and compares what the simulator shows with the value
written in the correction. The program is taken from the command line, from
the variable IONARIA, or else build/ionaria at the root of the repository.
"""

import csv
import io
import os
import pathlib
import subprocess
import sys
import tempfile

SOURCES = pathlib.Path(__file__).resolve().parent
DOSSIER = SOURCES.parent
sys.path.insert(0, str(SOURCES))
import generer  # noqa: E402

ECHECS = []


def ionaria():
    if len(sys.argv) > 1:
        return sys.argv[1]
    return os.environ.get("IONARIA", str(DOSSIER.parents[1] / "build" / "ionaria"))


def masse(x):
    return f"{x:.2f}".replace(".", ",")


def millivolts(tension):
    return f"{1000 * float(tension):.1f}".replace(".", ",")


def ph(ligne):
    """As the state report writes it: two decimals."""
    return f"{float(ligne['pH']):.2f}".replace(".", ",")


def concentration(quantite, volume_ml):
    """As the state report writes it: mantissa with two decimals, power of ten."""
    texte = f"{1000 * quantite / volume_ml:.2E}"
    mantisse, exposant = texte.split("E")
    return f"{mantisse.replace('.', ',')}·10^{int(exposant)}"


class Experience:
    def __init__(self, nom, secondes, avec_csv=True, **changements):
        self.titre = nom + (" " + str(changements) if changements else "")
        valeurs = dict(generer.CONFIGURATIONS[nom])
        valeurs.update(changements)
        self.volume = float((valeurs.get("v", generer.BASE["v"])).replace(",", "."))
        with tempfile.TemporaryDirectory() as dossier:
            fichier = pathlib.Path(dossier) / "essai.C14"
            fichier.write_bytes(generer.enregistrements(generer.configuration(valeurs)))
            sortie_csv = pathlib.Path(dossier) / "mesures.csv"
            # A run of months writes no rows: there would be gigabytes of them.
            lignes = ["--csv", str(sortie_csv)] if avec_csv else []
            run = subprocess.run([ionaria(), "--batch", str(fichier), "--seconds",
                                  str(secondes)] + lignes,
                                 capture_output=True, text=True)
            self.code = run.returncode
            self.resume = run.stdout
            self.erreur = run.stderr
            self.lignes = (list(csv.DictReader(io.StringIO(sortie_csv.read_text())))
                           if sortie_csv.exists() else [])

    def a(self, t):
        """The last row written at displayed time t (seconds)."""
        lignes = [ligne for ligne in self.lignes if int(ligne["t_s"]) == t]
        return lignes[-1]

    def changement(self, colonne):
        """The first displayed time at which a reaction code changes."""
        premier = self.lignes[0][colonne]
        for ligne in self.lignes:
            if ligne[colonne] != premier:
                return int(ligne["t_s"])
        return None


def verifie(experience, quoi, obtenu, attendu):
    etat = "ok" if obtenu == attendu else "ÉCHEC"
    if obtenu != attendu:
        ECHECS.append(f"{experience.titre} : {quoi}")
    print(f"  [{etat}] {quoi} : simulateur {obtenu!r}, correction {attendu!r}")


def dans_resume(experience, ligne):
    verifie(experience, ligne, ligne if ligne in experience.resume.splitlines() else
            "(absent du résumé)", ligne)


def main():
    # La pile cuivre-zinc
    e = Experience("pile-cuivre-zinc.C14", 360000)
    print(e.titre)
    verifie(e, "i au début (mA)", f"{1000 * float(e.a(0)['I_A']):.1f}".replace(".", ","), "56,7")
    verifie(e, "U DG au début (mV)", millivolts(e.a(0)["U_V"]), "567,5")
    for ligne in ["Durée : 1 h 0 min 0 s", "Intensité : 56,6 mA", "Tension : 565,5 mV",
                  "Masse de l'électrode G : 9,93 g", "Masse de l'électrode D : 10,07 g",
                  "Électrode G : Zn → Zn2+ + 2 e-", "Électrode D : Cu2+ + 2 e- → Cu"]:
        dans_resume(e, ligne)
    q = sum(float(ligne["I_A"]) for ligne in e.lignes[:-1])
    verifie(e, "Q (C)", str(round(q)), "204")
    verifie(e, "[Zn2+] à 1 h", concentration(float(e.a(3600)["ions_G"]), 200), "1,05·10^-1")
    verifie(e, "[Cu2+] à 1 h", concentration(float(e.a(3600)["ions_D"]), 200), "9,47·10^-2")
    e = Experience("pile-cuivre-zinc.C14", 360000, arret=0, vitesse=39)
    print(e.titre)
    for ligne in ["Durée : 19 h 33 min 57 s", "Intensité : 0,0 mA", "Tension : 0,0 mV",
                  "Masse de l'électrode G : 8,69 g", "Masse de l'électrode D : 11,27 g"]:
        dans_resume(e, ligne)
    e = Experience("pile-cuivre-zinc.C14", 10, nature_g=1, nature_d=3)
    print(e.titre)
    dans_resume(e, "Tension : -567,5 mV")

    # Loi de Faraday
    e = Experience("loi-de-faraday.C14", 360000)
    print(e.titre)
    for ligne in ["Durée : 30 min 0 s", "Masse de l'électrode G : 10,12 g",
                  "Masse de l'électrode D : 10,00 g", "Électrode G : Cu2+ + 2 e- → Cu",
                  "Électrode D : 2 H2O → 4 H+ + O2 + 4 e-"]:
        dans_resume(e, ligne)
    verifie(e, "[Cu2+] à 30 min", concentration(float(e.a(1800)["Cu2+"]), e.volume), "9,07·10^-2")
    verifie(e, "[SO4 2-] à 30 min", concentration(float(e.a(1800)["SO4 2-"]), e.volume),
            "1,00·10^-1")
    verifie(e, "[H+] à 30 min", concentration(float(e.a(1800)["H+"]), e.volume), "1,87·10^-2")
    verifie(e, "pH à 30 min", ph(e.a(1800)), "1,73")
    e = Experience("loi-de-faraday.C14", 360000, date="7600")
    print(e.titre)
    dans_resume(e, "Durée : 2 h 6 min 40 s")
    dans_resume(e, "Masse de l'électrode G : 10,50 g")

    # Électrolyse du chlorure de sodium
    e = Experience("electrolyse-chlorure-de-sodium.C14", 360000)
    print(e.titre)
    for ligne in ["Durée : 1 h 0 min 0 s", "Électrode G : 2 H2O + 2 e- → H2 + 2 HO-",
                  "Électrode D : 2 Cl- → Cl2 + 2 e-"]:
        dans_resume(e, ligne)
    verifie(e, "[Cl-] à 1 h", concentration(float(e.a(3600)["Cl-"]), e.volume), "6,27·10^-3")
    verifie(e, "[Na+] à 1 h", concentration(float(e.a(3600)["Na+"]), e.volume), "1,00·10^-2")
    verifie(e, "[HO-] à 1 h", concentration(float(e.a(3600)["HO-"]), e.volume), "3,73·10^-3")
    verifie(e, "pH à 1 h", ph(e.a(3600)), "11,57")
    e = Experience("electrolyse-chlorure-de-sodium.C14", 9700, arret=0)
    print(e.titre)
    verifie(e, "anode à 9 600 s", e.a(9600)["code_D"], "1")
    verifie(e, "[Cl-] à 9 600 s", concentration(float(e.a(9600)["Cl-"]), e.volume), "5,18·10^-5")
    verifie(e, "anode à 9 700 s", e.a(9700)["code_D"], "11")
    verifie(e, "Cl- à 9 700 s", e.a(9700)["Cl-"], "0")
    verifie(e, "cathode à 9 700 s", e.a(9700)["code_G"], "3")
    verifie(e, "[HO-] à 9 700 s", concentration(float(e.a(9700)["HO-"]), e.volume), "1,00·10^-2")
    verifie(e, "pH à 9 700 s", ph(e.a(9700)), "12,00")
    e = Experience("electrolyse-chlorure-de-sodium.C14", 360000, date="9700")
    print(e.titre)
    dans_resume(e, "Électrode D : 4 HO- → O2 + 2 H2O + 4 e-")

    # Électrolyse du sulfate de zinc
    e = Experience("electrolyse-sulfate-de-zinc.C14", 360000)
    print(e.titre)
    for ligne in ["Durée : 1 h 0 min 0 s", "Masse de l'électrode G : 10,30 g",
                  "Électrode G : Zn2+ + 2 e- → Zn", "Électrode D : 2 H2O → 4 H+ + O2 + 4 e-"]:
        dans_resume(e, ligne)
    verifie(e, "zinc déposé (g)", f"{float(e.a(3600)['m_G_g']) - 10:.3f}".replace(".", ","),
            "0,305")
    verifie(e, "[H+] à 1 h", concentration(float(e.a(3600)["H+"]), e.volume), "4,66·10^-2")
    verifie(e, "pH à 1 h", ph(e.a(3600)), "1,33")
    verifie(e, "[Zn2+] à 1 h", concentration(float(e.a(3600)["Zn2+"]), e.volume), "7,67·10^-2")
    e = Experience("electrolyse-sulfate-de-zinc.C14", 100, surtension=0)
    print(e.titre)
    dans_resume(e, "Électrode G : 2 H2O + 2 e- → H2 + 2 HO-")
    dans_resume(e, "Masse de l'électrode G : 10,00 g")

    # Anode soluble
    e = Experience("anode-soluble-cuivre.C14", 360000)
    print(e.titre)
    for ligne in ["Durée : 1 h 0 min 0 s", "Tension : 93,6 mV",
                  "Masse de l'électrode G : 10,30 g", "Masse de l'électrode D : 9,70 g",
                  "Électrode G : Cu2+ + 2 e- → Cu", "Électrode D : Cu → Cu2+ + 2 e-"]:
        dans_resume(e, ligne)
    verifie(e, "[Cu2+] constante", sorted({concentration(float(ligne["Cu2+"]), e.volume)
                                          for ligne in e.lignes}), ["1,00·10^-1"])
    e = Experience("anode-soluble-cuivre.C14", 360000, arret=0, vitesse=39)
    print(e.titre)
    for ligne in ["Durée : 33 h 46 min 14 s", "Intensité : 0,0 mA",
                  "Masse de l'électrode G : 20,00 g", "Masse de l'électrode D : 0,00 g"]:
        dans_resume(e, ligne)

    # Ordre des réductions
    e = Experience("ordre-des-reductions-fer.C14", 360000)
    print(e.titre)
    verifie(e, "[Fe3+] au début", concentration(float(e.a(0)["Fe3+"]), e.volume), "2,00·10^-2")
    verifie(e, "[SO4 2-] au début", concentration(float(e.a(0)["SO4 2-"]), e.volume),
            "3,00·10^-2")
    for ligne in ["Durée : 2 h 8 min 20 s", "Électrode G : Fe3+ + e- → Fe2+",
                  "Masse de l'électrode G : 10,00 g"]:
        dans_resume(e, ligne)
    verifie(e, "[Fe3+] à 7 700 s", concentration(float(e.a(7700)["Fe3+"]), e.volume), "5,18·10^-5")
    verifie(e, "[Fe2+] à 7 700 s", concentration(float(e.a(7700)["Fe2+"]), e.volume), "1,99·10^-2")
    e = Experience("ordre-des-reductions-fer.C14", 7730, arret=0)
    print(e.titre)
    verifie(e, "passage au dihydrogène (s)", e.changement("code_G"), 7722)
    verifie(e, "cathode à 7 730 s", e.a(7730)["code_G"], "3")
    verifie(e, "Fe3+ à 7 730 s", e.a(7730)["Fe3+"], "0")
    e = Experience("ordre-des-reductions-cuivre.C14", 360000)
    print(e.titre)
    for ligne in ["Durée : 2 h 8 min 20 s", "Électrode G : Cu2+ + 2 e- → Cu",
                  "Masse de l'électrode G : 10,13 g"]:
        dans_resume(e, ligne)
    verifie(e, "[Cu2+] à 7 700 s", concentration(float(e.a(7700)["Cu2+"]), e.volume), "2,59·10^-5")
    e = Experience("ordre-des-reductions-cuivre.C14", 7730, arret=0)
    print(e.titre)
    verifie(e, "passage au dihydrogène (s)", e.changement("code_G"), 7718)
    verifie(e, "cathode à 7 730 s", e.a(7730)["code_G"], "3")
    verifie(e, "masse G à 7 730 s", masse(float(e.a(7730)["m_G_g"])), "10,13")
    verifie(e, "[Cu2+] restant", concentration(float(e.a(7730)["Cu2+"]), e.volume), "3,89·10^-6")

    # Montages refusés
    spontanee = "Réaction spontanée à la surface des électrodes :"
    for nom, changements, refuse in [
            ("montages-refuses-zinc.C14", {}, True),
            ("montages-refuses-zinc.C14", dict(nature_g=2), True),               # fer
            ("montages-refuses-zinc.C14", dict(nature_g=1, electrolyte=9), False),
            ("montages-refuses-zinc.C14", dict(nature_g=4, electrolyte=0), True),
            ("montages-refuses-zinc.C14", dict(nature_g=1, electrolyte=0), False),
            ("montages-refuses-zinc.C14", dict(nature_g=1, electrolyte=8), True),
            ("montages-refuses-zinc.C14", dict(nature_g=4, electrolyte=9), False)]:
        e = Experience(nom, 5, **changements)
        print(e.titre)
        verifie(e, "refusé", e.code == 3 and e.erreur.startswith(spontanee), refuse)
    e = Experience("montages-refuses-concentration.C14", 5)
    print(e.titre)
    verifie(e, "message", e.erreur.splitlines(),
            ["Les piles de concentration ne sont pas traitées :",
             "modifier la nature d'une demi-pile."])
    e = Experience("montages-refuses-concentration.C14", 100, c2="0,1")
    print(e.titre)
    for ligne in ["Intensité : 0,0 mA", "Tension : 0,0 mV",
                  "Aucun courant : pas de réaction aux électrodes."]:
        dans_resume(e, ligne)

    # Pile de concentration
    e = Experience("pile-de-concentration.C14", 360000)
    print(e.titre)
    verifie(e, "E(G) au début (V)", f"{float(e.a(0)['E_G_V']):.3f}".replace(".", ","), "0,281")
    verifie(e, "E(D) au début (V)", f"{float(e.a(0)['E_D_V']):.3f}".replace(".", ","), "0,340")
    verifie(e, "i au début (mA)", f"{1000 * float(e.a(0)['I_A']):.1f}".replace(".", ","), "6,1")
    verifie(e, "U DG au début (mV)", millivolts(e.a(0)["U_V"]), "30,7")
    for ligne in ["Durée : 24 h 0 min 0 s", "Intensité : 4,3 mA", "Tension : 21,5 mV",
                  "Masse de l'électrode G : 9,86 g", "Masse de l'électrode D : 10,14 g",
                  "Potentiels : E(G) = 0,298 V   E(D) = 0,340 V",
                  "Électrode G : Cu → Cu2+ + 2 e-", "Électrode D : Cu2+ + 2 e- → Cu"]:
        dans_resume(e, ligne)
    verifie(e, "[Cu2+] G à 24 h", concentration(float(e.a(86400)["ions_G"]), 80), "3,79·10^-2")
    verifie(e, "[Cu2+] D à 24 h", concentration(float(e.a(86400)["ions_D"]), 80), "9,72·10^-1")
    intensites = [float(ligne["I_A"]) for ligne in e.lignes]
    verifie(e, "l'intensité diminue", all(b <= a for a, b in zip(intensites, intensites[1:])),
            True)
    e = Experience("pile-de-concentration.C14", 100000000, avec_csv=False, arret=0)
    print(e.titre)
    for ligne in ["Durée : 6962 h 26 min 29 s", "Intensité : 0,0 mA",
                  "Potentiels : E(G) = 0,331 V   E(D) = 0,331 V"]:
        dans_resume(e, ligne)
    e = Experience("pile-de-concentration.C14", 100, nernst=0)
    print(e.titre)
    verifie(e, "message", e.erreur.splitlines(),
            ["Les piles de concentration ne sont pas traitées :",
             "modifier la nature d'une demi-pile."])

    # Prise en main
    e = Experience("prise-en-main.C14", 10)
    print(e.titre)
    verifie(e, "U DG au début (mV)", millivolts(e.a(0)["U_V"]), "567,5")
    verifie(e, "i au début (mA)", f"{1000 * float(e.a(0)['I_A']):.1f}".replace(".", ","), "56,7")

    print()
    if ECHECS:
        print(len(ECHECS), "échec(s) :")
        for echec in ECHECS:
            print(" -", echec)
        sys.exit(1)
    print("Toutes les valeurs des corrections sont celles du simulateur.")


if __name__ == "__main__":
    main()
