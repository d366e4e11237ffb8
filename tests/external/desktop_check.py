#!/usr/bin/python3
"""The program as a pupil and a screen reader meet it: the real binary on a real X display
(Xvfb), found through the accessibility tree, clicked with real X pointer events (xdotool),
judged by the pixels the X server shows.

Usage: dbus-run-session -- desktop_check.py PATH/TO/ruedecitas
Prints 'N passed, N failed' and exits non-zero when a check fails."""

import os
import signal
import struct
import subprocess
import sys
import time

import pyatspi

WIDTH, HEIGHT = 1280, 800
GREEN, WHITE, CYAN = (0, 255, 0), (255, 255, 255), (0, 128, 128)
passed, failed = 0, 0


START = time.time()


def check(condition, what):
    global passed, failed
    what = "%5.1fs %s" % (time.time() - START, what)
    if condition:
        passed += 1
        print("ok    ", what)
    else:
        failed += 1
        print("FAILED", what)


def wait_for(predicate, seconds=15.0):
    end = time.time() + seconds
    while time.time() < end:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    return None


def screen():
    """The whole X screen as (width, height, pixel(x, y) -> (r, g, b))."""
    data = subprocess.run(["xwd", "-root", "-silent"], check=True, capture_output=True).stdout
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    masks, ncolours = fields[14:17], fields[19]
    offset = header_size + ncolours * 12
    size = bits_per_pixel // 8
    if size not in (3, 4):
        raise RuntimeError("unexpected pixel size %d" % bits_per_pixel)
    order = "little" if byte_order == 0 else "big"

    def shift(mask):
        return (mask & -mask).bit_length() - 1

    def pixel(x, y):
        start = offset + y * bytes_per_line + x * size
        value = int.from_bytes(data[start:start + size], order)
        return tuple((value & m) >> shift(m) for m in masks)

    return width, height, pixel


def find_app():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Ruedecitas":
            return app
    return None


def descendants(node):
    for child in node:
        if child is None:
            continue
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


class Tree:
    """The accessible objects of the program, read once: reading them over the bus is slow."""

    def __init__(self, app):
        self.nodes = [(n, n.getRoleName(), n.name) for n in descendants(app)]

    def find(self, role, name):
        found = [n for n, r, nm in self.nodes if r == role and nm == name]
        shown = [n for n in found if showing(n)]
        return (shown or found or [None])[0]


