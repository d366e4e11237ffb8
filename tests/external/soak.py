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
from desktop import (BLANK, GREEN, HISTORY, PAD_YELLOW, RESULTS_PINK, SECTIONS, Screen, ask,
                     centre, descendants, extents, face, inside, name_of, ordered, overlap,
                     role_of, state_has, top_window, wait_for, x_server)

SIMPLIFY, SUM, PRODUCT, PRESENTATION = 4, 5, 6, 7
DEALT = (3, SIMPLIFY, SUM, PRODUCT)  # the sections a menu click deals anew
BLANKS = {BLANK, "múltiplo sin elegir", "denominador común sin elegir", "", "?"}
SANITIZER = re.compile(r"ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY: \w+Sanitizer")
KEYS = [("Tab",), ("Shift_L", "Tab"), ("space",), ("Return",), ("Escape",), ("Left",), ("Right",),
        ("Up",), ("Down",), ("Control_L", "c"), ("Control_L", "s")] + [(str(d),) for d in range(10)]
# The results list's lines: a simplify chain (or its whole number), a sum, a product.
LINE_FORMS = [re.compile(form.replace("#", r"-?\d+")) for form in (
    r"^#/# = (?:(?:#/# = )+(?:# = )?|# = ) \* (MUY BIEN|CON ERRORES) \*$",
    r"^#/# \+ #/# [+-] #/# = #/(?:#)? \*\*\* (MUY BIEN|CON ERRORES) \*\*\*$",
    r"^#/# (?:X|:) #/# = #/# \*\* (MUY BIEN|CON ERRORES) \*\*$")]
PRIMES = (2, 3, 5, 7, 11, 13, 17, 19, 23, 29)  # the primes the simplify exercise divides by


class Failure(Exception):
    """Something a pupil would see go wrong: the soak stops on it."""


class Stale(Exception):
    """What the driver knew of the screen is no longer so: the pupil looks again."""


Done = type("Done", (Exception,), {})  # the pupil leaves the exercise, a message box open
Redealt = type("Redealt", (Exception,), {})  # the pupil dealt the section anew halfway


def face_colour(box, scale):
    """The colour of a button's face just inside its bevel, where all of the ring shows one."""
    pixel = Screen(box)
    colours = {pixel(*p) for p in face(box, round(2 * scale))}
    return colours.pop() if len(colours) == 1 else None


