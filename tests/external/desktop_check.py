#!/usr/bin/python3
"""The program as a pupil and a screen reader meet it: the real binary on a real X display
(Xvfb), with or without a window manager, found through the accessibility tree, clicked with
real X pointer events (xdotool), judged by the pixels the X server shows.

Usage: dbus-run-session -- desktop_check.py [--wm openbox] [--shots FOLDER] PATH/TO/ruedecitas
Prints 'N passed, N failed' and exits non-zero when a check fails."""

import argparse
import math
import os
import sys
import time

import pyatspi

import desktop
import window_checks
from desktop import (BLANK, BLUE, GREEN, NEAR_WHITE, WHITE, HEIGHT, WIDTH, Tree, button_colour,
                     check, click, descendants, drag, extents, new_simplify_exercise, open_pad,
                     ordered, pad_keys, screen, showing, type_on_pad, wait_for, x_window, xdo)

# The menu buttons in the order of the sections they show.
SECTIONS = ["Representación gráfica", "Amplificar", "Simplificar", "Suma y resta", "SIMPLIFICA",
            "SUMA Y RESTA", "MULTIPLICACIÓN Y DIVISIÓN", "PRESENTACIÓN", "Inicio"]


def menu(tree, wm):
    """The menu: one green button, the others white; each click shows its own help text."""
    with open(os.path.join(os.path.dirname(__file__), "..", "data", "help_texts.txt"),
              encoding="utf-8") as texts:
        # as a screen reader hears them: without the blank at the end, "X" said "por"
        helps = {name: text.strip().replace(" X ", " por ")
                 for name, text in zip(SECTIONS, texts.read().split("\n"))}
    # The help label stands at the top, right of the menu: the widest label near the top.
    helper = max((n for n in tree.shown("label") if extents(n)[1] < 40),
                 key=lambda n: extents(n)[2], default=None)
    check(helper is not None, "the help label is there")
    pixel = screen()
    check(button_colour(pixel, tree.button("PRESENTACIÓN")) == GREEN,
          "PRESENTACIÓN shows green at start")
    check(all(button_colour(pixel, tree.button(n)) == WHITE for n in SECTIONS[:7] + SECTIONS[8:]),
          "the other eight are white")
    check(helper.name == helps["PRESENTACIÓN"], "the start help text shows")
    title = xdo("search", "--name", "Ruedecitas 1.1 - ", check=False).stdout.split()
    if check(title, "the main window's title is Ruedecitas 1.1 - ..."):
        (x, y, w, h), _ = x_window(title[0])
        if wm:
            # Maximised under a window manager, the window and its title bar cover the screen:
            # the title bar takes the top rows, the window the rest.
            covers = x == 0 and w == WIDTH and 0 < y < 60 and y + h == HEIGHT
        else:
            covers = (x, y, w, h) == (0, 0, WIDTH, HEIGHT)
        check(covers, "the main window covers the screen (%dx%d at %d,%d)" % (w, h, x, y))
    for name in SECTIONS[8:] + SECTIONS[:8]:  # PRESENTACIÓN, the first section shown, last
        click(tree.button(name))
        pixel = screen()
        greens = [n for n in SECTIONS if button_colour(pixel, tree.button(n)) == GREEN]
        check(greens == [name], "after a click on %s only it is green (%s)" % (name, greens))
        check(helper.name == helps[name], "after a click on %s its help text shows" % name)


def keyboard(tree):
    """Tab from PRESENTACIÓN, the last button clicked, to Inicio: a dotted mark 3 pixels inside
    it, its white face untouched (the platform's focus frame would tint it)."""
    inicio = tree.button("Inicio")
    x, y, w, h = extents(inicio)
    mark = lambda pixel: [pixel(x + i, y + 3) for i in range(3, w - 3)]
    face = lambda pixel: {pixel(x + 5, y + 5), pixel(x + w - 6, y + h - 6), pixel(x + w - 6, y + 5)}
    check(set(mark(screen())) == {WHITE}, "Inicio shows no focus mark before Tab")
    xdo("key", "Tab")
    check(wait_for(lambda: inicio.getState().contains(pyatspi.STATE_FOCUSED), 3),
          "Tab moves the keyboard from PRESENTACIÓN to Inicio")
    pixel = screen()
    check((0, 0, 0) in mark(pixel) and WHITE in mark(pixel), "Inicio shows a dotted mark")
    check(face(pixel) == {WHITE}, "its face stays white (%s)" % face(pixel))


