#!/usr/bin/python3
"""The soak's pupil who knows the answers: with the same buttons, lists and pad as any pupil, a
right simplify chain (now and then with the given fraction rewritten first), a right sum and a
right product, and now and then the section's menu button again halfway; the soak's shared
names and faults."""

import collections
import math
import re
import time

import pyatspi

import desktop
from desktop import (BLANK, GREEN, SECTIONS, Screen, centre, extents, face, inside, name_of,
                     ordered, state_has, wait_for)

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


class Pupil:
    """The pupil's part of the soak (a mixin of `soak.Soak`, whose helpers it uses)."""

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
