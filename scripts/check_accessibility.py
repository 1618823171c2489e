# SPDX-License-Identifier: GPL-3.0-or-later
"""Walks the window of Ionaria through AT-SPI, as a screen reader does.

Run by scripts/check-accessibility.sh, inside a session with an
accessibility bus and the program started. Checks that:
- every node that can take the focus has a name and a role a screen reader
  knows how to speak;
- the picture is an image named "Expérience", whose description has no line
  made only of digits and signs, and changes after a few seconds of run;
- the tab strip is a list of four page tabs, one selected;
- the generator's spin buttons give their value;
- the lists are labelled, the measurements named with their value, the hint
  line a status line whose text is read, every scroll bar named.
"""

import re
import sys
import time

import pyatspi

SPOKEN_ROLES = {
    "push button",
    "toggle button",
    "radio button",
    "check box",
    "combo box",
    "spin button",
    "text",
    "entry",
    "paragraph",
    "page tab list",
    "page tab",
    "image",
    "scroll bar",
    "slider",
    "list",
    "list item",
    "menu",
    "menu item",
    "document frame",
    "document text",
}

# A line a voice would read as a string of numbers: digits and signs only.
BARE_LINE = re.compile(r"^[\s\d+\-−·,.=()\[\]/]*$")

failures = []


def fail(message):
    failures.append(message)
    print("ECHEC : " + message, file=sys.stderr)


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    for i in range(node.childCount):
        try:
            child = node.getChildAtIndex(i)
        except Exception:  # a node gone while walking
            continue
        yield from walk(child, depth + 1)


def find_window(timeout_s=30.0):
    end = time.monotonic() + timeout_s
    while time.monotonic() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is None:
                continue
            for i in range(app.childCount):
                window = app.getChildAtIndex(i)
                if window is not None and window.name.startswith("Ionaria"):
                    return window
        time.sleep(0.5)
    return None


def nodes_by(window, role=None, name=None):
    found = []
    for node in walk(window):
        if role is not None and node.getRoleName() != role:
            continue
        if name is not None and node.name != name:
            continue
        found.append(node)
    return found


def check_focusable(window):
    count = 0
    for node in walk(window):
        states = node.getState()
        if not states.contains(pyatspi.STATE_FOCUSABLE):
            continue
        count += 1
        role = node.getRoleName()
        label = "%s « %s »" % (role, node.name)
        if not node.name.strip():
            fail("nœud sans nom qui prend le focus : " + role)
        if role not in SPOKEN_ROLES:
            fail("rôle inattendu pour un nœud qui prend le focus : " + label)
    if count < 20:
        fail("trop peu de nœuds qui prennent le focus : %d" % count)
    print("nœuds qui prennent le focus : %d" % count)


def check_picture(window):
    pictures = nodes_by(window, name="Expérience")
    if len(pictures) != 1:
        fail("l'image « Expérience » est introuvable (%d nœuds)" % len(pictures))
        return None
    picture = pictures[0]
    if picture.getRoleName() != "image":
        fail("l'image « Expérience » a le rôle « %s »" % picture.getRoleName())
    description = picture.description
    lines = description.split("\n")
    if len(lines) < 5:
        fail("la description de l'image est trop courte : %r" % description)
    for line in lines:
        if BARE_LINE.match(line):
            fail("ligne de la description faite de chiffres et de signes : %r" % line)
        if not line.endswith("."):
            fail("ligne de la description qui n'est pas une phrase : %r" % line)
    return picture


def press(window, name):
    buttons = nodes_by(window, role="push button", name=name)
    if not buttons:
        fail("bouton « %s » introuvable" % name)
        return False
    action = buttons[0].queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("press", "click", "Press"):
            action.doAction(i)
            return True
    action.doAction(0)
    return True


def check_picture_follows_run(window, picture):
    before = picture.description
    if not press(window, "Pause / Marche"):
        return
    changed = False
    end = time.monotonic() + 15.0
    while time.monotonic() < end:
        time.sleep(1.0)
        if picture.description != before:
            changed = True
            break
    press(window, "Pause / Marche")
    if not changed:
        fail("la description de l'image ne change pas pendant la marche")
        return
    after = picture.description
    print("description après la marche :\n  " + after.replace("\n", "\n  "))
    for line in after.split("\n"):
        if BARE_LINE.match(line):
            fail("ligne de la description faite de chiffres et de signes : %r" % line)


def check_tabs(window):
    lists = nodes_by(window, role="page tab list")
    if len(lists) != 1:
        fail("liste d'onglets introuvable (%d)" % len(lists))
        return
    tabs = [lists[0].getChildAtIndex(i) for i in range(lists[0].childCount)]
    tabs = [t for t in tabs if t is not None and t.getRoleName() == "page tab"]
    names = [t.name for t in tabs]
    if names != ["Paramètres", "Électrode G", "Électrode D", "Animation"]:
        fail("onglets inattendus : %r" % names)
    selected = [t.name for t in tabs if t.getState().contains(pyatspi.STATE_SELECTED)]
    if len(selected) != 1:
        fail("un seul onglet doit être choisi : %r" % selected)


def check_spins(window):
    spins = nodes_by(window, role="spin button")
    if len(spins) != 2:
        fail("deux boutons fléchés attendus, %d trouvés" % len(spins))
    for spin in spins:
        value = spin.queryValue()
        if not (value.minimumValue <= value.currentValue <= value.maximumValue):
            fail("valeur hors bornes pour « %s »" % spin.name)
        if value.currentValue <= 0:
            fail("« %s » n'a pas de valeur" % spin.name)
        print("%s : %g (%g à %g)" % (spin.name, value.currentValue, value.minimumValue,
                                     value.maximumValue))


def check_lists(window):
    for combo in nodes_by(window, role="combo box"):
        labels = []
        for relation in combo.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                labels += [relation.getTarget(i).name for i in range(relation.getNTargets())]
        if not any(label.strip() for label in labels):
            fail("liste sans étiquette : « %s »" % combo.name)
        else:
            print("liste « %s » étiquetée %r" % (combo.name, labels))


def check_measures_and_hint(window):
    for name in ("Durée", "Tension", "Intensité"):
        found = nodes_by(window, name=name)
        if not found:
            fail("mesure « %s » introuvable" % name)
        elif not found[0].description.strip():
            fail("mesure « %s » sans valeur" % name)
    lines = nodes_by(window, role="status bar")
    if len(lines) != 1:
        fail("ligne d'aide introuvable comme barre d'état")
    else:
        text = lines[0].queryText()
        if not text.getText(0, text.characterCount).strip():
            fail("le texte de la ligne d'aide n'est pas lisible")
    for bar in nodes_by(window, role="scroll bar"):
        if not bar.name.strip():
            fail("barre de défilement sans nom")


def main():
    window = find_window()
    if window is None:
        fail("la fenêtre Ionaria n'apparaît pas sur le bus d'accessibilité")
        return 1
    # The window has drawn its first state.
    time.sleep(1.0)
    print("nœuds de la fenêtre : %d" % sum(1 for _ in walk(window)))
    check_focusable(window)
    picture = check_picture(window)
    check_tabs(window)
    check_spins(window)
    check_lists(window)
    check_measures_and_hint(window)
    if picture is not None:
        check_picture_follows_run(window, picture)
    if failures:
        print("%d échec(s)" % len(failures), file=sys.stderr)
        return 1
    print("accessibilité : tout est vérifié")
    return 0


if __name__ == "__main__":
    sys.exit(main())
