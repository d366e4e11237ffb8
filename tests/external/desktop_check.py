#!/usr/bin/python3
"""The program as a pupil and a screen reader meet it: the real binary on a real X display
(Xvfb), on a bare display or under a window manager, found through the accessibility tree,
clicked with real X pointer events, judged by the pixels the X server shows. The number pad (a
small window of its own), the message boxes and the results window are checked where they meet.

Usage: dbus-run-session -- desktop_check.py [--wm openbox] PATH/TO/ruedecitas
Prints 'N passed, N failed' and exits non-zero when a check fails."""

import argparse
import math
import os
import sys
import time

import pyatspi

import desktop
from desktop import (BLACK, BLANK, BLUE, GREEN, NEAR_WHITE, PAD, PAD_YELLOW, RED, SECTIONS, WHITE,
                     Screen, centre, check, controls, extents, face, inside, name_of, ordered,
                     overlap, role_of, screen_when, showing, state_has, top_window, wait_for,
                     x_server)

OVER_ZERO = "8/0 = "  # how the results window would begin a line for the given fraction 8/0


def shown(app, role=None, name=None, kind="main"):
    """The controls of a window of the program on the screen, of that role and name."""
    return [n for r, nm, _, n in controls(top_window(app, kind))
            if role in (None, r) and name in (None, nm)]


def button(app, name):
    return (shown(app, "push button", name) or [None])[0]


def windows(kind):
    """The program's X windows of that kind that show."""
    return [w for w in x_server().windows() if w.kind == kind]


def click(target, pause=0.3):
    """A left click in the middle of a node, or on a point (x, y)."""
    x_server().click(target if isinstance(target, tuple) else centre(extents(target)))
    time.sleep(pause)


def clicks(node, times):
    for _ in range(times):
        click(node, 0.04)
    time.sleep(0.3)


