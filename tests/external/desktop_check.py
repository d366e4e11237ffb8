#!/usr/bin/python3
"""The program as a pupil and a screen reader meet it: the real binary on a real X display
(Xvfb), found through the accessibility tree, clicked with real X pointer events (xdotool),
judged by the pixels the X server shows.

Usage: dbus-run-session -- desktop_check.py PATH/TO/ruedecitas
Prints 'N passed, N failed' and exits non-zero when a check fails."""

import math
import os
import signal
import struct
import subprocess
import sys
import time

import pyatspi

WIDTH, HEIGHT = 1280, 800
GREEN, WHITE, BLUE, NEAR_WHITE = (0, 255, 0), (255, 255, 255), (0, 0, 255), (250, 250, 250)
PAD = "Teclado de números"
BLANK = "número sin escribir"  # a number the pupil has still to write, shown as "?"
# The menu buttons in the order of the sections they show.
SECTIONS = ["Representación gráfica", "Amplificar", "Simplificar", "Suma y resta", "SIMPLIFICA",
            "SUMA Y RESTA", "MULTIPLICACIÓN Y DIVISIÓN", "PRESENTACIÓN", "Inicio"]
START = time.time()
passed, failed = 0, 0


def check(condition, what):
    global passed, failed
    passed, failed = passed + bool(condition), failed + (not condition)
    print("ok    " if condition else "FAILED", "%5.1fs %s" % (time.time() - START, what))
    return condition


def wait_for(predicate, seconds=15.0):
    end = time.time() + seconds
    while not (value := predicate()) and time.time() < end:
        time.sleep(0.1)
    return value or None


def xdo(*args, check=True):
    return subprocess.run(["xdotool", *map(str, args)], check=check, capture_output=True,
                          text=True)


def screen():
    """The whole X screen as pixel(x, y) -> (r, g, b)."""
    data = subprocess.run(["xwd", "-root", "-silent"], check=True, capture_output=True).stdout
    # XWD header: size [0], byte order [7], bits a pixel [11], bytes a line [12], masks [14:17],
    # colour map entries [19].
    field = struct.unpack(">25I", data[:100])
    size, per_line, masks = field[11] // 8, field[12], field[14:17]
    if size not in (3, 4):
        raise RuntimeError("unexpected pixel size %d" % field[11])
    offset, order = field[0] + field[19] * 12, "little" if field[7] == 0 else "big"

    def pixel(x, y):
        start = offset + y * per_line + x * size
        value = int.from_bytes(data[start:start + size], order)
        return tuple((value & m) >> ((m & -m).bit_length() - 1) for m in masks)

    return pixel


def descendants(node):
    for child in node:
        if child is not None:
            yield child
            yield from descendants(child)


def extents(node):
    try:
        e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    except NotImplementedError:  # objects without a place on the screen (a table's parts)
        return -1, -1, 0, 0
    return e.x, e.y, e.width, e.height


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def ordered(nodes, axis=0):
    """The nodes from left to right (axis 0) or from top to bottom (axis 1)."""
    return sorted(nodes, key=lambda n: extents(n)[axis])


class Tree:
    """The accessible objects of the program, read once: reading them over the bus is slow."""

    def __init__(self, app):
        self.nodes = [(n, n.getRoleName(), n.name) for n in descendants(app)]

    def shown(self, role=None, name=None):
        """The nodes on the screen, of that role and with that name when given."""
        return [n for n, r, nm in self.nodes
                if role in (None, r) and name in (None, nm) and showing(n)]

    def button(self, name):
        found = [n for n, r, nm in self.nodes if r == "push button" and nm == name]
        return ([n for n in found if showing(n)] or found or [None])[0]


