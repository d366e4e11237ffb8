#!/usr/bin/python3
"""A pupil's clicks timed from outside, the real program beside the floor on Xvfb, in
interleaved rounds: from the press until a small watched rectangle of the screen changes, as
`clicklat` measures it (a large screen grab would time itself, not the program).

Each round starts the floor's bare click (`floor --area 1150x670`: one fill and one flush of a
plain child the size of the section area) and then the program afresh, and times:
- switch: Amplificar and Simplificar in turn, the first switch after start-up included,
  watching a corner of the fraction panel, which the two sections place differently;
- plus: the numerator's "+" and "--" of "Representación gráfica" in turn (1/2 and 2/2), watching
  the lower half of the circle;
- comprobar: COMPROBAR of MULTIPLICACIÓN Y DIVISIÓN and the numerator's button in turn, watching
  the denominator's button, which each of the two recolours.

The places are read once from the accessibility tree; the rounds run the program as a pupil
without a screen reader runs it (Qt's accessibility bridge off), and, with --screen-reader, with
the bridge on.

With --before OTHER, another build of the program is timed in the same rounds, after this one,
and its medians printed beside (a change measured before and after in one run).

Usage: dbus-run-session -- clicks.py PROGRAM FLOOR CLICKLAT [ROUNDS] [--screen WxH@S]
       [--screen-reader] [--before OTHER]
Without --screen, 1280x800 at scale 1 and 3840x2160 at scale 2, each in a process of its own."""

import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "external"))
import desktop  # noqa: E402
from desktop import descendants, extents, name_of, role_of, showing, top_window  # noqa: E402
from desktop import wait_for  # noqa: E402

CLICKS = 6  # a round's clicks of each kind: ten rounds make sixty
FRAME_60, FRAME_120 = 1000 / 60, 1000 / 120
KINDS = ("floor", "switch", "plus", "comprobar")
PROGRAM_KINDS = KINDS[1:]


def clicklat(tool, watch, points):
    """Each click's time in ms (2000 where the watched pixels never changed)."""
    out = subprocess.run([tool, str(CLICKS), *map(str, watch),
                          *[str(v) for p in points for v in p]],
                         capture_output=True, text=True, check=True).stdout
    return [float(t) for t in out.split("\n")[0].split()]


def middle(box):
    return box[0] + box[2] // 2, box[1] + box[3] // 2


