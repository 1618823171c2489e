#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Regenerates the exercises of Ionaria (folder data/exercices).

    python3 data/exercices/sources/generer.py [--ionaria PROGRAMME]
        [--dossier DOSSIER] [--descripteurs-seulement]

- writes the configurations (.C14) described below, as files of 128-byte
  records;
- writes the descriptors (.E37, KIVAR.PEM) with the program itself,
  "ionaria --exercice FICHIER --intitule ... --enonce ...", as a teacher
  would for a series of exercises;
- converts every text sources/*.md into ../*.RTF with pandoc
  (pandoc -s -f markdown -t rtf).

The program is the one given by --ionaria, else by the variable IONARIA,
else "ionaria" on the PATH, else build/ionaria of the source tree.
--descripteurs-seulement writes the descriptors alone, into --dossier
(the tests compare them with those shipped).

A record holds one text: a 16-bit little-endian length L (at most 126),
then L bytes in Windows-1252, then zeros up to 128 bytes.
"""

import argparse
import os
import pathlib
import re
import shutil
import struct
import subprocess
import sys

SOURCES = pathlib.Path(__file__).resolve().parent
DOSSIER = SOURCES.parent
TAILLE = 128


def enregistrements(textes):
    """The bytes of a file whose records hold the given texts."""
    donnees = bytearray()
    for texte in textes:
        octets = texte.encode("cp1252")
        if len(octets) > TAILLE - 2:
            raise ValueError(f"texte trop long ({len(octets)} octets) : {texte!r}")
        enr = struct.pack("<H", len(octets)) + octets
        donnees += enr + bytes(TAILLE - len(enr))
    return bytes(donnees)


def ecrire(dossier, nom, textes):
    (dossier / nom).write_bytes(enregistrements(textes))
    print("écrit", nom)


# --------------------------------------------------------------------------
# Configurations (.C14): twenty records, a twenty-first "1" when the option
# "Tenir compte des concentrations (loi de Nernst)" is ticked, and a
# twenty-second "1" when "Tenir compte de la surtension du dihydrogène" is
# (the twenty-first then "0" if the other option is not).
#
# montage : 0 pile ("Association de deux ½ piles"), 1 électrolyse avec un
#           générateur de tension, 2 électrolyse avec un générateur de courant
# natures (position dans la liste du montage) :
#   électrolyse : 0 Aluminium, 1 Cuivre, 2 Fer, 3 Graphite, 4 Zinc
#   pile        : 0 Aluminium, 1 Cuivre, 2 Fer, 3 Zinc
# électrolytes : 0 Acide chlorhydrique, 1 Acide sulfurique,
#   2 Chlorure d'aluminium III, 3 Chlorure de cuivre II, 4 Chlorure de sodium,
#   5 Sulfate d'aluminium III, 6 Sulfate de cuivre II, 7 Sulfate de fer II,
#   8 Sulfate de fer III, 9 Sulfate de zinc
# --------------------------------------------------------------------------
BASE = dict(
    montage=1,          # record 2
    macroscopique=1,    # record 3 : 1 macroscopique, 0 microscopique
    arret=0,            # record 4 : "Programmer l'arrêt"
    vitesse=1,          # record 5 : secondes simulées par pas d'animation (1 à 39)
    tension=30,         # record 6 : dixièmes de volt (0 à 100)
    courant=5,          # record 7 : centièmes d'ampère (1 à 200)
    nature_g=3,         # record 8
    nature_d=3,         # record 9
    electrolyte=4,      # record 10
    c="0,01",           # record 11 : concentration de l'électrolyte (mol/L)
    v="500",            # record 12 : volume de l'électrolyte (mL)
    m_g="10",           # record 13 : masse de l'électrode G (g)
    m_d="10",           # record 14 : masse de l'électrode D (g)
    r="10",             # record 15 : résistance (ohms)
    c1="0,01",          # record 16 : concentration de la demi-pile G
    v1="200",           # record 17 : volume de la demi-pile G (mL)
    c2="0,01",          # record 18 : concentration de la demi-pile D
    v2="200",           # record 19 : volume de la demi-pile D (mL)
    date="10",          # record 20 : date de l'arrêt programmé (s)
    nernst=0,           # record 21 : 1 si les potentiels suivent les concentrations
    surtension=0,       # record 22 : 1 si la surtension du dihydrogène compte
)

CONFIGURATIONS = {
    # Prise en main : pile cuivre-zinc telle qu'on la monte en classe.
    "prise-en-main.C14": dict(montage=0, nature_g=3, nature_d=1,
                              c1="0,1", c2="0,1", vitesse=5),
    # Pile : zinc à gauche (G), cuivre à droite (D), arrêt à 1 h.
    "pile-cuivre-zinc.C14": dict(montage=0, nature_g=3, nature_d=1,
                                 c1="0,1", c2="0,1", r="10", arret=1,
                                 date="3600", vitesse=20),
    # Loi de Faraday : sulfate de cuivre II, graphite / graphite,
    # générateur de courant 0,20 A, arrêt à 30 min.
    "loi-de-faraday.C14": dict(montage=2, nature_g=3, nature_d=3,
                               electrolyte=6, c="0,1", v="200", courant=20,
                               arret=1, date="1800", vitesse=10),
    # Chlorure de sodium, graphite / graphite, générateur de courant 50 mA,
    # arrêt à 1 h.
    "electrolyse-chlorure-de-sodium.C14": dict(montage=2, nature_g=3,
                                               nature_d=3, electrolyte=4,
                                               c="0,01", v="500", courant=5,
                                               arret=1, date="3600",
                                               vitesse=20),
    # Anode soluble : deux électrodes de cuivre dans le sulfate de cuivre II,
    # générateur de courant 0,25 A, arrêt à 1 h.
    "anode-soluble-cuivre.C14": dict(montage=2, nature_g=1, nature_d=1,
                                     electrolyte=6, c="0,1", v="250",
                                     courant=25, arret=1, date="3600",
                                     vitesse=20),
    # Ordre des réductions : sulfate de fer III, puis sulfate de cuivre II,
    # petites concentrations, graphite / graphite, 50 mA, arrêt à 7 700 s.
    "ordre-des-reductions-fer.C14": dict(montage=2, nature_g=3, nature_d=3,
                                         electrolyte=8, c="0,01", v="200",
                                         courant=5, arret=1, date="7700",
                                         vitesse=39),
    "ordre-des-reductions-cuivre.C14": dict(montage=2, nature_g=3,
                                            nature_d=3, electrolyte=6,
                                            c="0,01", v="200", courant=5,
                                            arret=1, date="7700", vitesse=39),
    # Montages refusés : zinc dans le sulfate de cuivre II ...
    "montages-refuses-zinc.C14": dict(montage=1, nature_g=4, nature_d=3,
                                      electrolyte=6, c="0,1", v="200"),
    # ... et une pile de concentration (cuivre des deux côtés).
    "montages-refuses-concentration.C14": dict(montage=0, nature_g=1,
                                               nature_d=1, c1="0,1",
                                               c2="0,01"),
    # Pile de concentration : cuivre à 0,01 mol/L (G) et 1 mol/L (D), 80 mL,
    # 5 ohms, potentiels de Nernst, arrêt à 24 h.
    "pile-de-concentration.C14": dict(montage=0, nature_g=1, nature_d=1,
                                      c1="0,01", c2="1", v1="80", v2="80",
                                      r="5", arret=1, date="86400",
                                      vitesse=39, nernst=1),
    # Sulfate de zinc, graphite / graphite, générateur de courant 0,25 A,
    # surtension du dihydrogène, arrêt à 1 h.
    "electrolyse-sulfate-de-zinc.C14": dict(montage=2, nature_g=3, nature_d=3,
                                            electrolyte=9, c="0,1", v="200",
                                            courant=25, arret=1, date="3600",
                                            vitesse=20, surtension=1),
}


def configuration(valeurs):
    p = dict(BASE)
    p.update(valeurs)
    return ["KIVAR", str(p["montage"]), str(p["macroscopique"]), str(p["arret"]),
            str(p["vitesse"]), str(p["tension"]), str(p["courant"]),
            str(p["nature_g"]), str(p["nature_d"]), str(p["electrolyte"]),
            p["c"], p["v"], p["m_g"], p["m_d"], p["r"],
            p["c1"], p["v1"], p["c2"], p["v2"], p["date"]] + (
                ["1" if p["nernst"] else "0"] if p["nernst"] or p["surtension"] else []) + (
                ["1"] if p["surtension"] else [])


# --------------------------------------------------------------------------
# Descriptors: twelve records, written by "ionaria --exercice".
#  1 énoncé, 2 sa configuration, 3 correction, 4 sa configuration,
#  5 niveau (0 à 3), 6 libre, 7 à 10 "Notions abordées :" (le programme les
#  coupe en morceaux de 126 octets), 11 titre, 12 durée en nombre de sabliers.
# --------------------------------------------------------------------------
def descripteur(enonce, config, correction, config_correction, niveau,
                texte_notions, titre, sabliers):
    """The options of "ionaria --exercice" that write the descriptor."""
    options = ["--intitule", titre, "--enonce", enonce]
    if config:
        options += ["--configuration-enonce", config]
    if correction:
        options += ["--correction", correction]
    if config_correction:
        options += ["--configuration-correction", config_correction]
    return options + ["--niveau", str(niveau), "--notions", texte_notions,
                      "--duree", str(sabliers)]


DESCRIPTEURS = {
    "KIVAR.PEM": descripteur(
        "prise-en-main-enonce.RTF", "prise-en-main.C14", "", "", 0,
        "Les trois montages, les onglets, les échelles, l'état du système, "
        "l'enregistrement d'une configuration, la calculatrice, les exercices.",
        "Prise en main", 1),
    "pile-cuivre-zinc.E37": descripteur(
        "pile-cuivre-zinc-enonce.RTF", "pile-cuivre-zinc.C14",
        "pile-cuivre-zinc-correction.RTF", "pile-cuivre-zinc.C14", 1,
        "Pile cuivre-zinc : polarité, signe de la tension, demi-équations, "
        "réaction de fonctionnement, variation des masses des électrodes.",
        "La pile cuivre-zinc", 2),
    "loi-de-faraday.E37": descripteur(
        "loi-de-faraday-enonce.RTF", "loi-de-faraday.C14",
        "loi-de-faraday-correction.RTF", "loi-de-faraday.C14", 2,
        "Électrolyse à intensité constante, quantité d'électricité Q = I·t, "
        "loi de Faraday, masse de cuivre déposée, faraday F = 96 500 C/mol.",
        "Dépôt de cuivre et loi de Faraday", 2),
    "electrolyse-chlorure-de-sodium.E37": descripteur(
        "electrolyse-chlorure-de-sodium-enonce.RTF",
        "electrolyse-chlorure-de-sodium.C14",
        "electrolyse-chlorure-de-sodium-correction.RTF",
        "electrolyse-chlorure-de-sodium.C14", 1,
        "Électrolyse d'une solution de chlorure de sodium : anode, cathode, "
        "dégagements gazeux (dichlore, dihydrogène, dioxygène), "
        "demi-équations, quantité d'électricité.",
        "Électrolyse du chlorure de sodium", 2),
    "anode-soluble-cuivre.E37": descripteur(
        "anode-soluble-cuivre-enonce.RTF", "anode-soluble-cuivre.C14",
        "anode-soluble-cuivre-correction.RTF", "anode-soluble-cuivre.C14", 2,
        "Électrolyse à anode soluble, affinage du cuivre, loi de Faraday, "
        "masse transférée, concentration constante des ions cuivre II.",
        "Anode soluble en cuivre", 2),
    "ordre-des-reductions.E37": descripteur(
        "ordre-des-reductions-enonce.RTF", "ordre-des-reductions-fer.C14",
        "ordre-des-reductions-correction.RTF",
        "ordre-des-reductions-cuivre.C14", 3,
        "Réactions à la cathode : l'oxydant le plus fort est réduit le "
        "premier (fer III, cuivre II, hydrogène), potentiels standard, "
        "durée d'une électrolyse à intensité constante.",
        "Ordre des réductions à la cathode", 3),
    "pile-de-concentration.E37": descripteur(
        "pile-de-concentration-enonce.RTF", "pile-de-concentration.C14",
        "pile-de-concentration-correction.RTF", "pile-de-concentration.C14", 3,
        "Relation de Nernst, pile de concentration : l'anode plonge dans la "
        "solution la plus diluée, tension à vide, usure de la pile, "
        "résistance interne.",
        "Pile de concentration", 2),
    "electrolyse-sulfate-de-zinc.E37": descripteur(
        "electrolyse-sulfate-de-zinc-enonce.RTF", "electrolyse-sulfate-de-zinc.C14",
        "electrolyse-sulfate-de-zinc-correction.RTF",
        "electrolyse-sulfate-de-zinc.C14", 3,
        "Électrolyse du sulfate de zinc, métallurgie du zinc, surtension du "
        "dihydrogène, loi de Faraday, acidification de la solution, pH.",
        "Électrolyse du sulfate de zinc", 2),
    "montages-refuses.E37": descripteur(
        "montages-refuses-enonce.RTF", "montages-refuses-zinc.C14",
        "montages-refuses-correction.RTF", "", 2,
        "Réaction spontanée d'un métal avec une solution (règle du gamma), "
        "choix des électrodes d'un électrolyseur, pile de concentration.",
        "Pourquoi certains montages sont refusés", 1),
}


def ansi(rtf):
    """Writes the characters of Windows-1252 as \\'hh, as word processors do,
    and keeps \\uN? only for the others (arrows, minus sign, superscript
    signs); declares the code page."""
    def remplace(m):
        code = int(m.group(1))
        if code < 0:
            code += 65536
        try:
            octet = chr(code).encode("cp1252")
        except UnicodeEncodeError:
            return m.group(0)
        return "\\'%02x" % octet[0]
    rtf = re.sub(r"\\u(-?[0-9]+)(.)", remplace, rtf)
    return rtf.replace("{\\rtf1\\ansi\\deff0", "{\\rtf1\\ansi\\ansicpg1252\\deff0", 1)


def convertir_textes():
    pandoc = shutil.which("pandoc")
    if pandoc is None:
        sys.exit("pandoc est introuvable : installer le paquet pandoc")
    for source in sorted(SOURCES.glob("*.md")):
        cible = DOSSIER / (source.stem + ".RTF")
        rtf = subprocess.run([pandoc, "-s", "-f", "markdown", "-t", "rtf",
                              str(source)], check=True, capture_output=True,
                             text=True, encoding="ascii").stdout
        cible.write_bytes(ansi(rtf).encode("ascii"))
        print("écrit", cible.name)


def programme(demande):
    """The ionaria program that writes the descriptors."""
    for candidat in (demande, os.environ.get("IONARIA"), shutil.which("ionaria"),
                     SOURCES.parents[2] / "build" / "ionaria"):
        if candidat and pathlib.Path(candidat).is_file():
            return str(candidat)
    sys.exit("ionaria est introuvable : construire le programme ou donner "
             "--ionaria CHEMIN")


def ecrire_descripteur(ionaria, dossier, nom, options):
    fichier = dossier / nom
    subprocess.run([ionaria, "--exercice", str(fichier)] + options, check=True)
    print("écrit", nom)


def main():
    arguments = argparse.ArgumentParser(description="Régénère les exercices d'Ionaria.")
    arguments.add_argument("--ionaria", help="le programme ionaria")
    arguments.add_argument("--dossier", type=pathlib.Path, default=DOSSIER,
                           help="où écrire (data/exercices par défaut)")
    arguments.add_argument("--descripteurs-seulement", action="store_true",
                           help="n'écrit que les descripteurs")
    options = arguments.parse_args()
    ionaria = programme(options.ionaria)
    if not options.descripteurs_seulement:
        for nom, valeurs in CONFIGURATIONS.items():
            ecrire(options.dossier, nom, configuration(valeurs))
    for nom, valeurs in DESCRIPTEURS.items():
        ecrire_descripteur(ionaria, options.dossier, nom, valeurs)
    if not options.descripteurs_seulement:
        convertir_textes()


if __name__ == "__main__":
    main()
