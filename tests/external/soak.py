#!/usr/bin/python3
"""A soak of the real program on a real X display under openbox: random real X events on every
window it shows (clicks, drags, keys, window closes, re-deals), mixed with a pupil who knows the
answers and so reaches the message boxes, the history's lines and the accepted links; every few
hundred events it checks from outside what a pupil would see go wrong. Closing the main window
ends the program; it is started again and the soak goes on.

Usage: dbus-run-session -- soak.py PROGRAM [MINUTES] [SEED] [--size WxH] [--scale N]
The seed is printed first; the same seed replays the same run as far as the timing allows. A
failure keeps a screenshot, the accessibility tree, the last events and the seed in
OUT/failure-SEED/ and exits 1."""

import argparse
import collections
import math
import os
import random
import re
import shutil
import sys
import time
import traceback

import pyatspi

import desktop
from desktop import (BLANK, GREEN, PAD, PAD_YELLOW, descendants, inside, overlap, showing,
                     x_server)

RESULTS_PINK = (255, 128, 255)  # the results window's background
RESULTS = "TUS RESULTADOS"
SAVE = "Guardar el historial"
MAIN_TITLE = "Ruedecitas 1.1 - "
# The menu column: the sections in the order of their index, then the history.
SECTIONS = ["Representación gráfica", "Amplificar", "Simplificar", "Suma y resta", "SIMPLIFICA",
            "SUMA Y RESTA", "MULTIPLICACIÓN Y DIVISIÓN", "PRESENTACIÓN", "Inicio"]
HISTORY = "HISTORIAL"
SUM_LESSON, SIMPLIFY, SUM, PRODUCT = 3, 4, 5, 6
DEALT = (SUM_LESSON, SIMPLIFY, SUM, PRODUCT)  # the sections a menu click deals anew
# Names that stand for a number still to be given.
BLANKS = {BLANK, "múltiplo sin elegir", "denominador común sin elegir", ""}
SANITIZER = re.compile(r"ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY: \w+Sanitizer")
KEYS = [("Tab",), ("Shift_L", "Tab"), ("space",), ("Return",), ("Escape",), ("Left",), ("Right",),
        ("Up",), ("Down",), ("Control_L", "c"), ("Control_L", "s")] + [(str(d),) for d in range(10)]
N = r"-?\d+"
LINE_FORMS = [
    ("simplify", re.compile(r"^{n}/{n} = (?:(?:{n}/{n} = )+(?:{n} = )?|{n} = ) \* (MUY BIEN|CON "
                            r"ERRORES) \*$".format(n=N))),
    ("sum", re.compile(r"^{n}/{n} \+ {n}/{n} [+-] {n}/{n} = {n}/(?:{n})? \*\*\* (MUY BIEN|CON "
                       r"ERRORES) \*\*\*$".format(n=N))),
    ("product", re.compile(r"^{n}/{n} (?:X|:) {n}/{n} = {n}/{n} \*\* (MUY BIEN|CON ERRORES) "
                           r"\*\*$".format(n=N))),
]
PRIMES = (2, 3, 5, 7, 11, 13, 17, 19, 23, 29)  # the primes the simplify exercise divides by


class Failure(Exception):
    """Something a pupil would see go wrong: the soak stops on it."""


class Stale(Exception):
    """What the driver knew of the screen is no longer so (a window went, a control moved):
    the pupil looks again."""


def ask(what, *args, default=None):
    """One question to the accessibility bus, whose objects may go at any moment."""
    try:
        return what(*args)
    except Exception:  # a window closed under the question: GLib errors of all kinds
        return default


def extents(node):
    return ask(desktop.extents, node, default=(-1, -1, 0, 0))


def name_of(node):
    return ask(lambda: node.name, default=None)


def state_has(node, state):
    return ask(lambda: node.getState().contains(state), default=False)


def centre(box):
    return box[0] + box[2] // 2, box[1] + box[3] // 2


def ordered(nodes, axis=0):
    return sorted(nodes, key=lambda n: extents(n)[axis])


# ---------------------------------------------------------------------------------------------
# The program's windows as the X server and the window manager have them.

class XWin:
    """One of the program's windows on the screen: its kind (main, pad, results, box, save,
    menu, other), its X id, its client rectangle and the rectangle of the frame around it."""

    def __init__(self, kind, wid, box, frame, title):
        self.kind, self.wid, self.box, self.frame, self.title = kind, wid, box, frame, title

    def __repr__(self):
        return "%s %s at %s" % (self.kind, hex(self.wid), self.box)


class Windows:
    """The program's windows that show, bottom of the stack first, read from the X server."""

    def __init__(self):
        self.x = x_server()
        self.known = {}  # X id -> (kind, title): what does not change while the window lives

    def is_program(self, wid):
        found = self.x.property(wid, "WM_CLASS")
        return bool(found) and found[0].startswith(b"ruedecitas\0")

    def kind(self, wid):
        if wid not in self.known:
            title = self.x.text(wid, "_NET_WM_NAME") or self.x.text(wid, "WM_NAME")
            types = self.x.numbers(wid, "_NET_WM_WINDOW_TYPE")
            if title.startswith(MAIN_TITLE):
                kind = "main"
            elif title == RESULTS:
                kind = "results"
            elif title == SAVE:
                kind = "save"
            elif self.x.atom("_NET_WM_WINDOW_TYPE_UTILITY") in types:
                kind = "pad"
            elif self.x.atom("_NET_WM_WINDOW_TYPE_DIALOG") in types:
                kind = "box"
            else:
                kind = "other"
            self.known[wid] = kind, title
        return self.known[wid]

    def read(self, popups=True):
        shown = []
        for wid in self.x.numbers(self.x.root, "_NET_CLIENT_LIST_STACKING"):
            if wid not in self.known and not self.is_program(wid):
                continue
            place = self.x.attributes(wid)
            if not place or not place[1]:
                continue
            kind, title = self.kind(wid)
            # the window manager's frame, made anew each time the window is shown
            frame_place = self.x.attributes(self.x.top_level(wid))
            shown.append(XWin(kind, wid, place[0], frame_place[0] if frame_place else place[0],
                              title))
        if popups:  # context menus and drop-down lists: not managed, above everything
            for wid in self.x.children(self.x.root)[0]:
                place = self.x.attributes(wid)
                if place and place[1] and place[2] and self.is_program(wid):
                    shown.append(XWin("menu", wid, place[0], place[0], ""))
        return shown

    def program_windows_mapped(self):
        """Every viewable X window of the program anywhere in the tree, and the managed
        windows the window manager still lists for it."""
        viewable = [w for w in self.x.tree() if self.is_program(w)
                    and (self.x.attributes(w) or (0, False))[1]]
        listed = [w for w in self.x.numbers(self.x.root, "_NET_CLIENT_LIST") if self.is_program(w)]
        return viewable, listed

    def active(self):
        active = self.x.numbers(self.x.root, "_NET_ACTIVE_WINDOW")
        return active[0] if active else 0


def first(windows, kind):
    return next((w for w in windows if w.kind == kind), None)


# ---------------------------------------------------------------------------------------------
# Pixels.

def face_colour(box, scale):
    """The colour of a button's face just inside its bevel, where all of the ring shows one."""
    pixel = desktop.screen(box)
    colours = {pixel(*p) for p in desktop.face(box, round(2 * scale))}
    return colours.pop() if len(colours) == 1 else None


# ---------------------------------------------------------------------------------------------
# The soak.