def click(node):
    """A left click in the middle of an accessible node, or on a point (x, y)."""
    x, y, w, h = (*node, 0, 0) if isinstance(node, tuple) else extents(node)
    xdo("mousemove", x + w // 2, y + h // 2, "click", 1)
    time.sleep(0.3)


def drag(x, y, *path):
    """Presses the left button at (x, y), moves it through the points of `path` and lets go."""
    xdo("mousemove", x, y, "mousedown", 1, *[c for p in path for c in ("mousemove", *p)],
        "mouseup", 1)
    time.sleep(0.3)


def button_colour(pixel, node):
    x, y, w, h = extents(node)
    return pixel(x + 4, y + h // 2)


def type_on_pad(pad_keys, number):
    click(pad_keys["BORRAR"])
    for digit in str(number):
        click(pad_keys[digit])


def menu(tree):
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
        geometry = xdo("getwindowgeometry", title[0], check=False).stdout
        check("Geometry: %dx%d" % (WIDTH, HEIGHT) in geometry,
              "the main window covers the screen (%s)" % " ".join(geometry.split()[-2:]))
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
    click(tree.button("SIMPLIFICA"))
    shown = Tree(app).shown("label")
    marks = ordered([n for n in shown if n.name == BLANK], 1)
    if not check(len(marks) == 2, "the exercise shows F1 as ?/?"):
        return
    mx, my = extents(marks[0])[:2]
    given = ordered([n for n in shown if n.name.isdigit() and mx - 200 < extents(n)[0] < mx
                     and extents(n)[1] >= my - 5], 1)[:2]
    if not check(len(given) == 2, "the given fraction stands left of it"):
        return
    n, d = int(given[0].name), int(given[1].name)
    top, bottom = n // math.gcd(n, d), d // math.gcd(n, d)
    click(marks[0])
    pad = wait_for(lambda: next((w for w in app if w is not None and showing(w)
                                 and w.name == PAD), None), 5)
    if not check(pad is not None, "a click on ? shows the number pad"):
        return
    keys = {k.name: k for k in descendants(pad) if k.getRoleName() == "push button"}
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
    check(colour == BLUE, "COMPROBAR turns blue (%s)" % (colour,))
    line = "%d/%d = %d/%d = " % (n, d, top, bottom)
    if bottom == 1:
        click(ordered(Tree(app).shown("label", BLANK))[-1])
        type_on_pad(keys, top)
        click(ordered(Tree(app).shown("push button", "COMPROBAR"))[1])
        line += "%d = " % top
    return line + " * MUY BIEN *"


def main():
    os.environ["DISPLAY"] = ":%d" % (100 + os.getpid() % 800)
    xvfb = subprocess.Popen(["Xvfb", os.environ["DISPLAY"], "-screen", "0",
                             "%dx%dx24" % (WIDTH, HEIGHT), "-nolisten", "tcp", "-noreset"])
    if not check(wait_for(lambda: xdo("getdisplaygeometry", check=False).returncode == 0, 20),
                 "Xvfb starts"):
        xvfb.kill()
        return
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1",
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], env=env,
                           start_new_session=True)
    time.sleep(0.5)
    program = subprocess.Popen([os.path.abspath(sys.argv[1])], env=env)
    try:
        app = wait_for(lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                                     if a is not None and a.name == "Ruedecitas"), None))
        if not check(app is not None, "the program appears in the accessibility tree"):
            return
        presentation = wait_for(lambda: Tree(app).button("PRESENTACIÓN"))
        check(presentation is not None, "the menu button PRESENTACIÓN is there")
        wait_for(lambda: showing(presentation))
        time.sleep(0.5)
        tree = Tree(app)
        menu(tree)
        keyboard(tree)
        picture_lesson(tree)
        chain_line = simplify_chain(app, tree)
        click(tree.button("HISTORIAL"))
        check(wait_for(lambda: xdo("search", "--onlyvisible", "--name", "TUS RESULTADOS",
                                   check=False).stdout.split(), 5),
              "HISTORIAL opens the results window")
        if chain_line:
            lines = wait_for(lambda: [n.name for n, role, _ in Tree(app).nodes
                                      if role in ("list item", "table cell")], 5) or []
            check(chain_line in lines, "the results window lists '%s' (%s)" % (chain_line, lines))
    finally:
        program.kill()
        os.killpg(bus.pid, signal.SIGKILL)
        xvfb.terminate()  # lets the server remove its lock file and socket
        for process in (program, bus, xvfb):
            process.wait()
        print("%d passed, %d failed" % (passed, failed))


if __name__ == "__main__":
    main()
    sys.exit(1 if failed or not passed else 0)