def drag_pad_to(pad, middle):
    """Drags the pad by its background, 10 pixels inside its top-left corner, until its middle
    lies at `middle`."""
    px, py, w, h = extents(pad)
    x, y = middle[0] - w // 2, middle[1] - h // 2
    x_server().drag([(px + 10 + (x - px) * k // 4, py + 10 + (y - py) * k // 4)
                     for k in range(5)])
    check(wait_for(lambda: extents(pad)[:2] == (x, y), 3),
          "the pad is dragged to %d,%d (it stands at %d,%d)" % (x, y, *extents(pad)[:2]))


def framed(box):
    """A window's rectangle with room above it for the title bar a window manager gives it."""
    return box[0], box[1] - 40, box[2], box[3] + 40


def pad_background(pad):
    """The pad's empty top-left corner, left of its display: all its own yellow."""
    return extents(pad)[0] + 3, extents(pad)[1] + 3, 100, 60


def face_colours(pixel, node, *covering):
    """The colours of a button's face where none of the `covering` rectangles lies over it:
    {colour: a point where it shows}; empty where they cover it all."""
    return {pixel(*p): p for p in face(extents(node)) if not any(inside(p, c) for c in covering)}


def no_yellow_inside(box, what):
    """Nothing of the pad's yellow shows inside a window that lies over the pad."""
    pixel = screen_when(lambda pixel: not pixel.find(PAD_YELLOW), box)
    check(not pixel.find(PAD_YELLOW), "no pad yellow inside %s (at %s)"
          % (what, pixel.find(PAD_YELLOW)))


def open_pad(app, number):
    """Clicks a number of the simplify exercise: the pad that shows, or None."""
    click(number)
    pad = wait_for(lambda: top_window(app, "pad"), 5)
    check(pad is not None, "a click on %s shows the number pad" % name_of(number))
    return pad


def type_on_pad(app, number):
    keys = {name_of(k): k for k in shown(app, "push button", kind="pad")}
    for key in ["BORRAR", *str(number)]:
        click(keys[key])


def write(app, numbers, values):
    """Writes each value into its number of the simplify exercise with the pad."""
    for number, value in zip(numbers, values):
        if not open_pad(app, number):
            return False
        type_on_pad(app, value)
    return check(wait_for(lambda: [name_of(n) for n in numbers] == list(map(str, values)), 3),
                 "the pad writes %s" % "/".join(map(str, values)))


def new_simplify_exercise(app):
    """Clicks SIMPLIFICA, which deals anew: its given fraction F0 and the "?"s of F1, each as
    [numerator, denominator] labels, or None."""
    def dealt():
        return (found := shown(app, "label")) and [name_of(n) for n in found].count(BLANK) == 2 \
            and found
    # Under a window manager, on a loaded machine, the first click after start-up now and then
    # never reaches the program: once more then.
    for _ in range(2):
        click(button(app, "SIMPLIFICA"))
        if labels := wait_for(dealt, 5):
            break
    labels = labels or []
    marks = ordered([n for n in labels if name_of(n) == BLANK], 1)
    if not check(len(marks) == 2, "the exercise shows F1 as ?/?"):
        return None
    mx, my = extents(marks[0])[:2]
    given = ordered([n for n in labels if (name_of(n) or "").isdigit()
                     and mx - 200 < extents(n)[0] < mx and extents(n)[1] >= my - 5], 1)[:2]
    return (given, marks) if check(len(given) == 2, "the given fraction stands left of it") \
        else None


def comprobar(app, k=0):
    return ordered(shown(app, "push button", "COMPROBAR"))[k]


def open_box(app, text):
    """The message box a click has just opened, when it says `text`: (node, text, buttons)."""
    found = wait_for(lambda: desktop.box_said(app), 5)
    check(found and found[1] == text, "the box '%s' appears (%s)" % (text, found and found[1]))
    return found


def close_box(app, found):
    """Closes a message box with its one button."""
    if check(len(found[2]) == 1, "the box has one button"):
        click(found[2][0])
    if not check(wait_for(lambda: desktop.box_said(app) is None, 5),
                 "closed, the box '%s' is gone" % found[1]):
        x_server().key("Return")  # a window over its button: the keyboard closes it


# ---------------------------------------------------------------------------------------------

def menu(app, wm):
    """The menu: one green button, the others white; each click shows its own help text."""
    with open(os.path.join(os.path.dirname(__file__), "..", "data", "help_texts.txt"),
              encoding="utf-8") as texts:
        # as a screen reader hears them: without the blank at the end, "X" said "por"
        helps = {name: text.strip().replace(" X ", " por ")
                 for name, text in zip(SECTIONS, texts.read().split("\n"))}
    # The help label stands at the top, right of the menu: the widest label near the top.
    helper = max((n for n in shown(app, "label") if extents(n)[1] < 40),
                 key=lambda n: extents(n)[2], default=None)
    buttons = {name: button(app, name) for name in SECTIONS}
    if not check(helper and all(buttons.values()), "the help label and the menu are there"):
        return
    greens = lambda pixel: [n for n, b in buttons.items()
                            if pixel(extents(b)[0] + 4, centre(extents(b))[1]) == GREEN]
    whites = lambda pixel: [n for n, b in buttons.items()
                            if pixel(extents(b)[0] + 4, centre(extents(b))[1]) == WHITE]
    pixel = Screen()
    check(greens(pixel) == ["PRESENTACIÓN"] and len(whites(pixel)) == 8,
          "PRESENTACIÓN shows green at start, the other eight white (%s)" % greens(pixel))
    check(name_of(helper) == helps["PRESENTACIÓN"], "the start help text shows")
    main = windows("main")
    if check(main, "the main window's title is Ruedecitas 1.1 - ..."):
        x, y, w, h = main[0].box
        # Maximised under a window manager, the title bar takes the top rows, the window the rest.
        covers = (x == 0 and w == desktop.WIDTH and 0 < y < 60 and y + h == desktop.HEIGHT if wm
                  else (x, y, w, h) == (0, 0, desktop.WIDTH, desktop.HEIGHT))
        check(covers, "the main window covers the screen (%dx%d at %d,%d)" % (w, h, x, y))
    for name in SECTIONS[8:] + SECTIONS[:8]:  # PRESENTACIÓN, the first section shown, last
        click(buttons[name])
        green = greens(Screen())
        check(green == [name] and name_of(helper) == helps[name],
              "after a click on %s only it is green (%s), its help text shows" % (name, green))
    return buttons


def keyboard(inicio):
    """Tab from PRESENTACIÓN, the last button clicked, to Inicio: a dotted mark 3 pixels inside
    it, its white face untouched (the platform's focus frame would tint it)."""
    x, y, w, h = extents(inicio)
    mark = lambda pixel: [pixel(x + i, y + 3) for i in range(3, w - 3)]
    check(set(mark(Screen())) == {WHITE}, "Inicio shows no focus mark before Tab")
    x_server().key("Tab")
    check(wait_for(lambda: state_has(inicio, pyatspi.STATE_FOCUSED), 3),
          "Tab moves the keyboard from PRESENTACIÓN to Inicio")
    pixel = screen_when(lambda pixel: BLACK in mark(pixel))  # painted a moment later
    inner = {pixel(x + 5, y + 5), pixel(x + w - 6, y + h - 6), pixel(x + w - 6, y + 5)}
    check(BLACK in mark(pixel) and WHITE in mark(pixel) and inner == {WHITE},
          "Inicio shows a dotted mark, its face stays white (%s)" % inner)


def picture_lesson(app):
    """The fraction picture: "+" beside it makes 2/2, a click on a quarter brings back 1/2."""
    click(button(app, "Representación gráfica"))
    picture = next(iter(shown(app, name="Dibujo de la fracción")), None)
    if not check(picture is not None, "the fraction picture shows"):
        return
    x, y, w, h = extents(picture)
    pixel = Screen()
    colours = {pixel(x + i * w // 40, y + j * h // 40) for i in range(1, 40) for j in range(1, 40)}
    check({BLUE, NEAR_WHITE, WHITE} <= colours,
          "the picture shows blue and white sectors on its near-white background")
    beside = [(r, n) for r, _, b, n in controls(top_window(app, "main"))
              if b[0] >= x + w and y <= b[1] < y + h]
    plus = ordered([n for r, n in beside if name_of(n) == "Sumar uno al numerador"], 1)
    numbers = ordered([n for r, n in beside if r == "label"], 1)
    if not check(len(plus) == 1 and len(numbers) == 2, "the fraction editor stands beside it"):
        return
    numerator = numbers[0]
    said = lambda text: wait_for(lambda: picture.description == text, 3)
    check(name_of(numerator) == "1" and said("1 de 2 partes coloreada, en 1 círculo"),
          "the fraction starts at 1/2, and the picture says so")
    cx, cy, quarter = x + 2 + (w - 4) // 2, y + 2 + (h - 4) // 2, ((h - 4) // 2 - 6) // 2
    lower, upper = (cx + quarter, cy + quarter), (cx + quarter, cy - quarter)
    check(Screen()(*lower) == WHITE, "its lower half is white")
    click(plus[0])
    check(wait_for(lambda: name_of(numerator) == "2", 3)
          and said("2 de 2 partes coloreadas, en 1 círculo"),
          "'+' makes the numerator 2; a screen reader hears it and the new description")
    check(Screen()(*lower) == BLUE, "2/2 shows a full blue circle")
    click(lower)
    pixel = Screen()
    check(pixel(*lower) == WHITE and pixel(*upper) == BLUE,
          "a click empties that sector, the other stays blue")
    check(name_of(numerator) == "1" and said("1 de 2 partes coloreada, en 1 círculo"),
          "and the numerator and the description follow: 1")


def pad_put_away(app):
    """A new exercise, or any other section, puts the pad away; a number shows it again where
    the pupil left it."""
    exercise = new_simplify_exercise(app)
    pad = exercise and open_pad(app, exercise[1][0])
    if not pad:
        return
    x, y, w, h = extents(pad)
    drag_pad_to(pad, (x + w // 2 + 120, y + h // 2 + 40))  # a place of the pupil's own
    place = extents(pad)
    pad_window = next((win for win in windows("pad") if win.box == place), None)
    check(pad_window, "the pad is an X window of the program (at %s)" % (place,))
    click(button(app, "SIMPLIFICA"))
    check(wait_for(lambda: not showing(pad) and not windows("pad"), 3),
          "SIMPLIFICA again puts the pad away, its X window unmapped")
    marks = ordered(shown(app, "label", BLANK), 1)
    check(len(marks) == 2, "the new exercise's F1 reads ?/? (%s)" % [name_of(n) for n in marks])
    if marks and open_pad(app, marks[0]):
        check(extents(pad) == place, "the pad shows again where it was (%s, was %s)"
              % (extents(pad), place))
    click(button(app, "Inicio"))
    check(wait_for(lambda: not showing(pad), 3), "another section, Inicio, puts the pad away")


def box_over_clicked_button(app):
    """6/6 checked: a message box over the pad, and under it COMPROBAR still drawn."""
    exercise = new_simplify_exercise(app)
    if not exercise or not write(app, exercise[0], (6, 6)):
        return
    pad = top_window(app, "pad")
    drag_pad_to(pad, centre(extents(top_window(app, "main"))))  # where a message box opens
    button = comprobar(app)
    click(button)
    found = open_box(app, "Numerador y denominador han de tener distinto número")
    if not found:
        return
    box, under = extents(found[0]), extents(pad)
    if check(overlap(box, under), "the box %s lies over the pad %s" % (box, under)):
        no_yellow_inside(box, "the box")
        pixel = Screen()
        colours = pixel.colours(pad_background(pad), besides=[framed(box)])
        check(set(colours) == {PAD_YELLOW}, "the pad shows its yellow beside it (%s)" % colours)
        colours = face_colours(pixel, button, framed(box), under)
        check(colours and set(colours) == {WHITE},
              "COMPROBAR's face shows white under the box (%s)" % colours)
    close_box(app, found)


def given_fraction_over_zero(app):
    """8/0 = 8/? checked: "cannot be simplified", then COMPROBAR red."""
    exercise = new_simplify_exercise(app)
    if (not exercise or not write(app, exercise[0], (8, 0))
            or not write(app, exercise[1][:1], (8,))):
        return
    button = comprobar(app)
    click(button)
    found = open_box(app, "Esta fracción no se puede simplificar")
    if found:
        close_box(app, found)
        pixel = screen_when(lambda pixel: set(face_colours(pixel, button)) == {RED})
        check(set(face_colours(pixel, button)) == {RED},
              "then COMPROBAR shows red (%s)" % face_colours(pixel, button))


def simplify_chain(app):
    """SIMPLIFICA, end to end: F1 written with the pad as the fully simplified fraction (and the
    whole number after it when that is x/1), the pad dragged by its background, COMPROBAR.
    Answers the line the results window is to list, or None."""
    exercise = new_simplify_exercise(app)
    if not exercise:
        return None
    given, marks = exercise
    n, d = int(name_of(given[0])), int(name_of(given[1]))
    top, bottom = n // math.gcd(n, d), d // math.gcd(n, d)
    pad = open_pad(app, marks[0])
    if not pad:
        return None
    keys = {name_of(k) for k in shown(app, "push button", kind="pad")}
    check(keys >= {*"0123456789", "BORRAR"}, "the pad has its keys")
    type_on_pad(app, top)
    check(wait_for(lambda: name_of(marks[0]) == str(top), 3),
          "the pad's keys write %d into F1's numerator" % top)
    px, py, _, _ = extents(pad)
    x_server().drag([(px + 10, py + 10), (px + 30, py + 25), (px + 50, py + 40)])
    time.sleep(0.3)
    qx, qy, _, _ = extents(pad)
    check((qx - px, qy - py) == (40, 30),
          "the pad follows a drag of its background (moved by %d,%d)" % (qx - px, qy - py))
    click(marks[1])
    type_on_pad(app, bottom)
    check(wait_for(lambda: name_of(marks[1]) == str(bottom), 3),
          "and %d into its denominator" % bottom)
    button = comprobar(app)
    click(button)
    bx, by, _, _ = extents(button)
    if not check(Screen()(bx + 3, by + 3) == BLUE, "COMPROBAR turns blue"):
        return None
    line = "%d/%d = %d/%d = " % (n, d, top, bottom)
    if bottom == 1:
        click(ordered(shown(app, "label", BLANK))[-1])
        type_on_pad(app, top)
        click(comprobar(app, 1))
        line += "%d = " % top
    return line + " * MUY BIEN *"


def right_sum(app):
    """Suma y resta: A and B brought to their least common denominator, the result written
    with its counters; on the click that makes it right, "Muy bien" over it, and the button
    just clicked blue on the screen."""
    click(button(app, "Suma y resta"))
    parts = controls(top_window(app, "main"))
    labels = [(b, n) for r, nm, b, n in parts if r == "label" and nm.isdigit()]
    if not check(len(labels) == 6, "the lesson shows six numbers (%s)"
                 % [name_of(n) for _, n in labels]):
        return
    top = min(b[1] for b, _ in labels)
    (a, b, a2, b2), (a_den, b_den) = ([n for b, n in sorted(labels) if (b[1] == top) == up]
                                      for up in (True, False))
    # The sign between A and B is drawn with lines: a plus has an upright one.
    left, right = extents(a)[0] + extents(a)[2], extents(b)[0]
    plus = any(r == "filler" and left < box[0] < right and box[3] > box[2]
               for r, _, box, _ in parts)
    n1, d1, n2, d2 = (int(name_of(n)) for n in (a, a_den, b, b_den))
    common = math.lcm(d1, d2)
    result = (n1 * common // d1) + (1 if plus else -1) * (n2 * common // d2)
    print("       %d/%d %s %d/%d = %d/%d" % (n1, d1, "+-"[not plus], n2, d2, result, common))
    a2_den, b2_den = ordered([n for r, nm, _, n in parts if r == "push button"
                              and nm.isdigit()])[:2]
    clicks(a2_den, common // d1 - 1)
    clicks(b2_den, common // d2 - 1)
    check(wait_for(lambda: (name_of(a2_den), name_of(b2_den)) == (str(common),) * 2, 5)
          and (name_of(a2), name_of(b2)) == (str(n1 * common // d1), str(n2 * common // d2)),
          "A′ and B′ become %s/%s and %s/%s" % tuple(map(name_of, (a2, a2_den, b2, b2_den))))
    terms = ordered(shown(app, "push button", BLANK), 1)
    fives = [button(app, "Sumar cinco al %s del resultado" % t) for t in ("numerador",
                                                                         "denominador")]
    if not check(len(terms) == 2 and all(fives), "the result's terms show, still blank"):
        return
    numerator, denominator = terms
    count_to(numerator, fives[0], result)
    click(numerator)
    colours = face_colours(screen_when(
        lambda pixel: set(face_colours(pixel, numerator)) == {BLUE}), numerator)
    check(name_of(numerator) == str(result) and set(colours) == {BLUE},
          "the right numerator %s shows blue (%s)" % (name_of(numerator), colours))
    count_to(denominator, fives[1], common)
    colours = face_colours(screen_when(
        lambda pixel: set(face_colours(pixel, denominator)) == {RED}), denominator)
    check(set(colours) == {RED}, "a wrong denominator, %s, shows red (%s)"
          % (name_of(denominator), colours))
    click(denominator)
    found = open_box(app, "Muy bien")
    if found:
        box = framed(extents(found[0]))
        pixel = screen_when(lambda pixel: set(face_colours(pixel, denominator, box)) == {BLUE})
        colours = face_colours(pixel, denominator, box)
        check(colours and set(colours) == {BLUE},
              "under the box the denominator just clicked shows blue (%s)" % colours)
        close_box(app, found)


def count_to(term, five, value):
    """Brings a blank term of the sum's result to one below `value`: by fives, then by ones."""
    by_five = (value - 1) // 5
    clicks(five, by_five)
    clicks(term, value - 1 - 5 * by_five)
    expected = str(value - 1) if value > 1 else BLANK
    check(wait_for(lambda: name_of(term) == expected, 5),
          "the term reads %s before its last click (%s)" % (expected, name_of(term)))


def results_over_pad(app, chain_line):
    """The pad over the main window, even after a click on the main window; the results window,
    shown for the first time, over the pad, listing the chain and no line for 8/0."""
    exercise = new_simplify_exercise(app)
    pad = exercise and open_pad(app, exercise[1][0])
    if not pad:
        return
    # The frame right of the menu that every section stands in: the largest one shown.
    x, y, w, h = max((b for r, _, b, _ in controls(top_window(app, "main")) if r == "frame"),
                     key=lambda b: b[2] * b[3])
    drag_pad_to(pad, (x + w // 2, y + h // 2))  # the results window opens over the middle
    click((x + w - 20, y + h - 20))  # nothing stands there but the section's own background
    background = pad_background(pad)
    pixel = screen_when(lambda pixel: set(pixel.colours(background)) == {PAD_YELLOW})
    check(set(pixel.colours(background)) == {PAD_YELLOW},
          "after a click on the main window the pad still shows above it")
    check(not windows("results"), "the results window has not been shown yet")
    click(button(app, "HISTORIAL"))
    results = wait_for(lambda: top_window(app, "results"), 5)
    if not check(results and windows("results"), "HISTORIAL opens the results window"):
        return
    box, under = extents(results), extents(pad)
    if check(overlap(box, under), "the results window %s lies over the pad %s" % (box, under)):
        no_yellow_inside(box, "the results window")
    lines = wait_for(lambda: [n for r, n, _, _ in controls(results)
                              if r in ("list item", "table cell")], 5) or []
    if chain_line:
        check(chain_line in lines, "the results window lists '%s' (%s)" % (chain_line, lines))
    check(not [line for line in lines if line.startswith(OVER_ZERO)],
          "and no line for %s" % OVER_ZERO.strip(" ="))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("program", help="the program to check")
    parser.add_argument("--wm", help="a window manager to start on the display first (openbox)")
    args = parser.parse_args()
    try:
        with desktop.Desktop(args.program, args.wm) as session:
            app = session.ready and session.launch()[1]
            if check(app and wait_for(lambda: button(app, "PRESENTACIÓN")),
                     "the program and its menu appear in the accessibility tree"):
                time.sleep(0.5)
                buttons = menu(app, args.wm)
                keyboard(buttons["Inicio"])
                picture_lesson(app)
                pad_put_away(app)
                box_over_clicked_button(app)
                given_fraction_over_zero(app)
                chain_line = simplify_chain(app)
                right_sum(app)
                results_over_pad(app, chain_line)  # the results window's first showing
    finally:
        print("%d passed, %d failed" % (desktop.passed, desktop.failed))


if __name__ == "__main__":
    main()
    sys.exit(1 if desktop.failed or not desktop.passed else 0)