class Places:
    """Where to click and what to watch, in device pixels, read from the accessibility tree of
    one run of the program."""

    def __init__(self, session, scale):
        self.scale = scale
        process, self.app = session.launch(env={"QT_SCALE_FACTOR": str(scale)})
        try:
            self.read()
        finally:
            process.kill()
            process.wait()

    def device(self, box):
        return tuple(round(v * self.scale) for v in box)

    def nodes(self):
        return [n for n in descendants(top_window(self.app, "main")) if showing(n)]

    def button(self, name):
        found = wait_for(lambda: next((n for n in self.nodes() if role_of(n) == "push button"
                                       and name_of(n) == name), None), 10)
        if found is None:
            raise RuntimeError("no button named %r" % name)
        return self.device(extents(found))

    def go(self, name):
        desktop.x_server().click(middle(self.button(name)))
        time.sleep(1.0)

    def read(self):
        s = self.scale
        self.sections = {n: middle(self.button(n)) for n in
                         ("Amplificar", "Simplificar", "Representación gráfica",
                          "MULTIPLICACIÓN Y DIVISIÓN")}
        # The fraction panel's left border: Amplificar's stands further left than Simplificar's.
        self.go("Amplificar")
        panel = self.button("Multiplicar por 1")
        self.switch_watch = (panel[0] - round(36 * s), panel[1] + round(100 * s),
                             round(40 * s), round(10 * s))
        self.go("Representación gráfica")
        self.plus = [middle(self.button("Sumar uno al numerador")),
                     middle(self.button("Restar uno al numerador"))]
        picture = self.device(extents(wait_for(lambda: next(
            (n for n in self.nodes() if name_of(n) == "Dibujo de la fracción"), None),
            10)))
        self.plus_watch = (picture[0] + picture[2] // 2 - round(20 * s),
                           picture[1] + picture[3] * 3 // 4, round(40 * s), round(10 * s))
        self.go("MULTIPLICACIÓN Y DIVISIÓN")
        blanks = sorted((self.device(extents(n)) for n in self.nodes()
                         if role_of(n) == "push button" and name_of(n) == desktop.BLANK),
                        key=lambda box: box[1])
        numerator, denominator = blanks[0], blanks[1]
        self.comprobar = [middle(self.button("COMPROBAR")), middle(numerator)]
        self.comprobar_watch = (denominator[0] + round(4 * s), denominator[1] + round(4 * s),
                                round(40 * s), round(10 * s))


def floor_round(session, places, program_env, floor, tool):
    s = places.scale
    process = session.start([floor, "--area", "1150x670"],
                            env=dict(session.env(QT_SCALE_FACTOR=str(s)), **program_env))
    time.sleep(1.5)
    try:
        return clicklat(tool, (round(300 * s), round(100 * s), round(40 * s), round(10 * s)),
                        [(round(80 * s), round(20 * s))])
    finally:
        process.kill()
        process.wait()


def program_round(session, places, program_env, program, tool):
    s = places.scale
    times = {}
    process = session.start([program], env=dict(session.env(QT_SCALE_FACTOR=str(s)),
                                                **program_env))
    try:
        time.sleep(2.0)
        times["switch"] = clicklat(tool, places.switch_watch,
                                   [places.sections["Amplificar"],
                                    places.sections["Simplificar"]])
        desktop.x_server().click(places.sections["Representación gráfica"])
        time.sleep(0.5)
        times["plus"] = clicklat(tool, places.plus_watch, places.plus)
        desktop.x_server().click(places.sections["MULTIPLICACIÓN Y DIVISIÓN"])
        time.sleep(0.5)
        times["comprobar"] = clicklat(tool, places.comprobar_watch, places.comprobar)
    finally:
        process.kill()
        process.wait()
    return times


def one_screen(program, floor, tool, rounds, size, scale, screen_reader, before=None):
    program_env = {} if screen_reader else {"QT_ACCESSIBILITY": "0",
                                            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "0"}
    builds = {"": program} if not before else {"": program, "before ": before}
    every = {(b, kind): [] for b in builds for kind in KINDS}
    medians = {(b, kind): [] for b in builds for kind in KINDS}

    def note(b, kind, times):
        every[(b, kind)] += times
        medians[(b, kind)].append(statistics.median(times))

    with desktop.Desktop(program, size=size) as session:
        places = Places(session, scale)
        for r in range(rounds):
            floor_times = floor_round(session, places, program_env, floor, tool)
            for b, build in builds.items():
                note(b, "floor", floor_times)
                for kind, times in program_round(session, places, program_env, build,
                                                 tool).items():
                    note(b, kind, times)
            print("round %2d: %s" % (r + 1, "  ".join(
                "%s%s %.2f" % (b, k, medians[(b, k)][-1]) for b in builds for k in KINDS
                if b == "" or k != "floor")), flush=True)
    floor_ms = statistics.median(medians[("", "floor")])
    print("\n%dx%d at scale %g%s, %d rounds of %d clicks; medians of the rounds' medians"
          % (size[0], size[1], scale, ", screen reader on" if screen_reader else "", rounds,
             CLICKS))
    print("  %-17s %8s %9s %16s %9s %9s" % ("click", "ms", "x floor", "rounds x floor",
                                             "> 16.7ms", "> 8.3ms"))
    for b in builds:
        for kind in KINDS if b == "" else PROGRAM_KINDS:
            values, ratios = medians[(b, kind)], [
                v / f for v, f in zip(medians[(b, kind)], medians[("", "floor")])]
            times = every[(b, kind)]
            print("  %-17s %8.2f %9.2f %7.2f to %5.2f %5d/%-3d %5d/%-3d"
                  % (b + kind, statistics.median(values), statistics.median(values) / floor_ms,
                     min(ratios), max(ratios), sum(t > FRAME_60 for t in times), len(times),
                     sum(t > FRAME_120 for t in times), len(times)))
        firsts = every[(b, "switch")][::CLICKS]
        print("  %sfirst switch after start-up: median %.2f ms, at most %.2f ms"
              % (b, statistics.median(firsts), max(firsts)))


def main():
    program, floor, tool = sys.argv[1:4]
    rest = sys.argv[4:]
    rounds = int(rest[0]) if rest and rest[0].isdigit() else 10
    screen_reader = "--screen-reader" in rest
    before = rest[rest.index("--before") + 1] if "--before" in rest else None
    if "--screen" in rest:
        wh, scale = rest[rest.index("--screen") + 1].split("@")
        one_screen(program, floor, tool, rounds, tuple(map(int, wh.split("x"))), float(scale),
                   screen_reader, before)
        return 0
    failed = 0
    for screen in ("1280x800@1", "3840x2160@2"):
        failed |= subprocess.run([sys.executable, __file__, program, floor, tool, str(rounds),
                                  "--screen", screen]
                                 + (["--screen-reader"] if screen_reader else [])
                                 + (["--before", before] if before else [])).returncode
    return failed


if __name__ == "__main__":
    sys.exit(main())
