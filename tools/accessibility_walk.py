#!/usr/bin/python3
"""Devical as a screen reader meets it, through AT-SPI.

Run by tools/accessibility_check.sh once Devical has started, with the shipped French
settings (FRF at 6,55957, "TVA taux normal" at 20 %, 2 decimals), on the accessibility
bus of the session this process is in. Checks:
  - every control a user can act on, and that is on screen, has a name a screen reader
    can say: not empty, not a lone symbol such as "/", "x" or "=";
  - the six amount boxes are there, named by their line and column;
  - 1, 0, 0 and "Égal" pressed through AT-SPI, the boxes' texts are the window's figures;
  - exactly one box, the one under entry, is selected.
Exits 0 when all holds, 1 with the list of problems otherwise, 2 when Devical did not
appear, 3 when the walk itself failed.
"""

import argparse
import sys
import time
import traceback

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402
import pyatspi  # noqa: E402

LINES = ("Montant HT", "TVA taux normal", "Montant TTC")
COLUMNS = ("FRF Franc français", "Euros")
# What the window shows after 1, 0, 0 and "=", line by line, national column then euros.
EXPECTED = {
    ("Montant HT", "FRF Franc français"): "100",
    ("TVA taux normal", "FRF Franc français"): "20",
    ("Montant TTC", "FRF Franc français"): "120",
    ("Montant HT", "Euros"): "15,24",
    ("TVA taux normal", "Euros"): "3,05",
    ("Montant TTC", "Euros"): "18,29",
}
KEYS = ("1", "0", "0", "Égal")
# Letters shown for something else than themselves: "x" multiplies, or leaves amounts unrounded.
SYMBOL_LETTERS = {"x", "X"}
ACTIONABLE_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON,
    pyatspi.ROLE_TOGGLE_BUTTON,
    pyatspi.ROLE_COMBO_BOX,
    pyatspi.ROLE_MENU_ITEM,
    pyatspi.ROLE_CHECK_MENU_ITEM,
    pyatspi.ROLE_RADIO_MENU_ITEM,
}
# A label, or a status line: screen readers speak its name as it changes.
AMOUNT_ROLES = {pyatspi.ROLE_LABEL, pyatspi.ROLE_STATUS_BAR}
MAX_NODES = 5000
MAX_DEPTH = 40


def name_of(node):
    try:
        return node.name or ""
    except Exception:
        return ""


def role_of(node):
    try:
        return node.getRoleName()
    except Exception:
        return "?"


def role_id(node):
    try:
        return node.getRole()
    except Exception:
        return None


def describe(node):
    return '%s "%s"' % (role_of(node), name_of(node))


def has_state(node, state):
    try:
        return node.getState().contains(state)
    except Exception:
        return False


def action_count(node):
    try:
        return node.queryAction().nActions
    except Exception:  # NotImplementedError: no Action interface
        return 0


def text_of(node):
    try:
        return node.queryText().getText(0, -1)
    except Exception:  # NotImplementedError: no Text interface
        return None


def at(path):
    return " > ".join(path)


def is_symbol(name):
    """A name that is only a symbol: what a key shows, not what it does."""
    stripped = name.strip()
    if stripped in SYMBOL_LETTERS:
        return True
    return not any(character.isalnum() for character in stripped)


def find_application(timeout):
    """Devical on the AT-SPI desktop, or None once timeout seconds have passed."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            desktop = pyatspi.Registry.getDesktop(0)
            for index in range(desktop.childCount):
                application = desktop.getChildAtIndex(index)
                if application is not None and name_of(application).lower() == "devical":
                    # Its window is there too, not only its name.
                    if application.childCount > 0:
                        return application
        except Exception:
            pass
        if time.monotonic() >= deadline:
            return None
        time.sleep(0.2)


def walk(application):
    """Every node under the application, depth first, each with its path of names."""
    nodes = []
    seen = set()
    stack = [(application, [describe(application)], 0)]
    while stack and len(nodes) < MAX_NODES:
        node, path, depth = stack.pop()
        key = id(node)  # AT-SPI hands back one object per node
        if key in seen:
            continue
        seen.add(key)
        nodes.append((node, path))
        if depth >= MAX_DEPTH:
            continue
        try:
            count = node.childCount
        except Exception:
            continue
        children = []
        for index in range(count):
            try:
                child = node.getChildAtIndex(index)
            except Exception:
                continue
            if child is not None:
                children.append(child)
        for child in reversed(children):
            stack.append((child, path + [describe(child)], depth + 1))
    return nodes


def check_names(nodes, problems):
    """The actionable nodes on screen; each unnamed or symbol-named one is a problem."""
    actionable = 0
    for node, path in nodes:
        if action_count(node) == 0 and role_id(node) not in ACTIONABLE_ROLES:
            continue
        if not has_state(node, pyatspi.STATE_SHOWING):
            continue
        actionable += 1
        name = name_of(node)
        if not name.strip():
            problems.append("unnamed %s at %s" % (role_of(node), at(path)))
        elif is_symbol(name):
            problems.append('%s named only by the symbol "%s" at %s' % (role_of(node), name, at(path)))
    return actionable


def amount_boxes(nodes):
    """The selectable labels or status lines with a text: the six boxes that show the amounts."""
    boxes = []
    for node, path in nodes:
        if role_id(node) not in AMOUNT_ROLES or not has_state(node, pyatspi.STATE_SELECTABLE):
            continue
        if text_of(node) is None:
            continue
        boxes.append((node, path))
    return boxes


def box_key(name):
    """The line and column a box's name starts with; the amount may follow, as a screen
    reader reads a label's name and not its text."""
    for line in LINES:
        for column in COLUMNS:
            prefix = "%s, %s" % (line, column)
            if name == prefix or name.startswith(prefix + ", "):
                return (line, column)
    return None