class Soak:
    def __init__(self, args, session, out):
        self.args, self.session, self.out = args, session, out
        self.seed, self.random = args.seed, random.Random(args.seed)
        self.x, self.windows = x_server(), Windows()
        self.events = collections.deque(maxlen=200)
        self.count = collections.Counter()
        self.start = time.time()
        self.runs, self.process, self.app = 0, None, None
        self.scale = args.scale  # X pixels per accessibility pixel: Qt's scale factor
        self.shown = []  # the program's windows as last read
        self.views = {}  # window kind -> (X id, [(role, name, box relative to the window, node)])
        self.section = 7  # PRESENTACIÓN shows at start
        self.expected = []  # lines the pupil's right answers wrote into the results window
        self.results_id = None  # the results window's X id while the expected lines are in it
        self.box_seen = None  # the message box on the screen, once its checks are done
        self.box_texts = collections.Counter()
        self.last_title_press = 0.0
        self.history_lines = 0
        self.next_check = args.check_every
        self.stderr_read = 0

    # -- the log -------------------------------------------------------------------------

    def log(self, kind, what):
        self.count["events"] += 1
        self.count[kind] += 1
        self.events.append("%7.2fs #%d %s: %s" % (time.time() - self.start, self.count["events"],
                                                  kind, what))

    def elapsed(self):
        return time.time() - self.start

    # -- the program -----------------------------------------------------------------------

    def launch(self):
        self.runs += 1
        program_seed = random.Random("%d-%d" % (self.seed, self.runs)).getrandbits(32)
        self.stderr_path = os.path.join(self.out, "program-%d.stderr" % self.runs)
        self.stderr = open(self.stderr_path, "w")
        self.stderr_read = 0
        env = {"RUEDECITAS_SEED": str(program_seed), "ASAN_OPTIONS": "detect_leaks=0",
               "UBSAN_OPTIONS": "print_stacktrace=1", "HOME": self.home,
               "XDG_RUNTIME_DIR": self.runtime}
        if self.args.scale != 1:
            env["QT_SCALE_FACTOR"] = str(self.args.scale)
        self.windows.known.clear()  # a new client may be given the old one's X ids
        self.process = self.session.launch_program(env, stderr=self.stderr)
        self.events.append("%7.2fs program started (run %d, RUEDECITAS_SEED=%d, pid %d)"
                           % (self.elapsed(), self.runs, program_seed, self.process.pid))
        self.app = desktop.wait_for(lambda: next(
            (a for a in pyatspi.Registry.getDesktop(0) if a is not None
             and ask(a.get_process_id) == self.process.pid), None), 60)
        if not self.app:
            raise Failure("the program (run %d) does not appear in the accessibility tree"
                          % self.runs)
        main = desktop.wait_for(lambda: first(self.windows.read(False), "main"), 60)
        presentation = desktop.wait_for(lambda: self.main_node() and self.find_button(
            self.main_node(), "PRESENTACIÓN"), 60)
        if not main or not presentation:
            raise Failure("the main window does not show (run %d)" % self.runs)
        time.sleep(0.5)
        self.section, self.views, self.expected, self.results_id = 7, {}, [], None
        self.refresh()

    def main_node(self):
        return next((w for w in ask(list, self.app, default=[]) if w is not None
                     and (name_of(w) or "").startswith(MAIN_TITLE)), None)

    def find_button(self, node, name):
        return next((n for n in ask(lambda: list(descendants(node)), default=[])
                     if ask(n.getRoleName) == "push button" and name_of(n) == name), None)

    def alive(self):
        """The program still runs and has written no sanitizer report."""
        with open(self.stderr_path, errors="replace") as said:
            said.seek(self.stderr_read)
            text = said.read()
        self.stderr_read += len(text.encode(errors="replace"))
        if SANITIZER.search(text):
            time.sleep(1)  # the report is written in parts
            raise Failure("the program wrote a sanitizer report:\n" + open(
                self.stderr_path, errors="replace").read()[-4000:])
        if self.process.poll() is not None:
            raise Failure("the program ended by itself (status %s)" % self.process.returncode)

    # -- what shows --------------------------------------------------------------------------

    def refresh(self, popups=True):
        self.shown = self.windows.read(popups)
        if not first(self.shown, "box"):
            self.box_seen = None
        results = first(self.shown, "results")
        if self.results_id and (not results or results.wid != self.results_id):
            if self.results_id not in self.x.numbers(self.x.root, "_NET_CLIENT_LIST"):
                self.expected = []  # the results window was closed, and its lines with it
                self.results_id = None
        if results and not self.results_id:
            self.results_id = results.wid
        for kind in list(self.views):
            now = first(self.shown, kind)
            if not now or now.wid != self.views[kind][0]:
                del self.views[kind]
        return self.shown

    def modal(self):
        return next((w for w in self.shown if w.kind in ("box", "save")), None)

    def a11y_window(self, kind):
        """The accessible window of an X window kind."""
        for w in ask(list, self.app, default=[]):
            if w is None:
                continue
            role, name = ask(w.getRoleName), name_of(w) or ""
            if (kind == "main" and name.startswith(MAIN_TITLE) or kind == "pad" and name == PAD
                    or kind == "results" and name == RESULTS or kind == "save" and name == SAVE
                    or kind == "box" and role == "alert") and ask(showing, w):
                return w
        return None

    def view(self, kind):
        """The controls of a window, read once and kept while the window stays: (role, name,
        box relative to the window's client area, node)."""
        win = first(self.shown, kind)
        if not win:
            return []
        if kind not in self.views:
            node = self.a11y_window(kind)
            if node is None:
                return []
            origin = extents(node)
            found = []

            def walk(parent):
                for child in ask(list, parent, default=[]):
                    if child is None or not ask(showing, child):
                        continue
                    role = ask(child.getRoleName)
                    if role in ("push button", "label", "table cell", "radio button", "filler",
                                "table", "frame", "list item", "text", "combo box", "page tab",
                                "check box", "tree item", "list"):
                        x, y, w, h = extents(child)
                        if w > 0 and h > 0:
                            found.append((role, name_of(child) or "",
                                          (x - origin[0], y - origin[1], w, h), child))
                    walk(child)
            walk(node)
            self.views[kind] = win.wid, found, origin
        return self.views[kind][1]

    def on_screen(self, kind, box):
        """A box relative to a window's client area, in X pixels of the screen."""
        win = first(self.shown, kind)
        s = self.scale
        return (win.box[0] + round(box[0] * s), win.box[1] + round(box[1] * s),
                max(1, round(box[2] * s)), max(1, round(box[3] * s)))

    def node_box(self, node, kind="main"):
        """The place on the screen, in X pixels, of a control of a window of that kind: its
        place in the window, scaled, from the window's client area (the window's own place is
        rounded to whole logical pixels, its controls' places in it are not)."""
        x, y, w, h = extents(node)
        if w <= 0 or not self.view(kind):
            raise Stale("a control went from the screen")
        origin = self.views[kind][2]
        return self.on_screen(kind, (x - origin[0], y - origin[1], w, h))

    def covered(self, point, kind="main"):
        """The window that lies over a point of a window of that kind, or None."""
        win = first(self.shown, kind)
        if not win:
            return None
        above = self.shown[self.shown.index(win) + 1:]
        return next((w for w in above if inside(point, w.frame)), None)

    # -- the hand ----------------------------------------------------------------------------

    def settle(self, seconds=0.03):
        self.x.sync()
        time.sleep(seconds)

    def click(self, point, kind, what, button=1, settle=0.03):
        self.x.move(*point)
        self.x.button(button, True)
        self.x.button(button, False)
        self.log(kind, "%s at %d,%d%s" % (what, point[0], point[1],
                                          " (right button)" if button == 3 else ""))
        self.settle(settle)

    def key(self, keys, kind="key"):
        self.x.key(*keys)
        self.log(kind, "+".join(keys))
        self.settle()

    def drag(self, start, end, kind, what, steps=4):
        self.x.move(*start)
        self.x.button(1, True)
        self.settle(0.05)
        for k in range(1, steps + 1):
            self.x.move(start[0] + (end[0] - start[0]) * k // steps,
                        start[1] + (end[1] - start[1]) * k // steps)
            self.settle(0.03)
        self.x.button(1, False)
        self.log(kind, "%s from %d,%d to %d,%d" % (what, *start, *end))
        self.settle(0.1)

    def title_bar(self, win):
        """A point in the middle of a window's title bar, or None for a window without one;
        a window manager takes two presses there within half a second for a double click."""
        if win.box[1] - win.frame[1] < 8:
            return None
        while time.time() - self.last_title_press < 0.6:
            time.sleep(0.05)
        self.last_title_press = time.time()
        return win.frame[0] + win.frame[2] // 2, (win.frame[1] + win.box[1]) // 2

    # -- random events ---------------------------------------------------------------------

    def random_event(self):
        r = self.random
        choices = [("control", 40), ("point", 8), ("key", 16), ("menu", 9), ("drag", 5),
                   ("close", 2.5), ("end", 0.3), ("context", 3), ("save", 3), ("pupil", 4)]
        if first(self.shown, "results"):
            choices.append(("context", 4))
        kind = r.choices([c for c, _ in choices], [w for _, w in choices])[0]
        getattr(self, "random_" + kind)()

    def random_control(self):
        kinds = [w.kind for w in self.shown if w.kind in ("main", "pad", "results", "box", "save",
                                                          "menu")]
        weights = {"main": 5, "pad": 3, "results": 2, "box": 4, "save": 2, "menu": 3}
        kind = self.random.choices(kinds, [weights[k] for k in kinds])[0]
        if kind == "menu":
            return self.menu_entry()
        if kind == "save":
            return self.in_save_dialog()
        controls = [c for c in self.view(kind) if c[0] not in ("frame", "filler", "table")]
        if kind == "main":  # the menu column has events of its own
            controls = [c for c in controls if c[1] not in SECTIONS + [HISTORY]] or controls
        if not controls:
            return self.random_point()
        role, name, box, _ = self.random.choice(controls)
        x, y, w, h = self.on_screen(kind, box)
        point = (x + self.random.randint(w // 4, max(w // 4, 3 * w // 4)),
                 y + self.random.randint(h // 4, max(h // 4, 3 * h // 4)))
        self.click(point, "click", "%s %s '%s'" % (kind, role, name))
        if kind == "results" and role == "table cell" and self.random.random() < 0.3:
            self.key(("Control_L", "c"))

    def random_point(self):
        """A click on a random point of a window of the program, or of the screen."""
        windows = [w for w in self.shown if w.kind not in ("save", "menu")]
        if windows and self.random.random() < 0.85:
            win = self.random.choice(windows)
            x, y, w, h = win.box
        else:
            x, y, w, h = 0, 0, desktop.WIDTH, desktop.HEIGHT
        point = (x + self.random.randrange(max(1, w)), y + self.random.randrange(max(1, h)))
        if any(inside(point, s.frame) and not inside(point, s.box) for s in self.shown) or \
                first(self.shown, "save") and inside(point, first(self.shown, "save").frame):
            return  # a title bar's buttons (one iconifies) and the save dialog are left alone
        self.click(point, "point", "random point")

    def random_key(self):
        if first(self.shown, "save"):  # Enter there would save: the pupil cancels
            return self.key(("Escape",))
        keys = self.random.choice(KEYS)
        menu = first(self.shown, "menu")  # Enter or Space may choose "Guardar como…" there
        self.key(keys)
        if keys == ("Control_L", "s") or menu and keys in (("Return",), ("space",)):
            self.wait_for_save()

    def active_kind(self):
        """The kind of the program's window that has the keyboard."""
        active = self.windows.active()
        return next((w.kind for w in self.shown if w.wid == active), None)

    def random_menu(self):
        """A menu button: a section, the same section again (a re-deal), or the history."""
        if self.random.random() < 0.12:
            return self.menu(HISTORY)
        if self.section in DEALT and self.random.random() < 0.3:
            index = self.section
        else:
            index = self.random.randrange(9)
        self.menu(SECTIONS[index])

    def menu(self, name, kind="menu"):
        """Clicks a button of the menu column. Answers whether the click reached it."""
        node = next((c for c in self.view("main") if c[0] == "push button" and c[1] == name), None)
        if not node:
            return False
        point = centre(self.on_screen("main", node[2]))
        blocked = self.modal() or self.covered(point)
        index = SECTIONS.index(name) if name in SECTIONS else None
        if index is not None and index == self.section and index in DEALT and not blocked:
            self.count["re-deals"] += 1
        self.click(point, kind, "menu '%s'%s" % (name, " (covered or blocked)" if blocked
                                                 else ""), settle=0.06)
        if not blocked and index is not None:
            self.section = index
            self.views.pop("main", None)
        return not blocked

    def random_drag(self):
        r = self.random
        pad, results = first(self.shown, "pad"), first(self.shown, "results")
        target = (r.randrange(desktop.WIDTH), r.randrange(desktop.HEIGHT))
        if pad and (not results or r.random() < 0.5):
            # By the pad's background: its top-left corner, left of its display.
            s = self.scale
            start = (pad.box[0] + round(8 * s) + r.randrange(round(20 * s)),
                     pad.box[1] + round(8 * s) + r.randrange(round(15 * s)))
            self.drag(start, target, "drag", "the pad by its background")
        elif results and (start := self.title_bar(results)):
            self.drag(start, target, "drag", "the results window by its title bar")
        else:
            self.random_point()

    def random_close(self):
        """Another window than the main one closed, through the window manager or Alt+F4."""
        kinds = [w.kind for w in self.shown if w.kind in ("pad", "results", "box", "save")]
        if not kinds:
            return self.random_point()
        self.close(self.random.choice(kinds), self.random.choice(["wm", "alt-f4"]))

    def random_end(self):
        """The main window closed: the program ends, and starts again."""
        self.close("main", self.random.choice(["wm", "alt-f4"]))

    def close(self, kind, how, again=True):
        """Closes a window through the window manager ("wm") or with Alt+F4 once it has the
        keyboard; closing the main window ends the program, started `again`."""
        win = first(self.shown, kind)
        modal_before = self.modal() or first(self.shown, "menu")
        if how == "wm":
            self.x.close(win.wid)
            self.log("close", "%s closed through the window manager" % kind)
        else:
            # The window first gets the keyboard: a click on its title bar, or on the pad's
            # background, or the window manager's activation for the main window.
            if kind == "pad":
                self.click((win.box[0] + 5, win.box[1] + 5), "click", "the pad's background")
            elif kind != "main" and (point := self.title_bar(win)):
                self.click(point, "click", "the %s's title bar" % kind)
            else:
                self.activate(win)
            desktop.wait_for(lambda: self.refresh() and self.active_kind() == kind, 0.5)
            active = self.active_kind()
            if active != kind:  # Alt+F4 would close another window than the one meant
                return self.events.append("%7.2fs (the %s did not get the keyboard, the %s has "
                                          "it)" % (self.elapsed(), kind, active))
            self.key(("Alt_L", "F4"), "close")
        self.settle(0.2)
        if kind == "main":
            self.main_closed(modal_before, again)
        elif kind == "save":
            self.views.pop("save", None)

    def activate(self, win):
        self.x.activate(win.wid)

    def main_closed(self, modal_before, again=True):
        """The main window was asked to close: the program ends with status 0 and leaves
        nothing on the screen, then starts `again`; or, under a modal box or a menu that kept
        the window from closing, it goes on."""
        try:
            status = self.process.wait(20 if not modal_before else 3)
        except Exception:
            if modal_before:
                self.count["closes refused under a box"] += 1
                return
            raise Failure("closing the main window did not end the program")
        self.stderr.close()
        self.alive_report_only()
        if status != 0:
            raise Failure("the program ended with status %s when its main window closed" % status)
        if not desktop.wait_for(lambda: not any(self.windows.program_windows_mapped()), 3):
            viewable, listed = self.windows.program_windows_mapped()
            raise Failure("after the program ended, its windows stay: %s, %s"
                          % ([hex(w) for w in viewable], [hex(w) for w in listed]))
        self.count["program ends"] += 1
        if again:
            self.launch()

    def alive_report_only(self):
        text = open(self.stderr_path, errors="replace").read()
        if SANITIZER.search(text):
            raise Failure("the program wrote a sanitizer report:\n" + text[-4000:])

    def random_context(self):
        """The results list's context menu, opened with the right button."""
        results = first(self.shown, "results")
        if not results:
            return self.menu(HISTORY)
        table = next((c for c in self.view("results") if c[0] == "table"), None)
        if not table:
            return
        x, y, w, h = self.on_screen("results", table[2])
        point = (x + self.random.randrange(w // 8, w - w // 8),
                 y + self.random.randrange(h // 8, h - h // 8))
        self.click(point, "context", "the results list, right button", button=3, settle=0.15)

    def menu_entry(self):
        """A click on the open context menu: "Copiar" in its upper half, "Guardar como…" in
        its lower half, or beside it."""
        menu = first(self.shown, "menu")
        x, y, w, h = menu.box
        entry = self.random.random()
        if entry < 0.45:
            self.click((x + w // 2, y + h // 4), "context", "menu entry 'Copiar'")
        elif entry < 0.9:
            self.click((x + w // 2, y + 3 * h // 4), "context", "menu entry 'Guardar como…'")
            self.wait_for_save()
        else:
            self.click((max(0, x - 20), max(0, y - 20)), "context", "beside the menu")

    def random_save(self):
        """The save dialog through Ctrl+S on the results window, or its menu entry."""
        results = first(self.shown, "results")
        if not results or self.modal():
            return self.random_context()
        if self.random.random() < 0.5:
            point = self.title_bar(results)
            if point:
                self.click(point, "click", "the results window's title bar")
            self.key(("Control_L", "s"), "save")
            self.wait_for_save()
        else:
            self.random_context()
            self.refresh()
            if first(self.shown, "menu"):
                menu = first(self.shown, "menu")
                self.click((menu.box[0] + menu.box[2] // 2, menu.box[1] + 3 * menu.box[3] // 4),
                           "save", "menu entry 'Guardar como…'")
                self.wait_for_save()

    def wait_for_save(self):
        """After what may open the save dialog: the dialog, once it shows, is cancelled by the
        next events; no key reaches it meanwhile."""
        if desktop.wait_for(lambda: first(self.refresh(), "save"), 4):
            self.count["save dialogs"] += 1

    def in_save_dialog(self):
        """The save dialog writes and makes folders: only its Cancel button, its title bar,
        Escape and the window's close are used on it."""
        save = first(self.shown, "save")
        choice = self.random.random()
        if choice < 0.4:
            self.key(("Escape",), "save")
        elif choice < 0.7:
            cancel = next((c for c in self.view("save") if c[0] == "push button"
                           and c[1] in ("Cancel", "Cancelar")), None)
            if cancel:
                self.click(centre(self.on_screen("save", cancel[2])), "save", "Cancel")
            else:
                self.key(("Escape",), "save")
        elif choice < 0.85 and (point := self.title_bar(save)):
            target = (self.random.randrange(desktop.WIDTH), self.random.randrange(desktop.HEIGHT))
            self.drag(point, target, "drag", "the save dialog by its title bar")
        else:
            self.close("save", "wm")

    # -- checks ------------------------------------------------------------------------------

    def check_box(self, box_win):
        """A modal window: no window of the program over it, none of the pad's yellow or the
        results window's pink inside it; a message box has one button."""
        def covering():
            self.refresh(False)
            now = next((w for w in self.shown if w.wid == box_win.wid), None)
            if not now:
                return None
            above = self.shown[self.shown.index(now) + 1:]
            over = [w for w in above if w.kind in ("main", "pad", "results")
                    and overlap(w.frame, now.frame)]
            if over:
                return "%s lies over the %s %s" % (over, now.kind, now.frame)
            for colour, whose in ((PAD_YELLOW, "the pad's yellow"),
                                  (RESULTS_PINK, "the results window's pink")):
                point = desktop.screen(now.box).find(colour)
                if point:
                    return "%s shows inside the %s %s at %s" % (whose, now.kind, now.box, point)
            return None
        if covering():
            # a window is stacked and painted a moment after it maps
            if not desktop.wait_for(lambda: not covering(), 3):
                fault = covering()
                if fault:
                    raise Failure("a window covers a modal box: " + fault)
        if box_win.kind == "box" and box_win.wid != self.box_seen:
            self.box_seen = box_win.wid  # X ids are used again: a box is new once none showed
            self.count["message boxes"] += 1
            node = desktop.wait_for(lambda: self.a11y_window("box"), 3)
            parts = ask(lambda: list(descendants(node)), default=[]) if node else []
            buttons = [n for n in parts if ask(n.getRoleName) == "push button"]
            text = " ".join(name_of(n) for n in parts if ask(n.getRoleName) == "label"
                            and name_of(n))
            self.box_texts[text] += 1
            self.events.append("%7.2fs message box '%s'" % (self.elapsed(), text))
            if node and len(buttons) != 1:
                raise Failure("the message box '%s' has %d buttons" % (text, len(buttons)))

    def check_round(self):
        """The checks of every few hundred events."""
        self.count["check rounds"] += 1
        self.alive()
        self.refresh()
        for win in [w for w in self.shown if w.kind in ("box", "save")]:
            self.check_box(win)
        self.put_away_modals()
        self.check_numbers()
        self.check_menu_answers()
        self.check_results()

    def put_away_modals(self):
        """Closes what stands in the way of the checks, as a pupil would: menus and the save
        dialog with Escape, message boxes with their button (Enter where it is covered)."""
        for _ in range(6):
            self.refresh()
            if first(self.shown, "menu") or first(self.shown, "save"):
                self.key(("Escape",), "check")
                self.settle(0.2)
                continue
            box = first(self.shown, "box")
            if not box:
                return
            self.check_box(box)
            node = self.a11y_window("box")
            parts = ask(lambda: list(descendants(node)), default=[]) if node else []
            button = next((n for n in parts if ask(n.getRoleName) == "push button"), None)
            if button and self.random.random() < 0.7:
                self.click(centre(self.node_box(button, "box")), "check",
                           "the box's button")
            else:
                self.activate(box)
                self.settle(0.1)
                self.key(("Return",), "check")
            desktop.wait_for(lambda: box.wid not in [w.wid for w in self.refresh()], 3)
        raise Failure("the modal windows do not go away: %s" % self.shown)

    def read_section(self):
        """The section on the screen: the one green button of the menu column, where the
        column shows; otherwise the last one clicked."""
        menu = [(c[1], self.on_screen("main", c[2])) for c in self.view("main")
                if c[0] == "push button" and c[1] in SECTIONS]
        shown = [(name, box) for name, box in menu if not self.covered(centre(box))]
        if not menu or len(shown) < len(menu):
            return self.section
        left = min(b[0] for _, b in menu)
        top = min(b[1] for _, b in menu)
        pixel = desktop.screen((left, top, max(b[0] + b[2] for _, b in menu) - left,
                                max(b[1] + b[3] for _, b in menu) - top))
        green = [name for name, (x, y, w, h) in menu
                 if pixel(x + round(4 * self.scale), y + h // 2) == GREEN]
        if len(green) == 1:
            self.section = SECTIONS.index(green[0])
        return self.section

    def check_numbers(self):
        """Every number of an exercise (and of the "Suma y resta" lesson) is a whole number, a
        blank or "?": names that are sentences may hold numbers, each whole."""
        if self.read_section() not in DEALT:
            return
        self.views.pop("main", None)
        controls = self.view("main")
        frames = [c for c in controls if c[0] == "frame"]
        if not frames:
            return
        area = max(frames, key=lambda c: c[2][2] * c[2][3])[2]
        for role, name, box, _ in controls:
            if role not in ("label", "push button", "radio button") or not inside(box[:2], area):
                continue
            if name in BLANKS or name == "?":
                continue
            for token in name.replace("=", " ").split():
                if re.search(r"\d|^(nan|inf|infinity)$", token, re.I) and \
                        not re.fullmatch(r"-?\d+", token):
                    raise Failure("the %s '%s' of %s reads a number that is not whole: '%s'"
                                  % (role, name, SECTIONS[self.section], token))
        self.count["numbers checked"] += 1

    def check_menu_answers(self):
        """A click on a menu button turns it green on the screen within a second."""
        menu = [c for c in self.view("main") if c[0] == "push button" and c[1] in SECTIONS]
        free = [c for c in menu if SECTIONS.index(c[1]) != self.section
                and not self.covered(centre(self.on_screen("main", c[2])))]
        if not free:
            return
        _, name, box, _ = self.random.choice(free)
        box = self.on_screen("main", box)
        green = lambda: face_colour(box, self.scale) == GREEN
        for _ in range(3):
            clicked = time.time()
            self.menu(name, "check")
            if desktop.wait_for(green, 1.0):
                self.count["menu answers"] += 1
                return
            if desktop.wait_for(green, 4.0):
                raise Failure("the menu button '%s' turns green %.1fs after its click, not within "
                              "a second" % (name, time.time() - clicked))
            self.count["clicks made again"] += 1  # the click never reached the program
        raise Failure("the menu button '%s' does not turn green after three clicks (its face: %s)"
                      % (name, face_colour(box, self.scale)))

    def check_results(self):
        """Every line of the history has one of its four forms; the lines the pupil's right
        answers wrote are there, in order."""
        for _ in range(3):
            if first(self.refresh(), "results"):
                break
            if not self.menu(HISTORY, "check"):
                return
            if desktop.wait_for(lambda: first(self.refresh(), "results"), 3):
                break
            self.count["clicks made again"] += 1
        else:
            raise Failure("HISTORIAL does not show the results window")
        node = desktop.wait_for(lambda: self.a11y_window("results"), 5)
        lines = [name_of(n) for n in ask(lambda: list(descendants(node)), default=[])
                 if ask(n.getRoleName) in ("table cell", "list item")]
        for line in lines:
            if not any(form.match(line) for _, form in LINE_FORMS):
                raise Failure("the history line '%s' has none of the four forms" % line)
        rest = iter(lines)
        missing = [e for e in self.expected if not any(line == e for line in rest)]
        if missing:
            raise Failure("the history lacks the lines %s of right answers (it has %s)"
                          % (missing, lines))
        self.history_lines = max(self.history_lines, len(lines))
        self.count["history lines read"] += len(lines)

    # -- the run -----------------------------------------------------------------------------

    def run(self, seconds):
        self.launch()
        while self.elapsed() < seconds:
            self.alive()
            self.refresh()
            for win in [w for w in self.shown if w.kind in ("box", "save")]:
                self.check_box(win)
            try:
                self.random_event()
            except Stale as stale:
                self.events.append("%7.2fs (%s)" % (self.elapsed(), stale))
                self.views.clear()
            if self.count["events"] >= self.next_check:
                self.next_check = self.count["events"] + self.args.check_every
                self.check_round()
        self.check_round()
        self.finish()

    def finish(self):
        """The main window closed at the end: status 0, nothing left on the screen."""
        self.put_away_modals()
        self.refresh()
        self.close("main", "wm", again=False)
        if self.process.poll() is None:
            raise Failure("the main window closed at the end did not end the program")

    # -- the pupil who knows the answers -------------------------------------------------------

    def random_pupil(self):
        self.put_away_modals()
        scenario = self.random.choice(["simplify_chain", "simplify_chain", "right_sum",
                                       "right_product", "lesson_sum"])
        pupil = Pupil(self)
        try:
            getattr(pupil, scenario)()
        except Redealt:
            pupil.after_redeal()
        except Done:
            pass
        self.count["pupil scenarios"] += 1


def pad_keys_for(number):
    """The pad's keys that write a whole number after BORRAR: its digits; for a negative one
    "-5" and "-1" down to a small start, then the digits that, each appended as value · 10 +
    digit, reach it (-1, then 4, makes -6)."""
    if number >= 0:
        return list(str(number)) if number else []
    magnitude, digits = -number, []
    while magnitude > 9:
        digit = -magnitude % 10
        digits.append(str(digit))
        magnitude = (magnitude + digit) // 10
    return (["Restar cinco"] * (magnitude // 5) + ["Restar uno"] * (magnitude % 5)
            + digits[::-1])


def pad_value(keys):
    """What the pad shows after BORRAR and these keys."""
    value = 0
    for key in keys:
        steps = {"Restar uno": -1, "Restar cinco": -5}
        value = value + steps[key] if key in steps else value * 10 + int(key)
    return value


class Done(Exception):
    """The pupil leaves the rest of the exercise, a message box open."""


class Redealt(Exception):
    """The pupil clicked the section's menu button again halfway."""


# ---------------------------------------------------------------------------------------------
# The pupil who knows the answers: the same buttons, lists and pad a pupil uses.

class Pupil:
    def __init__(self, soak):
        self.soak, self.random = soak, soak.random
        self.redeal_at = self.random.randrange(3, 30) if self.random.random() < 0.2 else None
        self.steps = 0
        self.section = None
        self.written = []  # (number, value) the pad wrote in this exercise, in order

    def step(self):
        """Before each step: a re-deal halfway, now and then."""
        self.steps += 1
        if self.redeal_at is not None and self.steps == self.redeal_at:
            self.soak.refresh()
            if self.soak.menu(SECTIONS[self.section], "pupil"):
                raise Redealt()
            raise Stale("the re-deal's menu button was out of reach")

    def after_redeal(self):
        """A re-deal puts the pad away and deals blanks to be written."""
        soak = self.soak
        gone = lambda: not first(soak.refresh(), "pad")
        if not self.wait(gone, 3):  # the click may not have reached the program: once more
            soak.count["clicks made again"] += 1
            soak.menu(SECTIONS[self.section], "pupil")
            if not self.wait(gone, 3):
                raise Failure("the number pad stays on the screen across a re-deal of %s"
                              % SECTIONS[self.section])
        if self.section == SIMPLIFY:
            marks = desktop.wait_for(lambda: len(self.shown("label", BLANK)) == 2, 3)
            if not marks:
                raise Failure("after a re-deal SIMPLIFICA does not show ?/? (%s)"
                              % [name_of(n) for n in self.area_nodes("label")][:8])

    # -- reading -------------------------------------------------------------------------

    def tree(self):
        self.soak.views.pop("main", None)
        return self.soak.view("main")

    def area_nodes(self, role=None):
        """The controls of the section on screen, from a fresh reading."""
        controls = self.tree()
        frames = [c for c in controls if c[0] == "frame"]
        area = max(frames, key=lambda c: c[2][2] * c[2][3])[2] if frames else (0, 0, 1e9, 1e9)
        return [c[3] for c in controls if (role is None or c[0] == role)
                and inside(c[2][:2], area)]

    def shown(self, role, name):
        return [n for n in self.area_nodes(role) if name_of(n) == name]

    def value(self, node):
        name = name_of(node)
        return int(name) if name and re.fullmatch(r"-?\d+", name) else None

    # -- the hand ------------------------------------------------------------------------

    def press(self, node, what=None):
        """A click in the middle of a control of the main window, with nothing over it."""
        self.step()
        soak = self.soak
        point = centre(soak.node_box(node))
        soak.refresh()
        self.uncover(point)
        self.click(point, "main", what or "'%s'" % name_of(node))

    def click(self, point, kind, what):
        """A click on a window of that kind. A click on a window without the keyboard is taken
        by the window manager first, which gives it the keyboard and hands the press on: the
        pupil's next click waits for that, as a hand moving between windows does."""
        soak = self.soak
        before = soak.windows.active()
        switching = soak.active_kind() != kind
        soak.click(point, "pupil", what, settle=0.04)
        if switching:
            desktop.wait_for(lambda: soak.windows.active() != before, 0.5)

    def uncover(self, point, kind="main"):
        """Whatever lies over a point of a window goes out of the way: a menu with Escape, the
        pad dragged aside, the results window below the main window."""
        soak = self.soak
        if soak.modal():  # a save dialog that was slow to come, say
            raise Stale("a modal window %s stands in the pupil's way" % soak.modal())
        over = soak.covered(point, kind)
        if over and over.kind == "menu":
            soak.key(("Escape",), "pupil")
        elif over and over.kind == "pad" and kind == "main":
            self.park_pad(point)
        elif over:
            soak.activate(first(soak.shown, "main"))  # the pad, its tool window, comes along
            soak.settle(0.2)
        soak.refresh()
        if soak.covered(point, kind):
            raise Stale("%s stays over the point %s" % (soak.covered(point, kind), point))

    def park_pad(self, point):
        """Drags the pad by its background to where it leaves `point` free."""
        soak = self.soak
        pad = first(soak.shown, "pad")
        x, y, w, h = pad.box
        corners = [(desktop.WIDTH - w - 4, desktop.HEIGHT - h - 4), (desktop.WIDTH - w - 4, 4),
                   (4, desktop.HEIGHT - h - 4)]
        target = next((c for c in corners if not inside(point, (*c, w, h))), corners[0])
        grab = (max(x, 0) + round(8 * soak.scale), max(y, 0) + round(8 * soak.scale))
        soak.drag(grab, (grab[0] + target[0] - x, grab[1] + target[1] - y), "pupil",
                  "the pad out of the way")
        soak.refresh()

    def presses(self, node, times, what):
        for _ in range(times):
            self.press(node, what)

    def open_section(self, index, dealt):
        """A click on the section's menu button, until what a new deal shows (`dealt`)."""
        self.section = index
        soak = self.soak
        soak.refresh()
        if soak.section == index and index in DEALT:
            soak.count["re-deals"] += 1

        def click():
            node = next((c for c in soak.view("main") if c[0] == "push button"
                         and c[1] == SECTIONS[index]), None)
            if not node:
                raise Stale("no menu button %s" % SECTIONS[index])
            point = centre(soak.on_screen("main", node[2]))
            self.uncover(point)
            soak.click(point, "pupil", "menu '%s'" % SECTIONS[index], settle=0.2)
            soak.section = index
            soak.views.pop("main", None)
        self.until(click, dealt, "%s shows no new exercise" % SECTIONS[index])

    def wait(self, condition, seconds=3.0):
        return desktop.wait_for(condition, seconds)

    def expect(self, condition, fault, seconds=3.0):
        if not self.wait(condition, seconds):
            raise Failure(fault() if callable(fault) else fault)

    def until(self, act, condition, fault, tries=3, seconds=2.0):
        """Acts (a click) until `condition` holds. Under the window manager, which takes every
        press first to give the window the keyboard and then hands it on, a click now and then
        never reaches the program when it comes fast after another: a click whose effect does
        not show is made again, and counted."""
        for attempt in range(tries):
            if attempt:
                self.soak.count["clicks made again"] += 1
                self.soak.events.append("%7.2fs (no effect seen: once more)" % self.soak.elapsed())
            act()
            if self.wait(condition, seconds):
                return
        raise Failure(fault() if callable(fault) else fault)

    def box(self, text, click=None):
        """The message box that `click` opens (or the last click opened), said `text`; now and
        then closed with its button, otherwise left for the random events."""
        soak = self.soak
        if click:
            self.until(click, lambda: first(soak.refresh(), "box"),
                       "no message box '%s' after the click" % text, seconds=3)
        found = self.wait(lambda: first(soak.refresh(), "box"), 4)
        if not found:
            raise Failure("no message box '%s' after the click" % text)
        soak.check_box(found)
        node = self.wait(lambda: soak.a11y_window("box"), 3)
        said = " ".join(name_of(n) for n in descendants(node)
                        if ask(n.getRoleName) == "label" and name_of(n))
        if said != text:
            raise Failure("the message box says '%s' where '%s' was due" % (said, text))
        soak.count["pupil's boxes"] += 1
        if self.random.random() < 0.5:
            soak.put_away_modals()
        else:  # left open for the random events to meet
            raise Done()

    # -- the number pad ------------------------------------------------------------------

    def write(self, label, number):
        """Writes a whole number into a number of the simplify exercise with the pad: a click
        on the number (the pad shows 0), BORRAR, then the keys that make it; written again
        where a click did not reach the program."""
        self.until(lambda: self.write_once(label, number),
                   lambda: name_of(label) == str(number),
                   lambda: "the pad wrote '%s' where %d was typed" % (name_of(label), number))
        self.written = [(n, v) for n, v in self.written if n != label] + [(label, number)]

    def written_still(self):
        """Before a check: the numbers written that a check has not locked still read what the
        pad wrote; one a lost click let the pad's keys write into again is written anew."""
        for label, number in list(self.written):
            if state_has(label, pyatspi.STATE_ENABLED) and name_of(label) != str(number):
                self.soak.count["numbers written again"] += 1
                self.write(label, number)

    def pad_display(self):
        return next((c[3] for c in self.soak.view("pad") if c[0] == "label"), None)

    def write_once(self, label, number):
        soak = self.soak
        self.until(lambda: self.press(label, "the number '%s' for the pad" % name_of(label)),
                   lambda: first(soak.refresh(), "pad") and name_of(self.pad_display()) == "0",
                   "a click on the number '%s' does not open the pad" % name_of(label))
        pad = first(soak.shown, "pad")
        x, y, w, h = pad.box
        if x < 0 or y < 0 or x + w > desktop.WIDTH or y + h > desktop.HEIGHT:
            self.park_pad(centre(soak.node_box(label)))  # dragged half off the screen before
        keys = {c[1]: c[2] for c in soak.view("pad") if c[0] == "push button"}
        for key in ["BORRAR"] + pad_keys_for(number):
            if key not in keys:
                raise Failure("the pad has no key '%s' (%s)" % (key, sorted(keys)))
            self.step()
            soak.refresh()
            if not first(soak.shown, "pad"):
                raise Stale("the pad went")
            point = centre(soak.on_screen("pad", keys[key]))
            self.uncover(point, "pad")
            self.click(point, "pad", "pad key '%s'" % key)

    # -- SIMPLIFICA ----------------------------------------------------------------------

    def simplify_chain(self):
        """Right links to the lowest terms, one prime or several at a time, ending in a whole
        number after x/1; now and then the given fraction rewritten first: n/n, n/0, one that
        cannot be simplified, a large negative numerator through "-1" and digits."""
        soak = self.soak
        self.open_section(SIMPLIFY, lambda: len(self.shown("label", BLANK)) == 2)
        labels = [n for n in self.area_nodes("label") if name_of(n) == BLANK
                  or self.value(n) is not None]
        columns = collections.defaultdict(list)
        for n in labels:
            columns[extents(n)[0]].append(n)
        if len(columns) < 2:
            raise Failure("SIMPLIFICA shows no given fraction beside ?/?")
        given = ordered(columns[min(columns)], 1)
        num, den = self.value(given[0]), self.value(given[1])
        variant = self.random.choices(["dealt", "same", "over zero", "prime", "negative", "huge"],
                                      [5, 2, 2, 2, 2, 1])[0]
        if variant == "same":
            num = den = self.random.choice([6, 8, 12, den])
        elif variant == "over zero":
            num, den = self.random.choice([8, num]), 0
        elif variant == "prime":
            num, den = self.random.choice([(7, 9), (4, 9), (25, 36), (13, 1000)])
        elif variant in ("negative", "huge"):
            # "-1" then digits: as long as a double holds it exactly, or far beyond
            count = self.random.randrange(2, 13) if variant == "negative" else 20
            num = pad_value(["Restar uno"] + [str(self.random.randrange(10))
                                              for _ in range(count)])
        if variant != "dealt":
            soak.count["given fractions rewritten"] += 1
            self.write(given[0], num)
            self.write(given[1], den)
        check = lambda: self.written_still() or self.press(self.comprobar(0), "COMPROBAR")
        if num == den:
            return self.box("Numerador y denominador han de tener distinto número", check)
        marks = ordered(self.shown("label", BLANK), 1)
        if abs(num) >= 2 ** 53:  # never right, whatever follows it
            self.write(marks[0], 1)
            self.write(marks[1], 2)
            check()
            time.sleep(1)
            soak.put_away_modals()
            if not state_has(self.comprobar(0), pyatspi.STATE_ENABLED):
                raise Failure("a link from %d/%d, past what a double holds, was accepted"
                              % (num, den))
            return
        if not self.simplifiable(num, den):
            self.write(marks[0], num)
            return self.box("Esta fracción no se puede simplificar", check)
        chain, k = [(num, den)], 0
        while True:
            n, d = chain[-1]
            if d == 1:  # a whole number after x/1
                mark = next((m for m in self.area_nodes("label") if name_of(m) == BLANK), None)
                if mark is None:
                    raise Failure("no blank for the whole number after %d/1" % n)
                self.write(mark, n)
                self.accept(k, chain, whole=True)
                break
            g = math.gcd(n, d)
            step = g if self.random.random() < 0.5 or k >= 3 else \
                self.random.choice([p for p in PRIMES if g % p == 0])
            nxt = (n // step, d // step)
            marks = ordered([m for m in self.area_nodes("label") if name_of(m) == BLANK], 1)
            if len(marks) < 2:
                raise Failure("no ?/? to write %d/%d into (%s)"
                              % (*nxt, [name_of(m) for m in marks]))
            self.write(marks[0], nxt[0])
            self.write(marks[1], nxt[1])
            chain.append(nxt)
            final = not self.simplifiable(*nxt)
            self.accept(k, chain, whole=False, final=final)
            if final:
                break
            k += 1

    def simplifiable(self, n, d):
        return d == 1 or d != 0 and any(n % p == 0 and d % p == 0 for p in PRIMES)

    def comprobar(self, k):
        buttons = ordered([n for n in self.area_nodes("push button")
                           if name_of(n) == "COMPROBAR"])
        if k >= len(buttons):
            raise Failure("no COMPROBAR for link %d (%d shown)" % (k + 1, len(buttons)))
        return buttons[k]

    def accept(self, k, chain, whole, final=False):
        """COMPROBAR of a right link k: the button is locked; the chain's line when it ends."""
        soak = self.soak
        button = self.comprobar(k)
        link = " = ".join("%d/%d" % f for f in chain[-2:]) + (" = %d" % chain[-1][0]
                                                              if whole else "")
        self.until(lambda: self.written_still() or self.press(button, "COMPROBAR"),
                   lambda: not state_has(button, pyatspi.STATE_ENABLED),
                   "the right link %s was not accepted" % link)
        soak.count["accepted links"] += 1
        if whole or final:
            line = "".join("%d/%d = " % f for f in chain) + ("%d = " % chain[-1][0] if whole
                                                              else "")
            soak.expected.append(line + " * MUY BIEN *")
            soak.count["right chains"] += 1

    # -- SUMA Y RESTA --------------------------------------------------------------------

    def numbers(self, count):
        """The numbers of the section as labels, `count` of them: (top row, the rest), each
        from left to right."""
        labels = [n for n in self.area_nodes("label") if self.value(n) is not None]
        if len(labels) < count:
            raise Stale("%d numbers show where %d were due" % (len(labels), count))
        top = min(extents(n)[1] for n in labels)
        return (ordered([n for n in labels if extents(n)[1] == top]),
                ordered([n for n in labels if extents(n)[1] != top]))

    def blanks(self, count):
        return len([n for n in self.area_nodes("push button") if name_of(n) == BLANK]) == count

    def right_sum(self):
        soak = self.soak
        for _ in range(4):  # an exercise whose numbers the counters reach in a few clicks
            self.open_section(SUM, lambda: self.blanks(4))
            tops, bottoms = self.numbers(6)
            nums, dens = [self.value(n) for n in tops], [self.value(n) for n in bottoms[:3]]
            lcm = math.lcm(*dens)
            multiple = lcm * self.random.choice([1, 1, 1, 2])
            multiple = multiple if multiple < dens[0] * dens[1] * dens[2] + 30 else lcm
            terms = [n * multiple // d for n, d in zip(nums, dens)]
            plus = self.plus_between(tops[1], tops[2])
            result = terms[0] + terms[1] + (terms[2] if plus else -terms[2])
            if sum(abs(t) for t in terms + [result]) <= 400 and multiple // min(dens) <= 40:
                break
        else:
            return
        lists = ordered([c[3] for c in self.tree() if c[0] == "table"
                         and c[1] == "Múltiplos del denominador"])
        self.until(lambda: [self.choose(table, multiple, den) for table, den in zip(lists, dens)],
                   lambda: len(self.shown("label", str(multiple))) >= 4,
                   "the common denominator %d does not show under the numerators" % multiple)
        counters = self.area_nodes("push button")
        values = ordered([n for n in counters if name_of(n) == BLANK], 0)
        ordinals = ["al primer numerador", "al segundo numerador", "al tercer numerador",
                    "al numerador del resultado"]
        for i, target in enumerate(terms + [result]):
            five = next(n for n in counters if name_of(n) == "Sumar cinco " + ordinals[i])
            minus = next(n for n in counters if name_of(n) == "Restar uno " + ordinals[i])
            self.count_to(values[i], five, minus, target)
        comprobar = self.wait(lambda: next((n for n in self.area_nodes("push button")
                                            if name_of(n) == "COMPROBAR"), None))
        if not comprobar:
            raise Failure("COMPROBAR does not show once the sum's numbers are set")
        self.green(comprobar, "the right sum")
        soak.expected.append("%d/%d + %d/%d %s %d/%d = %d/%d *** MUY BIEN ***" % (
            nums[0], dens[0], nums[1], dens[1], "+" if plus else "-", nums[2], dens[2], result,
            multiple))
        soak.count["right sums"] += 1

    def plus_between(self, left, right):
        """The sign between two numbers: a plus has an upright stroke."""
        start, end = extents(left)[0] + extents(left)[2], extents(right)[0]
        return any(start < extents(n)[0] < end and extents(n)[3] > extents(n)[2]
                   for n in self.area_nodes("filler"))

    def choose(self, table, multiple, first_line):
        """Selects a multiple in a list as a pupil with the keyboard does: a click on its top
        line, Home, then Down to it. (Typing it would not do: "11" typed looks for the next line
        that begins with 1.)"""
        soak = self.soak
        x, y, w, h = soak.node_box(table)
        self.step()
        point = (x + w // 3, y + round(8 * soak.scale))
        soak.refresh()
        self.uncover(point)
        soak.click(point, "pupil", "the top line of a list")
        soak.key(("Home",), "pupil")
        for _ in range(multiple // first_line - 1):
            soak.key(("Down",), "pupil")

    def count_to(self, term, five, minus, target, last=None):
        """Brings a counter button from what it reads to `target` with "+5", "-1" and itself
        (+1), reading it again after the clicks; `last`, when given, is the message box the
        last click opens (the lesson's "Muy bien"), made only once the others show."""
        for _ in range(3):
            now = self.value(term)
            if now == target and not last:
                return
            gap = target - (now or 0)
            fives, ones = divmod(gap, 5) if gap > 0 else (0, gap)
            if ones > 2:
                fives, ones = fives + 1, ones - 5
            presses = [(five, "+5", 5)] * fives + (
                [(term, "the number +1", 1)] * ones if ones > 0 else [(minus, "-1", -1)] * -ones)
            if now is None and gap == 0:  # a blank counts as 0 but is no number yet
                presses = [(term, "the number +1", 1), (minus, "-1", -1)]
            if not presses:
                raise Failure("a counter reads %d before the click that opens '%s'"
                              % (target, last))
            for node, what, _ in presses[:None if not last else -1]:
                self.press(node, what)
            if not last:
                if self.wait(lambda: self.value(term) == target, 2):
                    return
                continue
            node, what, change = presses[-1]
            if self.wait(lambda: (self.value(term) or 0) == target - change, 2):
                return self.box(last, lambda: self.press(node, what))
        raise Failure("a counter reads %s after the clicks that bring it to %d"
                      % (name_of(term), target))

    def green(self, button, what):
        """COMPROBAR clicked until it turns green on the screen."""
        soak = self.soak
        box = soak.node_box(button)
        self.until(lambda: self.press(button, "COMPROBAR"),
                   lambda: face_colour(box, soak.scale) == GREEN,
                   lambda: "COMPROBAR does not turn green for %s (%s)"
                   % (what, face_colour(box, soak.scale)), seconds=3)

    # -- MULTIPLICACIÓN Y DIVISIÓN -------------------------------------------------------

    def right_product(self):
        soak = self.soak
        self.open_section(PRODUCT, lambda: self.blanks(2))
        (n1, n2), (d1, d2) = ([self.value(n) for n in row] for row in self.numbers(4))
        options = {name_of(n): n for n in self.area_nodes("radio button")}
        if self.random.random() < 0.5:
            name = self.random.choice(sorted(options))
            self.until(lambda: self.press(options[name], "the option '%s'" % name),
                       lambda: state_has(options[name], pyatspi.STATE_CHECKED),
                       "the option '%s' is not chosen by its click" % name)
        division = state_has(options["División de fracciones"], pyatspi.STATE_CHECKED)
        rn, rd = (n1 * d2, d1 * n2) if division else (n1 * n2, d1 * d2)
        buttons = self.area_nodes("push button")
        terms = ordered([n for n in buttons if name_of(n) == BLANK], 1)
        for term, target, which in ((terms[0], rn, "numerador"), (terms[1], rd, "denominador")):
            five = next(n for n in buttons if name_of(n) == "Sumar cinco al " + which)
            minus = next(n for n in buttons if name_of(n) == "Restar uno al " + which)
            self.count_to(term, five, minus, target)
        self.green(next(n for n in buttons if name_of(n) == "COMPROBAR"), "the right product")
        soak.expected.append("%d/%d %s %d/%d = %d/%d ** MUY BIEN **" % (
            n1, d1, ":" if division else "X", n2, d2, rn, rd))
        soak.count["right products"] += 1

    # -- the lesson "Suma y resta" -------------------------------------------------------

    def lesson_sum(self):
        """A and B brought to their least common denominator, the result set: "Muy bien"."""
        soak = self.soak

        def dealt():  # A′ and B′ start as copies of A and B
            tops, bottoms = self.numbers(6)
            buttons = ordered([n for n in self.area_nodes("push button")
                               if self.value(n) is not None])
            return len(buttons) >= 2 and [self.value(n) for n in buttons[:2]] == [
                self.value(n) for n in bottoms[:2]]
        self.open_section(SUM_LESSON, dealt)
        tops, bottoms = self.numbers(6)
        a, b = tops[:2]
        plus = self.plus_between(a, b)
        n1, d1, n2, d2 = (self.value(n) for n in (a, bottoms[0], b, bottoms[1]))
        common = math.lcm(d1, d2)
        a2, b2 = ordered([n for n in self.area_nodes("push button")
                          if self.value(n) is not None])[:2]
        for button, d, what in ((a2, d1, "A′'s denominator"), (b2, d2, "B′'s denominator")):
            self.until(lambda: [self.press(button, what) for _ in
                                range((common - (self.value(button) or common)) // d)],
                       lambda: self.value(button) == common,
                       "%s does not reach %d" % (what, common))
        result = n1 * common // d1 + (1 if plus else -1) * n2 * common // d2
        terms = self.wait(lambda: ordered([n for n in self.area_nodes("push button")
                                           if name_of(n) == BLANK], 1))
        if not terms or len(terms) != 2:
            raise Failure("the lesson's result shows no two blank terms")
        counters = self.area_nodes("push button")
        named = lambda text: next(n for n in counters if name_of(n) == text)
        numerator, denominator = terms
        self.count_to(denominator, named("Sumar cinco al denominador del resultado"),
                      named("Restar uno al denominador del resultado"), common)
        soak.count["lesson sums"] += 1
        self.count_to(numerator, named("Sumar cinco al numerador del resultado"),
                      named("Restar uno al numerador del resultado"), result, last="Muy bien")


# ---------------------------------------------------------------------------------------------

def save_failure(soak, folder, message):
    """Keeps what tells the failure again: the screen, the accessibility tree, the last events,
    the program's standard error and the seed."""
    os.makedirs(folder, exist_ok=True)
    try:
        desktop.screen().save(os.path.join(folder, "screen.png"))
    except Exception as error:
        message += "\n(no screenshot: %s)" % error
    with open(os.path.join(folder, "tree.txt"), "w") as out:
        try:
            out.write("X windows: %s\n\n" % soak.windows.read())
            for window in ask(list, soak.app, default=[]) or []:
                write_tree(out, window, 0)
        except Exception as error:
            out.write("(the tree could not be read: %s)\n" % error)
    with open(os.path.join(folder, "events.txt"), "w") as out:
        out.write("\n".join(soak.events) + "\n")
    if getattr(soak, "stderr_path", None) and os.path.exists(soak.stderr_path):
        shutil.copy(soak.stderr_path, os.path.join(folder, "program-stderr.txt"))
    with open(os.path.join(folder, "failure.txt"), "w") as out:
        out.write("seed %d, %s, %s\n%s\n\nreplay: scripts/soak %s %d --size %dx%d --scale %s\n" % (
            soak.seed, soak.args.size, soak.count, message, soak.args.minutes, soak.seed,
            desktop.WIDTH, desktop.HEIGHT, soak.args.scale))


def write_tree(out, node, depth):
    if node is None:
        return
    out.write("%s%s '%s' %s%s\n" % ("  " * depth, ask(node.getRoleName), name_of(node),
                                   extents(node), "" if ask(showing, node) else " (hidden)"))
    for child in ask(list, node, default=[]):
        write_tree(out, child, depth + 1)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("program", help="the program to drive (the sanitizer build)")
    parser.add_argument("minutes", nargs="?", type=float, default=2.0)
    parser.add_argument("seed", nargs="?", type=int)
    parser.add_argument("--size", default="1280x800", help="the screen, WIDTHxHEIGHT")
    parser.add_argument("--scale", type=float, default=1, help="QT_SCALE_FACTOR")
    parser.add_argument("--out", default="build/soak", help="where failures are kept")
    parser.add_argument("--check-every", type=int, default=200, help="events between checks")
    parser.add_argument("--quiet-seed", action="store_true", help="the seed is printed already")
    args = parser.parse_args()
    if args.seed is None:
        args.seed = int(time.time() * 1000) % 1000000000
    if not args.quiet_seed:
        print("soak seed %d" % args.seed, flush=True)
    width, height = (int(v) for v in args.size.lower().split("x"))
    out = os.path.abspath(args.out)
    work = os.path.join(out, "run-%d" % args.seed)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    failed = None
    with desktop.Desktop(args.program, "openbox", size=(width, height), launch=False) as session:
        if not session.ready:
            print("FAILED: the display or the window manager did not start")
            return 1
        soak = Soak(args, session, work)
        soak.home, soak.runtime = os.path.join(work, "home"), os.path.join(work, "runtime")
        os.makedirs(os.path.join(soak.home, "Documents"))
        os.makedirs(soak.runtime, mode=0o700)
        try:
            soak.run(args.minutes * 60)
        except Failure as failure:
            failed = str(failure)
        except Exception:
            failed = "the driver stopped:\n" + traceback.format_exc()
        if failed:
            folder = os.path.join(out, "failure-%d" % args.seed)
            shutil.rmtree(folder, ignore_errors=True)
            save_failure(soak, folder, failed)
    c = soak.count
    print("%d events in %.0fs at %dx%d, scale %s: %s" % (
        c["events"], soak.elapsed(), width, height, args.scale,
        ", ".join("%s %d" % (k, v) for k, v in sorted(c.items()) if k != "events")))
    print("message boxes said: %s" % dict(soak.box_texts))
    print("replay: scripts/soak %s %d --size %dx%d --scale %s" % (
        args.minutes, args.seed, width, height, args.scale))
    print("deep states: %d message boxes, %d history lines at most, %d accepted links, "
          "%d re-deals, %d program starts" % (c["message boxes"], soak.history_lines,
                                               c["accepted links"], c["re-deals"], soak.runs))
    if failed:
        print("FAILED: %s\nkept in %s" % (failed, folder))
        print("0 passed, 1 failed")
        return 1
    shutil.rmtree(work, ignore_errors=True)
    print("1 passed, 0 failed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
