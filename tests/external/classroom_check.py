#!/usr/bin/python3
"""The program in a Spanish classroom, from outside, under a window manager: Qt's own words in
Spanish whatever the desktop's language (the message box's button, the results list's menu in
the accessibility tree, the save dialog); a simplify exercise done by keyboard alone, after one
click, to its line in the history; and --escala 2 on a 3840x2160 screen.

Usage: dbus-run-session -- classroom_check.py PATH/TO/ruedecitas [PART ...]
PART: C, en_US.UTF-8 (the desktop's language) or projector; all three, each in a process of its
own, by default. Prints 'N passed, N failed' per part and exits non-zero when a check fails."""

import math
import re
import subprocess
import sys
import time

import pyatspi

import desktop
from desktop import (BLANK, GREEN, Screen, centre, check, controls, descendants, extents,
                     name_of, role_of, state_has, top_window, wait_for, x_server)
from desktop_check import button, click, comprobar, new_simplify_exercise, open_box, shown, write

ENGLISH = re.compile(r"\b(OK|Look|Files?|Name|Save|Cancel|Detail|View|Folder|Back|Forward|"
                     r"Parent|Directory|Type|Size|Date|Modified|Open|Drive|Computer|Recent|New|"
                     r"Delete|Rename|Show|Create|Go|List|Sidebar|Yes|Unknown|Copy)\b")


def focused(app):
    """The name of the control that has the keyboard, in any window of the program."""
    for window in desktop.ask(list, app, default=[]):
        for node in descendants(window):
            if state_has(node, pyatspi.STATE_FOCUSED) and role_of(node) != "filler":
                return name_of(node)
    return None


def press(*keys, pause=0.25):
    for key in keys:
        x_server().key(*key.split("+"))
        time.sleep(pause)


def tab_to(app, name, most=40):
    """Tab until the control called `name` has the keyboard."""
    for _ in range(most):
        before = focused(app)
        if before == name:
            return True
        press("Tab", pause=0.05)
        wait_for(lambda: focused(app) != before, 2)  # a loaded machine is slow to move it
    return focused(app) == name