def find_key(nodes, name):
    """The one push button on screen named name, pressable."""
    found = [
        node
        for node, _ in nodes
        if role_id(node) == pyatspi.ROLE_PUSH_BUTTON
        and name_of(node) == name
        and has_state(node, pyatspi.STATE_SHOWING)
        and action_count(node) > 0
    ]
    return found


def wait_released(key):
    """Whether the key came up again within 3 s. Qt presses a button for an AT-SPI action
    as a click it shows: down first, clicked on the way up a moment later; a second press
    while it is down would be lost, so the next key waits for this one's click."""
    time.sleep(0.05)
    deadline = time.monotonic() + 3
    while has_state(key, pyatspi.STATE_PRESSED):
        if time.monotonic() >= deadline:
            return False
        time.sleep(0.05)
    return True


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--timeout", type=float, default=20, help="seconds to wait for Devical")
    arguments = parser.parse_args()
    # No call waits for ever on a program that has stopped answering.
    Atspi.set_timeout(5000, 15000)

    application = find_application(arguments.timeout)
    if application is None:
        print("FAIL: Devical did not appear on the AT-SPI desktop within %g s" % arguments.timeout)
        return 2

    problems = []
    nodes = walk(application)
    actionable = check_names(nodes, problems)
    if actionable == 0:
        problems.append("no control on screen to act on: the window was not walked")

    boxes = amount_boxes(nodes)
    by_key = {}
    for node, path in boxes:
        key = box_key(name_of(node))
        if key is None:
            problems.append(
                'amount box named "%s", not "<line>, <column>[, <amount>]": %s' % (name_of(node), at(path))
            )
        elif key in by_key:
            problems.append('two amount boxes named "%s, %s"' % key)
        else:
            by_key[key] = node
    for key in EXPECTED:
        if key not in by_key:
            problems.append('no amount box named "%s, %s"' % key)

    pressed = []
    for name in KEYS:
        keys = find_key(nodes, name)
        if len(keys) != 1:
            problems.append('%d pressable buttons named "%s" on screen, not one' % (len(keys), name))
            break
        try:
            if not keys[0].queryAction().doAction(0):
                problems.append('the button "%s" refused its action' % name)
                break
        except Exception as error:
            problems.append('the button "%s" could not be pressed: %s' % (name, error))
            break
        if not wait_released(keys[0]):
            problems.append('the button "%s" stayed pressed' % name)
            break
        pressed.append(name)

    texts = {}
    if len(pressed) == len(KEYS) and len(by_key) == len(EXPECTED):
        # The press is handled before its reply; the wait is only for a slow machine.
        deadline = time.monotonic() + 5
        while True:
            texts = {key: text_of(node) for key, node in by_key.items()}
            if texts == EXPECTED or time.monotonic() >= deadline:
                break
            time.sleep(0.1)
        for key, expected in EXPECTED.items():
            if texts.get(key) != expected:
                shown = (key[0], key[1], texts.get(key), expected)
                problems.append('the box "%s, %s" reads "%s", the window shows "%s"' % shown)
    selected = [name_of(node) for node, _ in boxes if has_state(node, pyatspi.STATE_SELECTED)]
    if len(selected) != 1:
        listed = "; ".join(selected) or "none"
        problems.append("%d amount boxes selected, not one: %s" % (len(selected), listed))

    print(
        "Walked %d nodes of %s: %d actionable on screen, %d amount boxes."
        % (len(nodes), name_of(application), actionable, len(boxes))
    )
    if pressed:
        print("Pressed: %s" % " ".join(pressed))
    for key in EXPECTED:
        if key in texts:
            print('  "%s, %s": %s' % (key + (texts[key],)))
    if len(selected) == 1:
        print('Under entry (selected): "%s"' % selected[0])
    if problems:
        print("FAIL: %d problem%s:" % (len(problems), "" if len(problems) == 1 else "s"))
        for problem in problems:
            print("  - " + problem)
        return 1
    print("OK")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except Exception:  # a fault of the walk itself, not a finding: 3, apart from the findings' 1
        traceback.print_exc()
        sys.exit(3)
