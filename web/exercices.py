#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The shipped exercises for the browser, at build time.

    python3 web/exercices.py DATA_EXERCICES SITE_EXERCICES [PANDOC]

Reads every descriptor of DATA_EXERCICES (*.E37, and KIVAR.PEM for the
first-use activity) and writes into SITE_EXERCICES:
- index.json: for each exercise, its title, level, duration, notions, and
  the pages and configurations of its statement and correction;
- each statement and correction as an HTML fragment, converted by pandoc
  from the same Markdown source (sources/*.md) as its RTF, where every
  "Votre réponse :" becomes a box the pupil types the answer in;
- every configuration of the folder, which the descriptors name.
"""

import json
import pathlib
import shutil
import struct
import subprocess
import sys

RECORD = 128
PANDOC = "pandoc"
ANSWER_FILTER = pathlib.Path(__file__).resolve().parent / "reponses.lua"


def records(path):
    """The texts of a file of 128-byte records (length, then Windows-1252)."""
    data = path.read_bytes()
    texts = []
    for start in range(0, len(data) - RECORD + 1, RECORD):
        (length,) = struct.unpack_from("<H", data, start)
        texts.append(data[start + 2 : start + 2 + min(length, RECORD - 2)].decode("cp1252"))
    return texts + [""] * (12 - len(texts))


def page(data, sortie, rtf_name):
    """Converts the source of a shipped RTF text; returns the page's name."""
    if not rtf_name.strip():
        return None
    source = data / "sources" / (pathlib.Path(rtf_name).stem + ".md")
    name = pathlib.Path(rtf_name).stem + ".html"
    subprocess.run(
        [PANDOC, "-f", "markdown", "-t", "html5", "--lua-filter", str(ANSWER_FILTER),
         "-o", str(sortie / name), str(source)],
        check=True,
    )
    return name


def configuration(c14_name):
    return c14_name if c14_name.strip() else None


def main():
    global PANDOC
    if len(sys.argv) not in (3, 4):
        print("usage : exercices.py DOSSIER_EXERCICES DOSSIER_SITE [PANDOC]", file=sys.stderr)
        return 2
    if len(sys.argv) == 4:
        PANDOC = sys.argv[3]
    data = pathlib.Path(sys.argv[1])
    sortie = pathlib.Path(sys.argv[2])
    sortie.mkdir(parents=True, exist_ok=True)
    for c14 in sorted(data.glob("*.C14")):
        shutil.copyfile(c14, sortie / c14.name)
    descripteurs = [data / "KIVAR.PEM"] + sorted(data.glob("*.E37"))
    exercices = []
    for descripteur in descripteurs:
        r = records(descripteur)
        exercices.append({
            "descripteur": descripteur.name,
            "titre": r[10],
            "niveau": int(r[4] or "0"),
            "duree": int(r[11] or "0"),
            "notions": "".join(r[6:10]),
            "enonce": page(data, sortie, r[0]),
            "configurationEnonce": configuration(r[1]),
            "correction": page(data, sortie, r[2]),
            "configurationCorrection": configuration(r[3]),
            "corrige": bool(r[2].strip() or r[3].strip()),
        })
    (sortie / "index.json").write_text(json.dumps(exercices, ensure_ascii=False, indent=1) + "\n",
                                       encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