def keyboard_chain(app):
    """SIMPLIFICA clicked, then keys alone: Tab to the first "?", Space opens the pad, digits,
    Enter on to the denominator, Enter opens the pad there, digits, Enter on to COMPROBAR,
    Space; then Tab to HISTORIAL and Space: the results window lists the exercise."""
    dealt = new_simplify_exercise(app)
    if not dealt:
        return
    n, d = (int(name_of(v)) for v in dealt[0])
    g = math.gcd(n, d)
    if d // g == 1:  # x/1 asks for one more link; the deal's fractions seldom are whole
        check(True, "the deal %d/%d is whole: the chain by keyboard is left out" % (n, d))
        return
    if not check(tab_to(app, BLANK), "Tab reaches the first ? (%s)" % focused(app)):
        return
    press("space")
    check(wait_for(lambda: top_window(app, "pad"), 5), "Space opens the pad")
    press(*str(n // g), "Return")
    check(wait_for(lambda: focused(app) == BLANK and not top_window(app, "pad"), 3),
          "typed %d, Enter puts the pad away and moves on to the next ? (%s)"
          % (n // g, focused(app)))
    press("Return", *str(d // g), "Return")
    check(wait_for(lambda: focused(app) == "COMPROBAR", 3),
          "Enter opens the pad, %d typed, Enter moves on to COMPROBAR (%s)" % (d // g, focused(app)))
    press("space")
    line = "%d/%d = %d/%d =  * MUY BIEN *" % (n, d, n // g, d // g)
    if check(tab_to(app, "HISTORIAL"), "Tab reaches HISTORIAL"):
        press("space")
    lines = wait_for(lambda: [name_of(c) for c in descendants(top_window(app, "results") or app)
                              if role_of(c) == "table cell"], 5) or []
    check(line in lines, "the history shows '%s' (%s), not a click after the first" % (line, lines))


def spanish_words(app, language):
    """A box, the results list's menu and the save dialog, read through the accessibility tree."""
    dealt = new_simplify_exercise(app)
    if not dealt or not write(app, dealt[0], [6, 6]):
        return
    click(comprobar(app))
    found = open_box(app, "Numerador y denominador han de tener distinto número")
    if found and check([name_of(b) for b in found[2]] == ["Aceptar"],
                       "%s: the box's button reads Aceptar (%s)"
                       % (language, [name_of(b) for b in found[2]])):
        click(found[2][0])
    click(button(app, "HISTORIAL"))
    results = wait_for(lambda: top_window(app, "results"), 5)
    table = next((c for c in descendants(results) if role_of(c) == "table"), None) if results \
        else None
    if not check(table, "HISTORIAL shows the results list"):
        return
    x_server().click(centre(extents(table)), 3)
    menu = wait_for(lambda: next((w for w in desktop.ask(list, app, default=[])
                                  if role_of(w) == "popup menu"), None), 3)
    items = [name_of(n) for n in descendants(menu)] if menu else []
    if not check(items == ["Copiar", "Guardar como…"],
                 "%s: the list's menu is in the accessibility tree: %s" % (language, items)):
        return
    click(next(n for n in descendants(menu) if name_of(n) == "Guardar como…"))
    dialog = wait_for(lambda: top_window(app, "save"), 5)
    words = [name_of(n) or "" for n in descendants(dialog)] if dialog else []
    buttons = [name_of(n) for n in descendants(dialog) if role_of(n) == "push button"] \
        if dialog else []
    check({"Guardar", "Cancelar"} <= set(buttons),
          "%s: the save dialog's buttons read Guardar and Cancelar (%s)" % (language, buttons))
    english = sorted({w for w in words if ENGLISH.search(w)})
    check(dialog and not english, "%s: no English word in the save dialog (%s)"
          % (language, english))
    press("Escape")
    check(wait_for(lambda: not top_window(app, "save"), 3), "Escape closes the save dialog")


def projector(session):
    """--escala 2 on a 3840x2160 screen: the window and its layout as on a 1920x1080 screen,
    twice as large."""
    process, app = session.launch(args=("--escala", "2"))
    if not check(app and wait_for(lambda: button(app, "SIMPLIFICA")),
                 "--escala 2: the program and its menu appear"):
        return
    main = top_window(app, "main")
    x, y, w, h = extents(main)
    check(x == 0 and w == 1920 and y < 20 and 1060 < y + h <= 1081,  # a title bar rounded
          "--escala 2: the window covers the screen as 1920x1080 (%s)" % ((x, y, w, h),))
    frame = max((c for c in controls(main) if c[0] == "filler"), key=lambda c: c[2][2] * c[2][3])
    fx, fy, fw, fh = frame[2]
    check(fx + fw <= 1920 and fy + fh <= 1080, "the section area fits (%s)" % (frame[2],))
    simplifica = button(app, "SIMPLIFICA")
    bx, by, bw, bh = extents(simplifica)
    face = [(2 * bx + 6, 2 * by + 6), (2 * (bx + bw) - 7, 2 * (by + bh) - 7)]
    for _ in range(2):  # a click lost on a loaded machine is made again
        x_server().click((2 * bx + bw, 2 * by + bh))  # its middle, in the screen's pixels
        pixel = desktop.screen_when(lambda p: all(p(*f) == GREEN for f in face), seconds=5)
        if all(pixel(*f) == GREEN for f in face):
            break
    check(all(pixel(*f) == GREEN for f in face),
          "SIMPLIFICA clicked at twice its place turns green at twice its size")
    process.terminate()


def part(program, name):
    """One part on a display of its own (the accessibility bus is the display's)."""
    if name == "projector":
        with desktop.Desktop(program, "openbox", size=(3840, 2160)) as session:
            if session.ready:
                projector(session)
        return
    with desktop.Desktop(program, "openbox") as session:
        app = session.ready and session.launch(env={"LANG": name, "LC_ALL": name})[1]
        if check(app and wait_for(lambda: button(app, "SIMPLIFICA")),
                 "LANG=%s: the program appears" % name):
            time.sleep(0.5)
            if name == "C":
                keyboard_chain(app)
            spanish_words(app, name)


def main():
    program, parts = sys.argv[1], sys.argv[2:]
    if parts:
        try:
            for name in parts:
                part(program, name)
        finally:
            print("%d passed, %d failed" % (desktop.passed, desktop.failed))
        return 1 if desktop.failed or not desktop.passed else 0
    # Each part in a process of its own: a screen reader's connection lasts one display.
    results = [subprocess.run([sys.executable, __file__, program, name]).returncode
               for name in ("C", "en_US.UTF-8", "projector")]
    return max(results)


if __name__ == "__main__":
    sys.exit(main())