def click(node):
    x, y, w, h = extents(node)
    subprocess.run(["xdotool", "mousemove", str(x + w // 2), str(y + h // 2), "click", "1"],
                   check=True)
    time.sleep(0.3)


def button_colour(pixel, node):
    x, y, w, h = extents(node)
    return pixel(x + 4, y + h // 2)


def help_label(tree):
    # The help label stands at the top, right of the menu: the widest label near the top.
    labels = [n for n, role, _ in tree.nodes if role == "label" and showing(n)]
    top = [n for n in labels if extents(n)[1] < 40]
    return max(top, key=lambda n: extents(n)[2]) if top else None


chain_line = None


def type_on_pad(pad_keys, number):
    click(pad_keys["BORRAR"])
    for digit in str(number):
        click(pad_keys[digit])


def simplify_chain(app, by_name):
    """SIMPLIFICA, end to end: F1 written with the pad as the fully simplified fraction (and the
    whole number after it when that is x/1), the pad dragged by its background, COMPROBAR."""
    global chain_line
    click(by_name("push button", "SIMPLIFICA"))
    tree = Tree(app)
    shown = [n for n, role, _ in tree.nodes if role == "label" and showing(n)]
    marks = sorted((n for n in shown if n.name == "?"), key=lambda n: extents(n)[1])
    check(len(marks) == 2, "the exercise shows F1 as ?/?")
    if len(marks) != 2:
        return
    mx, my = extents(marks[0])[:2]
    given = sorted((n for n in shown if n.name.isdigit() and extents(n)[0] < mx
                    and abs(extents(n)[0] - mx) < 200 and extents(n)[1] >= my - 5),
                   key=lambda n: extents(n)[1])[:2]
    check(len(given) == 2, "the given fraction stands left of it")
    if len(given) != 2:
        return
    n, d = int(given[0].name), int(given[1].name)
    g = __import__("math").gcd(n, d)
    click(marks[0])
    pad = wait_for(lambda: next((w for w in app if w is not None and showing(w) and
                                 w.name == "Teclado de números"), None), 5)
    check(pad is not None, "a click on ? shows the number pad")
    if pad is None:
        return
    keys = {node.name: node for node in descendants(pad) if node.getRoleName() == "push button"}
    check(all(str(i) in keys for i in range(10)) and "BORRAR" in keys, "the pad has its keys")
    type_on_pad(keys, n // g)
    check(wait_for(lambda: marks[0].name == str(n // g), 3) is not None,
          "the pad's keys write %d into F1's numerator" % (n // g))

    # Drag the pad by its background, with the left button held.
    px, py, _, _ = extents(pad)
    subprocess.run(["xdotool", "mousemove", str(px + 10), str(py + 10), "mousedown", "1",
                    "mousemove", str(px + 30), str(py + 25), "mousemove", str(px + 50),
                    str(py + 40), "mouseup", "1"], check=True)
    time.sleep(0.3)
    qx, qy, _, _ = extents(pad)
    check((qx - px, qy - py) == (40, 30), "the pad follows a drag of its background "
          "(moved by %d,%d)" % (qx - px, qy - py))

    click(marks[1])
    type_on_pad(keys, d // g)
    check(wait_for(lambda: marks[1].name == str(d // g), 3) is not None,
          "and %d into its denominator" % (d // g))
    buttons = sorted((node for node, role, name in Tree(app).nodes
                      if role == "push button" and name == "COMPROBAR" and showing(node)),
                     key=lambda node: extents(node)[0])
    click(buttons[0])
    _, _, pixel = screen()
    bx, by, _, _ = extents(buttons[0])
    check(pixel(bx + 3, by + 3) == (0, 0, 255), "COMPROBAR turns blue (%s)" % (pixel(bx + 3, by + 3),))
    chain_line = "%d/%d = %d/%d = " % (n, d, n // g, d // g)
    if d // g == 1:
        whole = sorted((node for node, role, name in Tree(app).nodes if role == "label"
                        and name == "?" and showing(node)), key=lambda node: extents(node)[0])
        click(whole[-1])
        type_on_pad(keys, n // g)
        buttons = sorted((node for node, role, name in Tree(app).nodes
                          if role == "push button" and name == "COMPROBAR" and showing(node)),
                         key=lambda node: extents(node)[0])
        click(buttons[1])
        chain_line += "%d = " % (n // g)
    chain_line += " * MUY BIEN *"


def sum_lists(app, by_name):
    """SUMA Y RESTA: the four numerators set with "+5", then the least common multiple picked
    in the three lists by pointer (scrolled to with the wheel); COMPROBAR then shows."""
    click(by_name("push button", "SUMA Y RESTA"))
    # The pad stays on top where the simplify exercise left it: the pupil drags it aside.
    pad = next((w for w in app if w is not None and w.name == "Teclado de números"), None)
    if pad is not None:
        px, py, pw, ph = extents(pad)
        subprocess.run(["xdotool", "mousemove", str(px + 10), str(py + 10), "mousedown", "1",
                        "mousemove", str(WIDTH - pw + 5), str(HEIGHT - ph + 5), "mouseup", "1"],
                       check=True)
        time.sleep(0.3)
    tree = Tree(app)
    lists = sorted((n for n, role, name in tree.nodes if name == "Múltiplos del denominador"
                    and showing(n)), key=lambda n: extents(n)[0])
    check(len(lists) == 3, "the exercise shows three lists of multiples")
    if len(lists) != 3:
        return
    cells = [[c for c in descendants(l) if c.getRoleName() in ("table cell", "list item")]
             for l in lists]
    denominators = [int(c[0].name) for c in cells]
    lcm = 1
    for d in denominators:
        lcm = lcm * d // __import__("math").gcd(lcm, d)
    for plus in [n for n, role, name in tree.nodes if role == "push button" and name == "+5"
                 and showing(n)]:
        click(plus)
    comprobar = lambda: next((n for n, role, name in Tree(app).nodes if role == "push button"
                              and name == "COMPROBAR" and showing(n)), None)
    check(comprobar() is None, "COMPROBAR waits for a common multiple")
    for lst, entries in zip(lists, cells):
        cell = next(c for c in entries if c.name == str(lcm))
        lx, ly, lw, lh = extents(lst)
        for _ in range(60):  # the wheel, over the list, until the entry shows
            cx, cy, cw, ch = extents(cell)
            if ly <= cy and cy + ch <= ly + lh:
                break
            subprocess.run(["xdotool", "mousemove", str(lx + lw // 2), str(ly + lh // 2),
                            "click", "5"], check=True)
            time.sleep(0.05)
        click(cell)
    shown = wait_for(comprobar, 3)
    workings = [name for _, role, name in Tree(app).nodes if " X " in name and "=" in name]
    check(shown is not None, "picking %d in the lists of %s shows COMPROBAR (%s)"
          % (lcm, denominators, workings))


def main():
    binary = os.path.abspath(sys.argv[1])
    display = str(100 + os.getpid() % 800)
    xvfb = subprocess.Popen(["Xvfb", ":" + display, "-screen", "0",
                             "%dx%dx24" % (WIDTH, HEIGHT), "-nolisten", "tcp", "-noreset"])
    def accepts_clients():
        return subprocess.run(["xdotool", "getdisplaygeometry"], env=dict(
            os.environ, DISPLAY=":" + display), capture_output=True).returncode == 0

    if not wait_for(accepts_clients, 20):
        check(False, "Xvfb starts")
        xvfb.kill()
        return
    env = dict(os.environ, DISPLAY=":" + display, QT_QPA_PLATFORM="xcb",
               QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    os.environ["DISPLAY"] = ":" + display
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], env=env,
                           start_new_session=True)
    time.sleep(0.5)
    program = subprocess.Popen([binary], env=env)
    try:
        app = wait_for(find_app)
        check(app is not None, "the program appears in the accessibility tree")
        if app is None:
            return
        presentation = wait_for(lambda: Tree(app).find("push button", "PRESENTACIÓN"))
        check(presentation is not None, "the menu button PRESENTACIÓN is there")
        wait_for(lambda: showing(presentation))
        time.sleep(0.5)
        tree = Tree(app)
        by_name = tree.find
        helper = help_label(tree)
        check(helper is not None, "the help label is there")
        _, _, pixel = screen()
        check(button_colour(pixel, presentation) == GREEN, "PRESENTACIÓN shows green at start")
        names = ["Inicio", "Representación gráfica", "Amplificar", "Simplificar", "Suma y resta",
                 "SIMPLIFICA", "MULTIPLICACIÓN Y DIVISIÓN", "SUMA Y RESTA"]
        others = [by_name("push button", n) for n in names]
        check(all(button_colour(pixel, b) == WHITE for b in others), "the other eight are white")
        check(helper.name.startswith("Mejora tus conocimientos"), "the start help text shows")
        title = subprocess.run(["xdotool", "search", "--name", "Ruedecitas 1.1 - "],
                               capture_output=True, text=True).stdout.split()
        check(len(title) >= 1, "the main window's title is Ruedecitas 1.1 - ...")
        if title:
            geometry = subprocess.run(["xdotool", "getwindowgeometry", title[0]],
                                      capture_output=True, text=True).stdout
            check("Geometry: %dx%d" % (WIDTH, HEIGHT) in geometry,
                  "the main window covers the screen (%s)" % " ".join(geometry.split()[-2:]))

        helps = {
            "Inicio": "El denominador nos representa",
            "Representación gráfica": "Este apartado nos permite visualizar",
            "Amplificar": "Amplificar consiste",
            "Simplificar": "Simplificar consiste",
            "Suma y resta": "Para sumar o restar fracciones",
            "SIMPLIFICA": "Para empezar la actividad de simplificar",
            "SUMA Y RESTA": "Para realizar la SUMA o RESTA",
            "MULTIPLICACIÓN Y DIVISIÓN": "La MULTIPLICACIÓN de dos fracciones",
            "PRESENTACIÓN": "Mejora tus conocimientos",
        }
        for name, start in helps.items():
            button = by_name("push button", name)
            click(button)
            _, _, pixel = screen()
            greens = [n for n in names + ["PRESENTACIÓN"]
                      if button_colour(pixel, by_name("push button", n)) == GREEN]
            check(greens == [name], "after a click on %s only it is green (%s)" % (name, greens))
            check(helper.name.startswith(start), "after a click on %s its help text shows" % name)

        click(by_name("push button", "Representación gráfica"))
        picture = next((n for n, _, name in tree.nodes if name == "Dibujo de la fracción"), None)
        check(picture is not None and showing(picture), "the fraction picture shows")
        if picture is not None:
            x, y, w, h = extents(picture)
            _, _, pixel = screen()
            colours = {pixel(x + i * w // 40, y + j * h // 40)
                       for i in range(1, 40) for j in range(1, 40)}
            check((0, 0, 255) in colours and (250, 250, 250) in colours and WHITE in colours,
                  "the picture shows blue and white sectors on its near-white background")

            # The lesson: "+" on the numerator beside the picture makes 2/2, a full blue
            # circle; a click on its lower right quarter empties that sector again: 1/2.
            right = x + w
            beside = [n for n, role, name in tree.nodes if showing(n)
                      and extents(n)[0] >= right and y <= extents(n)[1] < y + h]
            plus = sorted((n for n in beside if n.getRoleName() == "push button"
                           and n.name == "+"), key=lambda n: extents(n)[1])
            numbers = sorted((n for n in beside if n.getRoleName() == "label"),
                             key=lambda n: extents(n)[1])
            check(len(plus) == 2 and len(numbers) == 2, "the fraction editor stands beside it")
            if len(plus) == 2 and len(numbers) == 2:
                numerator = numbers[0]
                check(numerator.name == "1", "the fraction starts at 1/2")
                inner_w, inner_h = w - 4, h - 4
                cx, cy = x + 2 + inner_w // 2, y + 2 + inner_h // 2
                quarter = (inner_h // 2 - 6) // 2
                _, _, pixel = screen()
                check(pixel(cx + quarter, cy + quarter) == WHITE, "its lower half is white")
                click(plus[0])
                check(wait_for(lambda: numerator.name == "2", 3) is not None,
                      "'+' makes the numerator 2, and a screen reader hears it")
                _, _, pixel = screen()
                check(pixel(cx + quarter, cy + quarter) == (0, 0, 255), "2/2 shows a full blue circle")
                subprocess.run(["xdotool", "mousemove", str(cx + quarter), str(cy + quarter),
                                "click", "1"], check=True)
                time.sleep(0.3)
                _, _, pixel = screen()
                check(pixel(cx + quarter, cy + quarter) == WHITE, "a click empties that sector")
                check(pixel(cx + quarter, cy - quarter) == (0, 0, 255), "the other stays blue")
                check(numerator.name == "1", "and the numerator follows: 1")

        simplify_chain(app, by_name)
        sum_lists(app, by_name)

        click(by_name("push button", "HISTORIAL"))
        found = wait_for(lambda: subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--name", "TUS RESULTADOS"],
            capture_output=True, text=True).stdout.split(), 5)
        check(bool(found), "HISTORIAL opens the results window")
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
