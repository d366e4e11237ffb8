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
import os
import random
import shutil
import sys
import time
import traceback

import desktop
from desktop import (HISTORY, PAD_YELLOW, RESULTS_PINK, SECTIONS, Screen, centre, extents, inside,
                     overlap, top_window, wait_for, x_server)
from soak_checks import Checks, replay, save_failure
from soak_pupil import DEALT, KEYS, PRESENTATION, SANITIZER, Failure, Pupil, Stale


class Soak(Checks, Pupil):
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
