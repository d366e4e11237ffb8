#!/usr/bin/python3
"""What the soak checks from outside every few hundred events, as a pupil would see it go
wrong: the program alive without a sanitizer's report, its modal boxes uncovered with one
button, the exercises' numbers whole, "?" or blank, a menu click answered on the screen within a
second, and every line of the history in one of the exercises' forms."""

import os
import re
import shutil
import time

import desktop
from desktop import (GREEN, HISTORY, SECTIONS, Screen, ask, centre, descendants, extents, name_of,
                     role_of, top_window, wait_for)
from soak_pupil import BLANKS, DEALT, LINE_FORMS, Failure, face_colour


class Checks:
    """The soak's checks (a mixin of `soak.Soak`, whose helpers they use)."""

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