def picture_lesson(tree):
    """The fraction picture: "+" beside it makes 2/2, a click on a quarter brings back 1/2."""
    click(tree.button("Representación gráfica"))
    picture = next((n for n, _, name in tree.nodes if name == "Dibujo de la fracción"), None)
    if not check(picture is not None and showing(picture), "the fraction picture shows"):
        return
    x, y, w, h = extents(picture)
    pixel = screen()
    colours = {pixel(x + i * w // 40, y + j * h // 40) for i in range(1, 40) for j in range(1, 40)}
    check({BLUE, NEAR_WHITE, WHITE} <= colours,
          "the picture shows blue and white sectors on its near-white background")
    beside = [n for n in tree.shown() if extents(n)[0] >= x + w and y <= extents(n)[1] < y + h]
    plus = ordered([n for n in beside if n.getRoleName() == "push button"
                    and n.name in ("Sumar uno al numerador", "Sumar uno al denominador")], 1)
    numbers = ordered([n for n in beside if n.getRoleName() == "label"], 1)
    if not check(len(plus) == 2 and len(numbers) == 2, "the fraction editor stands beside it"):
        return
    numerator = numbers[0]
    check(numerator.name == "1", "the fraction starts at 1/2")
    said = lambda text: wait_for(lambda: picture.description == text, 3)
    check(said("1 de 2 partes coloreada, en 1 círculo"), "the picture says what it shows")
    cx, cy, quarter = x + 2 + (w - 4) // 2, y + 2 + (h - 4) // 2, ((h - 4) // 2 - 6) // 2
    lower, upper = (cx + quarter, cy + quarter), (cx + quarter, cy - quarter)
    check(screen()(*lower) == WHITE, "its lower half is white")
    click(plus[0])
    check(wait_for(lambda: numerator.name == "2", 3),
          "'+' makes the numerator 2, and a screen reader hears it")
    check(said("2 de 2 partes coloreadas, en 1 círculo"), "and the picture's new description")
    check(screen()(*lower) == BLUE, "2/2 shows a full blue circle")
    click(lower)
    pixel = screen()
    check(pixel(*lower) == WHITE, "a click empties that sector")
    check(pixel(*upper) == BLUE, "the other stays blue")
    check(numerator.name == "1", "and the numerator follows: 1")
    check(said("1 de 2 partes coloreada, en 1 círculo"), "and the description")


def simplify_chain(app, tree):
    """SIMPLIFICA, end to end: F1 written with the pad as the fully simplified fraction (and the
    whole number after it when that is x/1), the pad dragged by its background, COMPROBAR.
    Answers the line the results window is to list, or None."""
    exercise = new_simplify_exercise(app, tree)
    if not exercise:
        return
    given, marks = exercise
    n, d = int(given[0].name), int(given[1].name)
    top, bottom = n // math.gcd(n, d), d // math.gcd(n, d)
    pad = open_pad(app, marks[0])
    if not pad:
        return
    keys = pad_keys(pad)
    check(all(str(i) in keys for i in range(10)) and "BORRAR" in keys, "the pad has its keys")
    type_on_pad(keys, top)
    check(wait_for(lambda: marks[0].name == str(top), 3),
          "the pad's keys write %d into F1's numerator" % top)
    px, py, _, _ = extents(pad)
    drag(px + 10, py + 10, (px + 30, py + 25), (px + 50, py + 40))
    qx, qy, _, _ = extents(pad)
    check((qx - px, qy - py) == (40, 30),
          "the pad follows a drag of its background (moved by %d,%d)" % (qx - px, qy - py))
    click(marks[1])
    type_on_pad(keys, bottom)
    check(wait_for(lambda: marks[1].name == str(bottom), 3), "and %d into its denominator" % bottom)
    comprobar = ordered(Tree(app).shown("push button", "COMPROBAR"))
    click(comprobar[0])
    bx, by, _, _ = extents(comprobar[0])
    colour = screen()(bx + 3, by + 3)
    if not check(colour == BLUE, "COMPROBAR turns blue (%s)" % (colour,)):
        return None
    line = "%d/%d = %d/%d = " % (n, d, top, bottom)
    if bottom == 1:
        click(ordered(Tree(app).shown("label", BLANK))[-1])
        type_on_pad(keys, top)
        click(ordered(Tree(app).shown("push button", "COMPROBAR"))[1])
        line += "%d = " % top
    return line + " * MUY BIEN *"


def walk(app, wm):
    """Every check, one after the other, as one pupil's session."""
    presentation = wait_for(lambda: Tree(app).button("PRESENTACIÓN"))
    check(presentation is not None, "the menu button PRESENTACIÓN is there")
    wait_for(lambda: showing(presentation))
    time.sleep(0.5)
    tree = Tree(app)
    menu(tree, wm)
    keyboard(tree)
    picture_lesson(tree)
    window_checks.pad_put_away(app, tree)
    window_checks.box_over_clicked_button(app, tree)
    refused = window_checks.given_fraction_over_zero(app, tree)
    chain_line = simplify_chain(app, tree)
    window_checks.right_sum(app, tree)
    # The results window is shown here for the first time in the run.
    results = window_checks.results_over_pad(app, tree)
    if results:
        lines = wait_for(lambda: [n.name for n in descendants(results)
                                  if n.getRoleName() in ("list item", "table cell")], 5) or []
        if chain_line:
            check(chain_line in lines, "the results window lists '%s' (%s)" % (chain_line, lines))
        check(not [line for line in lines if line.startswith(refused)],
              "and no line for %s" % refused.strip(" ="))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("program", help="the program to check")
    parser.add_argument("--wm", help="a window manager to start on the display first (openbox)")
    parser.add_argument("--shots", help="a folder to save screenshots of the checked states in")
    args = parser.parse_args()
    desktop.SHOTS, desktop.MODE = args.shots, args.wm or "plain"
    try:
        with desktop.Desktop(args.program, args.wm) as session:
            app = session.ready and wait_for(
                lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                              if a is not None and a.name == "Ruedecitas"), None))
            if check(app, "the program appears in the accessibility tree"):
                walk(app, args.wm)
    finally:
        print("%d passed, %d failed" % (desktop.passed, desktop.failed))


if __name__ == "__main__":
    main()
    sys.exit(1 if desktop.failed or not desktop.passed else 0)