def pad_keys_for(number):
    """The pad's keys that write a whole number after BORRAR: its digits; for a negative one
    "-5" and "-1" down to a small start, then the digits that, each appended as value · 10 +
    digit, reach it (-1, then 4, makes -6)."""
    magnitude, digits = -number, []
    while magnitude > 9:
        digits.insert(0, str(-magnitude % 10))
        magnitude = (magnitude + int(digits[0])) // 10
    return list(str(number)) if number > 0 else [] if number == 0 else (
        ["Restar cinco"] * (magnitude // 5) + ["Restar uno"] * (magnitude % 5) + digits)


class Soak:
    def __init__(self, args, session, work):
        self.args, self.session, self.work, self.scale = args, session, work, args.scale
        self.random, self.x = random.Random(args.seed), x_server()
        self.events, self.count = collections.deque(maxlen=200), collections.Counter()
        self.box_texts, self.start = collections.Counter(), time.time()
        self.runs = self.history_lines = 0
        self.app, self.shown, self.views, self.box_seen = None, [], {}, None
        self.last_title_press, self.next_check = 0.0, args.check_every
        self.redeal_at, self.steps, self.written = None, 0, []

    def note(self, what):
        self.events.append("%7.2fs %s" % (time.time() - self.start, what))

    def log(self, kind, what):
        self.count["events"] += 1
        self.count[kind] += 1
        self.note("#%d %s: %s" % (self.count["events"], kind, what))

    def launch(self):
        """Starts the program with a seed, a home and a standard error of this run's own."""
        self.runs += 1
        seed = random.Random("%d-%d" % (self.args.seed, self.runs)).getrandbits(32)
        self.stderr_path, self.stderr_read = os.path.join(self.work, "stderr-%d" % self.runs), 0
        env = {"RUEDECITAS_SEED": str(seed), "ASAN_OPTIONS": "detect_leaks=0",
               "UBSAN_OPTIONS": "print_stacktrace=1", "HOME": os.path.join(self.work, "home"),
               "XDG_RUNTIME_DIR": os.path.join(self.work, "runtime")}
        if self.scale != 1:
            env["QT_SCALE_FACTOR"] = str(self.scale)
        self.x.kinds.clear()  # a new client may be given the old one's X ids
        with open(self.stderr_path, "w") as stderr:
            self.process, self.app = self.session.launch(env, stderr=stderr)
        self.note("program started (run %d, RUEDECITAS_SEED=%d)" % (self.runs, seed))
        self.section, self.views, self.expected, self.results_id = PRESENTATION, {}, [], None
        if not self.app or not wait_for(lambda: self.refresh() and self.control(
                "main", "PRESENTACIÓN"), 60):
            raise Failure("the program (run %d) shows no menu" % self.runs)
        time.sleep(0.5)

    def alive(self, ended=False):
        """The program still runs (or has ended, when `ended`) and wrote no sanitizer report."""
        with open(self.stderr_path, "rb") as said:
            said.seek(max(0, self.stderr_read - 200))
            text = said.read().decode(errors="replace")
            self.stderr_read = said.tell()
        if SANITIZER.search(text):
            time.sleep(1)  # the report is written in parts
            with open(self.stderr_path, errors="replace") as said:
                raise Failure("the program wrote a sanitizer report:\n" + said.read()[-4000:])
        if not ended and self.process.poll() is not None:
            raise Failure("the program ended by itself (status %s)" % self.process.returncode)

    def refresh(self):
        """The program's windows read again; the lines the pupil expects go with the results
        window once it is closed, a window's controls with the window."""
        self.shown = self.x.windows()
        self.box_seen = self.box_seen if self.win("box") else None
        results = self.win("results")
        if self.results_id and (not results or results.wid != self.results_id) and \
                self.results_id not in self.x.numbers(self.x.root, "_NET_CLIENT_LIST"):
            self.expected, self.results_id = [], None
        self.results_id = self.results_id or (results and results.wid)
        for kind in list(self.views):
            if not self.win(kind) or self.win(kind).wid != self.views[kind][0]:
                del self.views[kind]
        return self.shown

    def win(self, kind):
        return next((w for w in self.shown if w.kind == kind), None)

    def modal(self):
        return self.win("box") or self.win("save")

    def view(self, kind, fresh=False):
        """The controls of a window, read once while the window stays: (role, name, rectangle
        relative to the window, node)."""
        if fresh:
            self.views.pop(kind, None)
        win = self.win(kind)
        if win and kind not in self.views:
            node = top_window(self.app, kind)
            x, y, _, _ = extents(node)
            found = [(r, n, (b[0] - x, b[1] - y, b[2], b[3]), c)
                     for r, n, b, c in desktop.controls(node)] if node else []
            if found:
                self.views[kind] = win.wid, found, (x, y)
        return self.views[kind][1] if win and kind in self.views else []

    def control(self, kind, name, role="push button"):
        return next((c for c in self.view(kind) if c[0] == role and c[1] == name), None)

    def on_screen(self, kind, box):
        """A rectangle relative to a window, in the screen's X pixels (the accessibility tree
        counts in the program's unscaled pixels)."""
        x, y, s = *self.win(kind).box[:2], self.scale
        return (x + round(box[0] * s), y + round(box[1] * s), max(1, round(box[2] * s)),
                max(1, round(box[3] * s)))

    def node_box(self, node, kind="main"):
        x, y, w, h = extents(node)
        if w <= 0 or not self.view(kind):
            raise Stale("a control went from the screen")
        return self.on_screen(kind, (x - self.views[kind][2][0], y - self.views[kind][2][1], w, h))

    def covered(self, point, kind="main"):
        """The window that lies over a point of a window of that kind, or None."""
        win = self.win(kind)
        return next((w for w in self.shown[self.shown.index(win) + 1:] if inside(point, w.frame)),
                    None) if win else None

    def active_kind(self):
        return next((w.kind for w in self.shown if w.wid == self.x.active()), None)

    def click(self, point, kind, what, button=1, settle=0.03):
        self.x.click(point, button)
        self.log(kind, "%s at %d,%d%s" % (what, *point, " (right)" if button == 3 else ""))
        self.x.sync(settle)

    def key(self, keys, kind="key"):
        self.x.key(*keys)
        self.log(kind, "+".join(keys))
        self.x.sync(0.03)

    def drag(self, start, end, kind, what):
        self.x.drag([(start[0] + (end[0] - start[0]) * k // 4,
                      start[1] + (end[1] - start[1]) * k // 4) for k in range(5)])
        self.log(kind, "%s from %d,%d to %d,%d" % (what, *start, *end))
        self.x.sync(0.1)

    def title_bar(self, win):
        """The middle of a window's title bar, or None; never two presses there within half a
        second, which would be a double click and maximise it."""
        if win.box[1] - win.frame[1] < 8:
            return None
        time.sleep(max(0.0, self.last_title_press + 0.6 - time.time()))
        self.last_title_press = time.time()
        return win.frame[0] + win.frame[2] // 2, (win.frame[1] + win.box[1]) // 2

    def anywhere(self):
        return self.random.randrange(desktop.WIDTH), self.random.randrange(desktop.HEIGHT)

    # Random events ----------------------------------------------------------------------------

    def random_event(self):
        choices = {self.random_control: 40, self.random_point: 8, self.random_key: 16,
                   self.random_menu: 9, self.random_drag: 5, self.random_close: 2.8,
                   self.random_save: 6 + 4 * bool(self.win("results")), self.pupil: 4}
        self.random.choices(list(choices), choices.values())[0]()

    def random_control(self):
        """A click inside a control of a window: the main window (not its menu column, which
        has events of its own), the pad, the results, a box, the save dialog, a context menu."""
        weights = {"main": 5, "pad": 3, "results": 2, "box": 4, "save": 2, "menu": 3}
        kinds = [w.kind for w in self.shown if w.kind in weights]
        kind = kinds and self.random.choices(kinds, [weights[k] for k in kinds])[0]
        if kind in ("menu", "save"):
            return self.menu_entry() if kind == "menu" else self.in_save_dialog()
        controls = [c for c in self.view(kind) if c[0] not in ("frame", "filler", "table")
                    and not (kind == "main" and c[1] in SECTIONS + [HISTORY])]
        if not controls:
            return self.random_point()
        role, name, box, _ = self.random.choice(controls)
        x, y, w, h = self.on_screen(kind, box)
        self.click((x + self.random.randint(w // 4, max(w // 4, 3 * w // 4)),
                    y + self.random.randint(h // 4, max(h // 4, 3 * h // 4))), "click",
                   "%s %s '%s'" % (kind, role, name))
        if kind == "results" and role == "table cell" and self.random.random() < 0.3:
            self.key(("Control_L", "c"))

    def random_point(self):
        """A random point of a window of the program, or of the screen; not a title bar's
        buttons (one iconifies) nor the save dialog."""
        windows = [w for w in self.shown if w.kind not in ("save", "menu")]
        x, y, w, h = (self.random.choice(windows).box if windows and self.random.random() < 0.85
                      else (0, 0, desktop.WIDTH, desktop.HEIGHT))
        point = (x + self.random.randrange(max(1, w)), y + self.random.randrange(max(1, h)))
        if not any(inside(point, s.frame) and (s.kind == "save" or not inside(point, s.box))
                   for s in self.shown):
            self.click(point, "point", "random point")

    def random_key(self):
        if self.win("save"):  # Enter there would save: the pupil cancels
            return self.key(("Escape",))
        keys, menu = self.random.choice(KEYS), self.win("menu")
        self.key(keys)
        # Ctrl+S, or Enter and Space on a context menu's "Guardar como…", open the save dialog.
        if keys == ("Control_L", "s") or menu and keys in (("Return",), ("space",)):
            self.wait_for_save()

    def random_menu(self):
        """A menu button: a section, the same section again (a re-deal), or the history."""
        if self.random.random() < 0.12:
            return self.menu(HISTORY)
        again = self.section in DEALT and self.random.random() < 0.3
        self.menu(SECTIONS[self.section if again else self.random.randrange(9)])

    def menu(self, name, kind="menu"):
        """Clicks a button of the menu column. Answers whether the click reached it."""
        node = self.control("main", name)
        if not node:
            return False
        point = centre(self.on_screen("main", node[2]))
        blocked = self.modal() or self.covered(point)
        index = SECTIONS.index(name) if name in SECTIONS else None
        if index == self.section and index in DEALT and not blocked:
            self.count["re-deals"] += 1
        self.click(point, kind, "menu '%s'%s" % (name, " (blocked)" if blocked else ""), 1, 0.06)
        if not blocked and index is not None:
            self.section = index
            self.views.pop("main", None)
        return not blocked

    def random_drag(self):
        """The pad by its background (left of its display), or the results window by its title
        bar, to anywhere."""
        pad, results, s = self.win("pad"), self.win("results"), self.scale
        if pad and (not results or self.random.random() < 0.5):
            self.drag((pad.box[0] + round(8 * s) + self.random.randrange(round(20 * s)),
                       pad.box[1] + round(8 * s) + self.random.randrange(round(15 * s))),
                      self.anywhere(), "drag", "the pad by its background")
        elif results and (start := self.title_bar(results)):
            self.drag(start, self.anywhere(), "drag", "the results window by its title bar")

    def random_close(self):
        """A window closed through the window manager or with Alt+F4; now and then the main
        one, which ends the program, started again."""
        kinds = [w.kind for w in self.shown if w.kind in ("pad", "results", "box", "save")]
        if self.random.random() < 0.1 or kinds:
            self.close("main" if self.random.random() < 0.1 * (1 + 9 * (not kinds)) else
                       self.random.choice(kinds), self.random.choice(["wm", "alt-f4"]))

    def close(self, kind, how, again=True):
        """Closes a window as its close button does ("wm") or with Alt+F4 once it has the
        keyboard; the main window ends the program with status 0, leaving nothing on the
        screen, unless a modal window or a menu keeps it."""
        win, blocked = self.win(kind), self.modal() or self.win("menu")
        if not win:
            return
        if how == "wm":
            self.x.ask_window_manager(win.wid, "_NET_CLOSE_WINDOW", 0, 2)
            self.log("close", "%s closed through the window manager" % kind)
        else:  # the keyboard first: the pad's background, a title bar, or the window manager
            if kind == "pad":
                self.click((win.box[0] + 5, win.box[1] + 5), "click", "the pad's background")
            elif kind != "main" and (point := self.title_bar(win)):
                self.click(point, "click", "the %s's title bar" % kind)
            else:
                self.x.ask_window_manager(win.wid, "_NET_ACTIVE_WINDOW", 2)
            wait_for(lambda: self.refresh() and self.active_kind() == kind, 0.5)
            if self.active_kind() != kind:  # Alt+F4 would close another window
                return self.note("(the %s did not get the keyboard)" % kind)
            self.key(("Alt_L", "F4"), "close")
        self.x.sync(0.2)
        if kind != "main":
            return
        try:
            status = self.process.wait(3 if blocked else 20)
        except Exception:
            if not blocked:
                raise Failure("closing the main window did not end the program")
            return self.count.update(["closes refused under a box"])
        self.alive(ended=True)
        if status != 0:
            raise Failure("the program ended with status %s when its main window closed" % status)
        if not wait_for(lambda: not self.x.windows(), 3):
            raise Failure("after the program ended, its windows stay: %s" % self.x.windows())
        self.count["program ends"] += 1
        if again:
            self.launch()

    def random_save(self):
        """The results list's context menu (the right button), now and then "Guardar como…" in
        it; or Ctrl+S on the results window: the save dialog, cancelled by the next events."""
        table = next((c for c in self.view("results") if c[0] == "table"), None)
        if not table:
            return self.menu(HISTORY)
        if self.random.random() < 0.3 and not self.modal():
            if point := self.title_bar(self.win("results")):
                self.click(point, "click", "the results window's title bar")
            self.key(("Control_L", "s"), "save")
            return self.wait_for_save()
        x, y, w, h = self.on_screen("results", table[2])
        self.click((x + self.random.randrange(w // 8, w - w // 8),
                    y + self.random.randrange(h // 8, h - h // 8)), "context",
                   "the results list", 3, 0.15)
        if self.random.random() < 0.3 and wait_for(lambda: self.refresh() and self.win("menu"),
                                                   0.3):
            self.menu_entry(0.5)

    def menu_entry(self, entry=None):
        """The context menu: "Copiar" in its upper half, "Guardar como…" in its lower half, or
        a click beside it."""
        x, y, w, h = self.win("menu").box
        entry = self.random.random() if entry is None else entry
        if entry < 0.9:
            self.click((x + w // 2, y + h // 4 + h // 2 * (entry >= 0.45)), "context",
                       "menu entry '%s'" % ("Copiar", "Guardar como…")[entry >= 0.45])
            if entry >= 0.45:
                self.wait_for_save()
        else:
            self.click((max(0, x - 20), max(0, y - 20)), "context", "beside the menu")

    def wait_for_save(self):
        if wait_for(lambda: self.refresh() and self.win("save"), 4):
            self.count["save dialogs"] += 1

    def in_save_dialog(self):
        """The save dialog writes and makes folders: only Cancel, Escape and the window's close
        are used on it."""
        choice = self.random.random()
        cancel = choice < 0.4 and (self.control("save", "Cancel")
                                   or self.control("save", "Cancelar"))
        if cancel:
            self.click(centre(self.on_screen("save", cancel[2])), "save", "Cancel")
        elif choice < 0.8:
            self.key(("Escape",), "save")
        else:
            self.close("save", "wm")

    # Checks -------------------------------------------------------------------------------

    def check_box(self, box):
        """A modal window: no window of the program over it, none of the pad's yellow or the
        results window's pink inside it; a message box has one button."""
        def covering():
            self.refresh()
            now = next((w for w in self.shown if w.wid == box.wid), None)
            over = now and [w for w in self.shown[self.shown.index(now) + 1:]
                            if w.kind in ("main", "pad", "results") and overlap(w.frame, now.frame)]
            if over:
                return "%s lies over the %s %s" % (over, now.kind, now.frame)
            pixel = now and Screen(now.box)
            for colour in (PAD_YELLOW, RESULTS_PINK) if now else ():
                if point := pixel.find(colour):
                    return "%s shows inside the %s %s at %s" % (colour, now.kind, now.box, point)
        # a window is stacked and painted a moment after it maps
        if covering() and not wait_for(lambda: not covering(), 3) and (fault := covering()):
            raise Failure("a window covers a modal box: " + fault)
        if box.kind == "box" and box.wid != self.box_seen:
            self.box_seen = box.wid  # X ids are used again: a box is new once none showed
            self.count["message boxes"] += 1
            found = wait_for(lambda: desktop.box_said(self.app), 3)
            if found:
                self.box_texts[found[1]] += 1
                self.note("message box '%s'" % found[1])
                if len(found[2]) != 1:
                    raise Failure("the message box '%s' has %d buttons" % found[1:])

    def put_away_modals(self):
        """Closes what stands in the way, as a pupil would: menus and the save dialog with
        Escape, message boxes with their button or with Enter."""
        for _ in range(6):
            self.refresh()
            if self.win("menu") or self.win("save"):
                self.key(("Escape",), "check")
                self.x.sync(0.2)
                continue
            box = self.win("box")
            if not box:
                return
            self.check_box(box)
            found = desktop.box_said(self.app)
            if found and found[2] and self.view("box") and self.random.random() < 0.7:
                self.click(centre(self.node_box(found[2][0], "box")), "check", "the box's button")
            else:
                self.x.ask_window_manager(box.wid, "_NET_ACTIVE_WINDOW", 2)
                self.x.sync(0.1)
                self.key(("Return",), "check")
            wait_for(lambda: box.wid not in [w.wid for w in self.refresh()], 3)
        raise Failure("the modal windows do not go away: %s" % self.shown)

    def check_round(self):
        """The checks of every few hundred events."""
        self.count["check rounds"] += 1
        self.alive()
        for win in [w for w in self.refresh() if w.kind in ("box", "save")]:
            self.check_box(win)
        self.put_away_modals()
        self.check_numbers()
        self.check_menu_answers()
        self.check_results()

    def check_numbers(self):
        """Every number of an exercise (and of the "Suma y resta" lesson) is a whole number, a
        blank or "?": names that are sentences may hold numbers, each whole. The section is
        the menu's one green button, where all of the column shows."""
        menu = [(c[1], self.on_screen("main", c[2])) for c in self.view("main")
                if c[0] == "push button" and c[1] in SECTIONS]
        if menu and not any(self.covered(centre(box)) for _, box in menu):
            pixel = Screen()
            green = [n for n, (x, y, w, h) in menu
                     if pixel(x + round(4 * self.scale), y + h // 2) == GREEN]
            self.section = SECTIONS.index(green[0]) if len(green) == 1 else self.section
        if self.section not in DEALT:
            return
        for role, name, _, _ in self.area(("label", "push button", "radio button"), True):
            for token in name.replace("=", " ").split() if name not in BLANKS else ():
                if re.search(r"\d|^(nan|inf|infinity)$", token, re.I) and \
                        not re.fullmatch(r"-?\d+", token):
                    raise Failure("the %s '%s' of %s reads a number that is not whole: '%s'"
                                  % (role, name, SECTIONS[self.section], token))
        self.count["numbers checked"] += 1

    def check_menu_answers(self):
        """A click on a menu button turns it green on the screen within a second."""
        free = [c for c in self.view("main") if c[0] == "push button" and c[1] in SECTIONS
                and SECTIONS.index(c[1]) != self.section
                and not self.covered(centre(self.on_screen("main", c[2])))]
        if not free:
            return
        _, name, box, _ = self.random.choice(free)
        box = self.on_screen("main", box)
        green = lambda: face_colour(box, self.scale) == GREEN
        for _ in range(3):
            clicked = time.time()
            self.menu(name, "check")
            if wait_for(green, 1.0):
                return self.count.update(["menu answers"])
            if wait_for(green, 4.0):
                raise Failure("the menu button '%s' turns green %.1fs after its click, not within "
                              "a second" % (name, time.time() - clicked))
            self.count["clicks made again"] += 1  # the click never reached the program
        raise Failure("the menu button '%s' does not turn green after three clicks (its face: %s)"
                      % (name, face_colour(box, self.scale)))

    def check_results(self):
        """Every line of the history has one of its forms; the lines the pupil's right answers
        wrote are there, in order."""
        for _ in range(3):
            if self.refresh() and self.win("results"):
                break
            if not self.menu(HISTORY, "check"):
                return
            if wait_for(lambda: self.refresh() and self.win("results"), 3):
                break
            self.count["clicks made again"] += 1
        else:
            raise Failure("HISTORIAL does not show the results window")
        node = wait_for(lambda: top_window(self.app, "results"), 5)
        lines = [name_of(n) for n in descendants(node) if role_of(n) in ("table cell",
                                                                          "list item")]
        wrong = [line for line in lines if not any(form.match(line) for form in LINE_FORMS)]
        if wrong:
            raise Failure("the history lines %s have none of the four forms" % wrong)
        rest = iter(lines)
        missing = [e for e in self.expected if e not in rest]
        if missing:
            raise Failure("the history lacks the lines %s of right answers (it has %s)"
                          % (missing, lines))
        self.history_lines = max(self.history_lines, len(lines))

    def run(self, seconds):
        self.launch()
        while time.time() - self.start < seconds:
            self.alive()
            for win in [w for w in self.refresh() if w.kind in ("box", "save")]:
                self.check_box(win)
            try:
                self.random_event()
            except Stale as stale:
                self.note("(%s)" % stale)
                self.views.clear()
            if self.count["events"] >= self.next_check:
                self.next_check = self.count["events"] + self.args.check_every
                self.check_round()
        self.check_round()
        self.put_away_modals()
        self.refresh()
        self.close("main", "wm", again=False)
        if self.process.poll() is None:
            raise Failure("the main window closed at the end did not end the program")

    # The pupil who knows the answers ----------------------------------------------------------

    def pupil(self):
        """One exercise as a pupil who knows the answers does it, with the same buttons, lists
        and pad; now and then the section's menu button again halfway."""
        self.put_away_modals()
        self.redeal_at = self.random.randrange(3, 30) if self.random.random() < 0.2 else None
        self.steps, self.written = 0, []
        try:
            self.random.choice([self.simplify_chain, self.simplify_chain, self.right_sum,
                                self.right_product])()
        except Redealt:  # the pad goes, new blanks are dealt
            gone = lambda: not (self.refresh() and self.win("pad"))
            if not wait_for(gone, 3):
                self.until(lambda: self.menu(SECTIONS[self.section], "pupil"), gone,
                           "the number pad stays on the screen across a re-deal", 1, 3, True)
            if self.section == SIMPLIFY and not wait_for(
                    lambda: len(self.parts("label", BLANK)) == 2, 3):
                raise Failure("after a re-deal SIMPLIFICA does not show ?/?")
        except Done:
            pass
        self.count["pupil scenarios"] += 1

    def area(self, roles=None, fresh=False):
        """The controls of the section on the screen (in the largest frame of the main window),
        of those roles."""
        controls = self.view("main", fresh)
        area = max((c[2] for c in controls if c[0] == "frame"), key=lambda b: b[2] * b[3],
                   default=(0, 0, 1e9, 1e9))
        return [c for c in controls if (roles is None or c[0] in roles)
                and inside(c[2][:2], area)]

    def parts(self, role, name=None, fresh=True):
        return [c[3] for c in self.area((role,), fresh) if name in (None, c[1])]

    def named(self, nodes, name):
        return next(n for n in nodes if name_of(n) == name)

    def value(self, node):
        name = name_of(node)
        return int(name) if name and re.fullmatch(r"-?\d+", name) else None

    def press(self, node, what=None, kind="main", point=None):
        """A click in the middle of a control, with nothing over it; now and then, before it,
        a re-deal. A window without the keyboard has a click taken by the window manager
        first, which hands it on: the next click waits for that, as a hand moving between
        windows does."""
        self.steps += 1
        if self.steps == self.redeal_at:
            if not self.refresh() or not self.menu(SECTIONS[self.section], "pupil"):
                raise Stale("the re-deal's menu button was out of reach")
            raise Redealt()
        point = point or centre(self.node_box(node))
        self.refresh()
        self.uncover(point, kind)
        before, switching = self.x.active(), self.active_kind() != kind
        self.click(point, "pupil", what or "'%s'" % name_of(node), settle=0.04)
        if switching:
            wait_for(lambda: self.x.active() != before, 0.5)

    def uncover(self, point, kind="main"):
        """Whatever lies over a point of a window goes out of the way: a menu with Escape, the
        pad dragged to a corner that leaves the point free, the results window below."""
        if self.modal():  # a save dialog that was slow to come, say
            raise Stale("a modal window %s stands in the pupil's way" % self.modal())
        over = self.covered(point, kind)
        if over and over.kind == "menu":
            self.key(("Escape",), "pupil")
        elif over and over.kind == "pad" and kind == "main":
            self.park_pad(point)
        elif over:
            self.x.ask_window_manager(self.win("main").wid, "_NET_ACTIVE_WINDOW", 2)
            self.x.sync(0.2)
        self.refresh()
        if self.covered(point, kind):
            raise Stale("%s stays over the point %s" % (self.covered(point, kind), point))

    def park_pad(self, point):
        """Drags the pad by its background to a corner where it leaves `point` free."""
        x, y, w, h = self.win("pad").box
        corners = [(desktop.WIDTH - w - 4, desktop.HEIGHT - h - 4), (desktop.WIDTH - w - 4, 4),
                   (4, desktop.HEIGHT - h - 4)]
        to = next((c for c in corners if not inside(point, (*c, w, h))), corners[0])
        # The pad's background is bare in a strip along its top edge and one along its bottom
        # edge: grabbed there, on the part of the pad the screen shows.
        edge = round(3 * self.scale)
        grab = (x + max(edge, -x + edge), y + edge if y >= 0 else y + h - edge)
        self.drag(grab, (grab[0] + to[0] - x, grab[1] + to[1] - y), "pupil", "the pad aside")
        self.refresh()

    def until(self, act, condition, fault, tries=3, seconds=2.0, acted=False):
        """Acts (a click) until `condition` holds. Under the window manager a click that comes
        fast after another now and then never reaches the program: a click whose effect does
        not show is made again, and counted."""
        for attempt in range(tries):
            if attempt or acted:
                self.count["clicks made again"] += 1
                self.note("(no effect seen: once more)")
            act()
            if wait_for(condition, seconds):
                return
        raise Failure(fault() if callable(fault) else fault)

    def open_section(self, index, dealt):
        """The section's menu button, until a new deal shows (`dealt`)."""
        self.refresh()
        self.count["re-deals"] += self.section == index

        def click():
            node = self.control("main", SECTIONS[index])
            if not node:
                raise Stale("no menu button %s" % SECTIONS[index])
            point = centre(self.on_screen("main", node[2]))
            self.uncover(point)
            self.click(point, "pupil", "menu '%s'" % SECTIONS[index], settle=0.2)
            self.section = index
            self.views.pop("main", None)
        self.until(click, dealt, "%s shows no new exercise" % SECTIONS[index])

    def box(self, text, click):
        """The message box `click` opens, said `text`; closed with its button now and then,
        otherwise left open for the random events."""
        self.until(click, lambda: self.refresh() and self.win("box"),
                   "no message box '%s' after the click" % text, seconds=3)
        self.check_box(self.win("box"))
        said = wait_for(lambda: desktop.box_said(self.app), 3)
        if not said or said[1] != text:
            raise Failure("the message box says '%s' where '%s' was due" % (said and said[1], text))
        self.count["pupil's boxes"] += 1
        if self.random.random() < 0.5:
            raise Done()
        self.put_away_modals()

    def write(self, label, number):
        """Writes a whole number into a number of the simplify exercise with the pad: a click
        on the number (the pad shows 0), BORRAR, then the keys that make it."""
        def once():
            display = lambda: next((c[3] for c in self.view("pad") if c[0] == "label"), None)
            self.until(lambda: self.press(label, "the number '%s'" % name_of(label)),
                       lambda: self.refresh() and self.win("pad") and name_of(display()) == "0",
                       "a click on the number '%s' does not open the pad" % name_of(label))
            x, y, w, h = self.win("pad").box
            if x < 0 or y < 0 or x + w > desktop.WIDTH or y + h > desktop.HEIGHT:
                self.park_pad(centre(self.node_box(label)))  # dragged half off the screen
            for key in ["BORRAR"] + pad_keys_for(number):
                found = self.control("pad", key)
                if not found:
                    raise Stale("the pad, or its key '%s', went" % key)
                self.press(None, "pad key '%s'" % key, "pad", centre(self.on_screen("pad",
                                                                                    found[2])))
        self.until(once, lambda: name_of(label) == str(number),
                   lambda: "the pad wrote '%s' where %d was typed" % (name_of(label), number))
        self.written = [(n, v) for n, v in self.written if n != label] + [(label, number)]

    def written_still(self):
        """Before a check: the numbers written and not yet locked still read what the pad wrote;
        one a lost click let the pad's keys write into again is written anew."""
        for label, number in list(self.written):
            if state_has(label, pyatspi.STATE_ENABLED) and name_of(label) != str(number):
                self.count["numbers written again"] += 1
                self.write(label, number)

    def simplify_chain(self):
        """Right links to the lowest terms, one prime or several at a time, ending in a whole
        number after x/1; now and then the given fraction rewritten first: n/n, n/0, one that
        cannot be simplified, a large negative numerator, or one past what a double holds."""
        self.open_section(SIMPLIFY, lambda: len(self.parts("label", BLANK)) == 2)
        columns = collections.defaultdict(list)
        for n in self.parts("label", fresh=False):
            if name_of(n) == BLANK or self.value(n) is not None:
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
        elif variant != "dealt":
            num = -self.random.randrange(2, 10 ** (self.random.randrange(2, 13)
                                                   if variant == "negative" else 20))
        if variant != "dealt":
            self.count["given fractions rewritten"] += 1
            self.write(given[0], num)
            self.write(given[1], den)
        check = lambda: self.written_still() or self.press(self.comprobar(0), "COMPROBAR")
        if num == den:
            return self.box("Numerador y denominador han de tener distinto número", check)
        marks = ordered(self.parts("label", BLANK), 1)
        if abs(num) >= 2 ** 53:  # never right, whatever follows it
            self.write(marks[0], 1)
            self.write(marks[1], 2)
            check()
            time.sleep(1)
            self.put_away_modals()
            if not state_has(self.comprobar(0), pyatspi.STATE_ENABLED):
                raise Failure("a link from %d/%d, past what a double holds, was accepted"
                              % (num, den))
            return
        if not self.simplifiable(num, den):
            self.write(marks[0], num)
            return self.box("Esta fracción no se puede simplificar", check)
        chain = [(num, den)]
        while True:
            (n, d), marks = chain[-1], self.parts("label", BLANK)
            if d == 1:  # a whole number after x/1
                if not marks:
                    raise Failure("no blank for the whole number after %d/1" % n)
                self.write(marks[0], n)
                return self.accept(chain, whole=True)
            g = math.gcd(n, d)
            step = g if self.random.random() < 0.5 or len(chain) > 3 else \
                self.random.choice([p for p in PRIMES if g % p == 0])
            chain.append((n // step, d // step))
            if len(marks) < 2:
                raise Failure("no ?/? to write %d/%d into" % chain[-1])
            marks = ordered(marks, 1)
            self.write(marks[0], chain[-1][0])
            self.write(marks[1], chain[-1][1])
            final = not self.simplifiable(*chain[-1])
            self.accept(chain, whole=False, final=final)
            if final:
                return

    def simplifiable(self, n, d):
        return d == 1 or d != 0 and any(n % p == 0 and d % p == 0 for p in PRIMES)

    def comprobar(self, k):
        buttons = ordered(self.parts("push button", "COMPROBAR"))
        if k >= len(buttons):
            raise Failure("no COMPROBAR for link %d (%d shown)" % (k + 1, len(buttons)))
        return buttons[k]

    def accept(self, chain, whole, final=False):
        """COMPROBAR of the chain's last link, right: the button is locked; the chain's line
        is due in the history when it ends."""
        button = self.comprobar(len(chain) - (1 if whole else 2))
        self.until(lambda: self.written_still() or self.press(button, "COMPROBAR"),
                   lambda: not state_has(button, pyatspi.STATE_ENABLED),
                   "the right link %s was not accepted" % " = ".join(
                       "%d/%d" % f for f in chain[-2:]) + (" = %d" % chain[-1][0] if whole else ""))
        self.count["accepted links"] += 1
        if whole or final:
            self.expected.append("".join("%d/%d = " % f for f in chain)
                                 + ("%d = " % chain[-1][0] if whole else "") + " * MUY BIEN *")
            self.count["right chains"] += 1

    def numbers(self, count):
        """The numbers of the section as labels: (top row, the rest), each left to right."""
        labels = [n for n in self.parts("label") if self.value(n) is not None]
        if len(labels) < count:
            raise Stale("%d numbers show where %d were due" % (len(labels), count))
        top = min(extents(n)[1] for n in labels)
        return (ordered([n for n in labels if extents(n)[1] == top]),
                ordered([n for n in labels if extents(n)[1] != top]))

    def plus_between(self, left, right):
        """The sign between two numbers: a plus has an upright stroke."""
        start, end = extents(left)[0] + extents(left)[2], extents(right)[0]
        return any(start < b[0] < end and b[3] > b[2]
                   for b in map(extents, self.parts("filler", fresh=False)))

    def right_sum(self):
        """SUMA Y RESTA: a common denominator chosen in the lists, the numerators and the
        result counted up, COMPROBAR green."""
        for _ in range(4):  # an exercise whose numbers the counters reach in a few clicks
            self.open_section(SUM, lambda: len(self.parts("push button", BLANK)) == 4)
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
        lists = ordered(self.parts("table", "Múltiplos del denominador"))
        self.until(lambda: [self.choose(table, multiple, d) for table, d in zip(lists, dens)],
                   lambda: len(self.parts("label", str(multiple))) >= 4,
                   "the common denominator %d does not show under the numerators" % multiple)
        counters = self.parts("push button")
        values = ordered([n for n in counters if name_of(n) == BLANK])
        for i, target in enumerate(terms + [result]):
            which = ["al primer numerador", "al segundo numerador", "al tercer numerador",
                     "al numerador del resultado"][i]
            self.count_to(values[i], self.named(counters, "Sumar cinco " + which),
                          self.named(counters, "Restar uno " + which), target)
        self.green("the right sum")
        self.expected.append("%d/%d + %d/%d %s %d/%d = %d/%d *** MUY BIEN ***" % (
            nums[0], dens[0], nums[1], dens[1], "+" if plus else "-", nums[2], dens[2], result,
            multiple))
        self.count["right sums"] += 1

    def choose(self, table, multiple, first_line):
        """Selects a multiple in a list as a pupil with the keyboard does: a click on its top
        line, Home, then Down to it. (Typing "11" would look for the next line with 1.)"""
        x, y, w, h = self.node_box(table)
        self.press(table, "the top line of a list", point=(x + w // 3, y + round(8 * self.scale)))
        for key in ["Home"] + ["Down"] * (multiple // first_line - 1):
            self.key((key,), "pupil")

    def count_to(self, term, five, minus, target):
        """Brings a counter button to `target` with "+5", "-1" and itself (+1), reading it again
        after the clicks."""
        for _ in range(3):
            now = self.value(term)
            if now == target:
                return
            gap = target - (now or 0)
            fives, ones = divmod(gap, 5) if gap > 0 else (0, gap)
            if ones > 2:
                fives, ones = fives + 1, ones - 5
            presses = [(five, "+5", 5)] * fives + ([(term, "the number +1", 1)] * ones
                                                   if ones > 0 else [(minus, "-1", -1)] * -ones)
            if now is None and gap == 0:  # a blank counts as 0 but is no number yet
                presses = [(term, "the number +1", 1), (minus, "-1", -1)]
            for node, what, _ in presses:
                self.press(node, what)
            if wait_for(lambda: self.value(term) == target, 2):
                return
        raise Failure("a counter reads %s after the clicks that bring it to %d"
                      % (name_of(term), target))

    def green(self, what):
        """COMPROBAR clicked until it turns green on the screen."""
        button = wait_for(lambda: next(iter(self.parts("push button", "COMPROBAR")), None), 3)
        if not button:
            raise Failure("COMPROBAR does not show for %s" % what)
        box = self.node_box(button)
        self.until(lambda: self.press(button, "COMPROBAR"),
                   lambda: face_colour(box, self.scale) == GREEN,
                   lambda: "COMPROBAR does not turn green for %s (%s)"
                   % (what, face_colour(box, self.scale)), seconds=3)

    def right_product(self):
        """MULTIPLICACIÓN Y DIVISIÓN, now and then the other option first: the result counted
        up, COMPROBAR green."""
        self.open_section(PRODUCT, lambda: len(self.parts("push button", BLANK)) == 2)
        (n1, n2), (d1, d2) = ([self.value(n) for n in row] for row in self.numbers(4))
        options = {name_of(n): n for n in self.parts("radio button", fresh=False)}
        if self.random.random() < 0.5:
            name = self.random.choice(sorted(options))
            self.until(lambda: self.press(options[name], "the option '%s'" % name),
                       lambda: state_has(options[name], pyatspi.STATE_CHECKED),
                       "the option '%s' is not chosen by its click" % name)
        division = state_has(options["División de fracciones"], pyatspi.STATE_CHECKED)
        rn, rd = (n1 * d2, d1 * n2) if division else (n1 * n2, d1 * d2)
        buttons = self.parts("push button")
        terms = ordered([n for n in buttons if name_of(n) == BLANK], 1)
        for term, target, which in ((terms[0], rn, "numerador"), (terms[1], rd, "denominador")):
            self.count_to(term, self.named(buttons, "Sumar cinco al " + which),
                          self.named(buttons, "Restar uno al " + which), target)
        self.green("the right product")
        self.expected.append("%d/%d %s %d/%d = %d/%d ** MUY BIEN **" % (
            n1, d1, ":" if division else "X", n2, d2, rn, rd))
        self.count["right products"] += 1


def save_failure(soak, folder, message):
    """Keeps what tells the failure again: the screen, the accessibility tree, the last events,
    the program's standard error and the seed."""
    os.makedirs(folder, exist_ok=True)
    try:
        Screen().save(os.path.join(folder, "screen.png"))
    except Exception as error:
        message += "\n(no screenshot: %s)" % error

    def write_tree(out, node, depth):
        out.write("%s%s '%s' %s%s\n" % ("  " * depth, role_of(node), name_of(node), extents(node),
                                       "" if desktop.showing(node) else " (hidden)"))
        for child in ask(list, node, default=[]):
            if child is not None:
                write_tree(out, child, depth + 1)
    with open(os.path.join(folder, "tree.txt"), "w") as out:
        try:
            out.write("X windows: %s\n\n" % soak.x.windows())
            for window in ask(list, soak.app, default=[]):
                if window is not None:
                    write_tree(out, window, 0)
        except Exception as error:
            out.write("(the tree could not be read: %s)\n" % error)
    with open(os.path.join(folder, "events.txt"), "w") as out:
        out.write("\n".join(soak.events) + "\n")
    if os.path.exists(getattr(soak, "stderr_path", "")):
        shutil.copy(soak.stderr_path, os.path.join(folder, "program-stderr.txt"))
    with open(os.path.join(folder, "failure.txt"), "w") as out:
        out.write("seed %d, %s\n%s\n\nreplay: %s\n" % (soak.args.seed, soak.count, message,
                                                       replay(soak.args)))


def replay(args):
    return "scripts/soak %s %d --size %s --scale %s" % (args.minutes, args.seed, args.size,
                                                        args.scale)


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
    out = os.path.abspath(args.out)
    work, folder = (os.path.join(out, "%s-%d" % (w, args.seed)) for w in ("run", "failure"))
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(os.path.join(work, "home", "Documents"))
    os.makedirs(os.path.join(work, "runtime"), mode=0o700)
    failed = None
    with desktop.Desktop(args.program, "openbox",
                         size=tuple(int(v) for v in args.size.lower().split("x"))) as session:
        if not session.ready:
            print("FAILED: the display or the window manager did not start")
            return 1
        soak = Soak(args, session, work)
        try:
            soak.run(args.minutes * 60)
        except Failure as failure:
            failed = str(failure)
        except Exception:
            failed = "the driver stopped:\n" + traceback.format_exc()
        if failed:
            shutil.rmtree(folder, ignore_errors=True)
            save_failure(soak, folder, failed)
    c = soak.count
    print("%d events in %.0fs at %s, scale %s: %s" % (
        c["events"], time.time() - soak.start, args.size, args.scale,
        ", ".join("%s %d" % kv for kv in sorted(c.items()) if kv[0] != "events")))
    print("message boxes said: %s\nreplay: %s" % (dict(soak.box_texts), replay(args)))
    print("deep states: %d message boxes, %d history lines at most, %d accepted links, "
          "%d re-deals, %d program starts" % (c["message boxes"], soak.history_lines,
                                               c["accepted links"], c["re-deals"], soak.runs))
    if failed:
        print("FAILED: %s\nkept in %s\n0 passed, 1 failed" % (failed, folder))
        return 1
    shutil.rmtree(work, ignore_errors=True)
    print("1 passed, 0 failed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
