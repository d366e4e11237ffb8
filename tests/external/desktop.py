"""The real program on a real X display (Xvfb), with or without a window manager: the display and
the program started and ended, the X server read through Xlib (windows and pixels) and fed real
pointer and key events through XTest, the accessibility tree read as a screen reader reads it."""

import ctypes
import os
import signal
import struct
import subprocess
import time
import zlib

import pyatspi

WIDTH, HEIGHT = 1280, 800
GREEN, WHITE, BLUE, RED, BLACK = (0, 255, 0), (255, 255, 255), (0, 0, 255), (255, 0, 0), (0, 0, 0)
NEAR_WHITE = (250, 250, 250)
PAD_YELLOW = (255, 255, 192)  # the number pad's background
RESULTS_PINK = (255, 128, 255)  # the results window's background
PAD, RESULTS, SAVE, MAIN_TITLE = ("Teclado de números", "TUS RESULTADOS", "Guardar el historial",
                                  "Ruedecitas 1.1 - ")
BLANK = "número sin escribir"  # a number the pupil has still to write, shown as "?"
# The menu column: the sections in the order of their index, then the history.
SECTIONS = ["Representación gráfica", "Amplificar", "Simplificar", "Suma y resta", "SIMPLIFICA",
            "SUMA Y RESTA", "MULTIPLICACIÓN Y DIVISIÓN", "PRESENTACIÓN", "Inicio"]
HISTORY = "HISTORIAL"
START = time.time()
passed, failed = 0, 0


def check(condition, what):
    """One check, printed and counted."""
    global passed, failed
    passed, failed = passed + bool(condition), failed + (not condition)
    print("ok    " if condition else "FAILED", "%5.1fs %s" % (time.time() - START, what))
    return condition


def wait_for(predicate, seconds=15.0):
    """What `predicate` answers once it is true, or None after `seconds`."""
    end = time.time() + seconds
    while not (value := predicate()) and time.time() < end:
        time.sleep(0.1)
    return value or None


def overlap(a, b):
    """The rectangle (x, y, w, h) two rectangles share, or None."""
    x, y = max(a[0], b[0]), max(a[1], b[1])
    w, h = min(a[0] + a[2], b[0] + b[2]) - x, min(a[1] + a[3], b[1] + b[3]) - y
    return (x, y, w, h) if w > 0 and h > 0 else None


def inside(point, box):
    return box[0] <= point[0] < box[0] + box[2] and box[1] <= point[1] < box[1] + box[3]


def centre(box):
    return box[0] + box[2] // 2, box[1] + box[3] // 2


def face(box, inset=2):
    """The points of a button's face just inside its two-pixel bevel: a ring `inset` pixels in,
    outside the keyboard's dotted mark (3 pixels in) and the caption in the middle."""
    x, y, w, h = box
    return ([(i, j) for i in range(x + inset, x + w - inset) for j in (y + inset, y + h - 1 - inset)]
            + [(i, j) for j in range(y + inset, y + h - inset) for i in (x + inset, x + w - 1 - inset)])


class Desktop:
    """Xvfb, a window manager on it when asked, the accessibility bus and the program, each ended
    (by its own process id) when the `with` block ends."""

    def __init__(self, program, wm=None, size=None):
        global WIDTH, HEIGHT
        self.program, self.wm, self.processes = os.path.abspath(program), wm, []
        WIDTH, HEIGHT = size or (WIDTH, HEIGHT)

    def start(self, command, group=False, **options):
        process = subprocess.Popen(command, start_new_session=group, **options)
        self.processes.append((process, group))
        return process

    def __enter__(self):
        try:
            # Xvfb takes a display number no other server has and says which once it is ready.
            readable, writable = os.pipe()
            self.start(["Xvfb", "-displayfd", str(writable), "-screen", "0",
                        "%dx%dx24" % (WIDTH, HEIGHT), "-nolisten", "tcp", "-noreset"],
                       pass_fds=(writable,))
            os.close(writable)
            with os.fdopen(readable) as said:
                display = said.readline().strip()
            os.environ["DISPLAY"] = ":" + display
            self.ready = check(display and x_server(), "Xvfb starts (display :%s)" % display)
            if self.ready and self.wm:
                self.start([self.wm], group=True)
                # A window manager announces itself on the root window once it manages windows.
                self.ready = check(wait_for(lambda: xlib.numbers(xlib.root,
                                                                 "_NET_SUPPORTING_WM_CHECK"), 20),
                                   "%s manages the display's windows" % self.wm)
            if self.ready:
                self.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                           env=self.env(), group=True)
                time.sleep(0.5)
            return self
        except BaseException:
            self.__exit__()
            raise

    def env(self, **more):
        return dict(os.environ, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1",
                    QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", **more)

    def launch(self, env=None, args=(), **options):
        """Starts the program with `args`, with `env` added to its environment; answers its
        process and its application in the accessibility tree (None where it does not appear
        within a minute)."""
        process = self.start([self.program, *args], env=self.env(**(env or {})), **options)
        app = wait_for(lambda: next((a for a in ask(list, pyatspi.Registry.getDesktop(0),
                                                    default=[])
                                     if a is not None and ask(a.get_process_id) == process.pid),
                                    None), 60)
        return process, app

    def __exit__(self, *error):
        # The program first, the display last: Xvfb, terminated, removes its lock and socket.
        for process, group in reversed(self.processes):
            if process.poll() is None:
                if group:
                    os.killpg(process.pid, signal.SIGKILL)
                elif process.args[0] == "Xvfb":
                    process.terminate()
                else:
                    process.kill()
                process.wait()


# ---------------------------------------------------------------------------------------------
# Xlib and XTest through ctypes.

def struct_of(*fields):
    kind = {"i": ctypes.c_int, "l": ctypes.c_long, "u": ctypes.c_ulong, "p": ctypes.c_void_p}
    return type("XStruct", (ctypes.Structure,), {"_fields_": [
        (name, kind[k[0]] * int(k[1:]) if len(k) > 1 else kind[k]) for name, k in
        (f.split(":") for f in fields)]})


# The heads of Xlib's XImage and XWindowAttributes, as far as needed, and a client message with
# 32-bit data, padded to the size of any XEvent.
XImage = struct_of("width:i", "height:i", "xoffset:i", "format:i", "data:p", "byte_order:i",
                   "unit:i", "bit_order:i", "pad:i", "depth:i", "bytes_per_line:i",
                   "bits_per_pixel:i", "red_mask:u", "green_mask:u", "blue_mask:u")
XWindowAttributes = struct_of("x:i", "y:i", "width:i", "height:i", "border:i", "depth:i",
                              "visual:p", "root:u", "class_:i", "bit_gravity:i", "win_gravity:i",
                              "backing_store:i", "planes:u", "pixel:u", "save_under:i",
                              "colormap:u", "installed:i", "map_state:i", "all_masks:l",
                              "your_mask:l", "no_propagate:l", "override_redirect:i",
                              "screen:p", "room:l8")
XClientMessage = struct_of("type:i", "serial:u", "send_event:i", "display:p", "window:u",
                           "message_type:u", "format:i", "data:l5", "pad:l24")
# Xlib's default error handler ends the process: a window that goes while it is being asked
# about (a message box closing) is an everyday answer here.
X_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
ignore_x_error = X_ERROR_HANDLER(lambda display, event: 0)


class XWin:
    """One of the program's windows that shows: its kind (main, pad, results, box, save, menu,
    other), X id, client rectangle, the rectangle of the frame around it, and title."""

    def __init__(self, kind, wid, box, frame, title):
        self.kind, self.wid, self.box, self.frame, self.title = kind, wid, box, frame, title

    def __repr__(self):
        return "%s %s at %s" % (self.kind, hex(self.wid), self.box)


class Xlib:
    """One connection to the display: the windows, the pixels and the pupil's hand."""

    def __init__(self):
        u, i, p, P = ctypes.c_ulong, ctypes.c_int, ctypes.c_void_p, ctypes.POINTER
        lib, test = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXtst.so.6")
        for f, result, args in [
                ("XOpenDisplay", p, [ctypes.c_char_p]), ("XDefaultRootWindow", u, [p]),
                ("XGetImage", P(XImage), [p, u, i, i, ctypes.c_uint, ctypes.c_uint, u, i]),
                ("XDestroyImage", i, [P(XImage)]), ("XSetErrorHandler", p, [X_ERROR_HANDLER]),
                ("XInternAtom", u, [p, ctypes.c_char_p, i]),
                ("XGetWindowProperty", i, [p, u, u, ctypes.c_long, ctypes.c_long, i, u, P(u),
                                           P(i), P(u), P(u), P(p)]),
                ("XFree", i, [p]), ("XQueryTree", i, [p, u, P(u), P(u), P(P(u)), P(ctypes.c_uint)]),
                ("XGetWindowAttributes", i, [p, u, P(XWindowAttributes)]),
                ("XTranslateCoordinates", i, [p, u, u, i, i, P(i), P(i), P(u)]),
                ("XSendEvent", i, [p, u, i, ctypes.c_long, p]),
                ("XStringToKeysym", u, [ctypes.c_char_p]),
                ("XKeysymToKeycode", ctypes.c_ubyte, [p, u]), ("XSync", i, [p, i]),
                ("XFlush", i, [p])]:
            getattr(lib, f).restype, getattr(lib, f).argtypes = result, args
        test.XTestFakeMotionEvent.argtypes = [p, i, i, i, u]
        test.XTestFakeButtonEvent.argtypes = test.XTestFakeKeyEvent.argtypes = [p, ctypes.c_uint,
                                                                                i, u]
        self.lib, self.test, self.atoms, self.kinds = lib, test, {}, {}
        lib.XSetErrorHandler(ignore_x_error)
        self.display = lib.XOpenDisplay(os.environ["DISPLAY"].encode())
        if not self.display:
            raise RuntimeError("cannot open the display %s" % os.environ["DISPLAY"])
        self.root = lib.XDefaultRootWindow(self.display)

    def atom(self, name):
        if name not in self.atoms:
            self.atoms[name] = self.lib.XInternAtom(self.display, name.encode(), 0)
        return self.atoms[name]

    def property(self, window, name):
        """A window's property: a list of numbers for 32-bit items, bytes for 8-bit ones, None
        where the window or the property is not there."""
        kind, bits, count, after, data = (ctypes.c_ulong(), ctypes.c_int(), ctypes.c_ulong(),
                                          ctypes.c_ulong(), ctypes.c_void_p())
        if self.lib.XGetWindowProperty(self.display, window, self.atom(name), 0, 1024, 0, 0,
                                       *map(ctypes.byref, (kind, bits, count, after, data))) \
                or not data.value:
            return None
        try:
            if bits.value == 32:  # Xlib hands 32-bit items as longs
                return list((ctypes.c_ulong * count.value).from_address(data.value))
            return ctypes.string_at(data.value, count.value * bits.value // 8)
        finally:
            self.lib.XFree(data)

    def numbers(self, window, name):
        found = self.property(window, name)
        return found if isinstance(found, list) else []

    def text(self, window, name):
        found = self.property(window, name)
        return found.decode("utf-8", "replace") if isinstance(found, bytes) else ""

    def children(self, window):
        """A window's children, bottom of the stack first."""
        root, parent, children, count = (ctypes.c_ulong(), ctypes.c_ulong(),
                                         ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint())
        if not self.lib.XQueryTree(self.display, window, *map(ctypes.byref, (root, parent,
                                                                            children, count))):
            return []
        try:
            return [children[k] for k in range(count.value)]
        finally:
            if children:
                self.lib.XFree(children)

    def place(self, window):
        """(x, y, w, h) of a window on the screen, whether it is viewable and whether it is a
        window no manager handles (a menu); None for a window that is gone."""
        a, x, y, child = XWindowAttributes(), ctypes.c_int(), ctypes.c_int(), ctypes.c_ulong()
        if not self.lib.XGetWindowAttributes(self.display, window, ctypes.byref(a)) or \
                not self.lib.XTranslateCoordinates(self.display, window, self.root, 0, 0,
                                                   *map(ctypes.byref, (x, y, child))):
            return None
        return (x.value, y.value, a.width, a.height), a.map_state == 2, bool(a.override_redirect)

    def is_program(self, wid):
        return (self.property(wid, "WM_CLASS") or b"").startswith(b"ruedecitas\0")

    def kind(self, wid):
        """A window of the program's kind and title, kept while the program lives."""
        if wid not in self.kinds:
            title = self.text(wid, "_NET_WM_NAME") or self.text(wid, "WM_NAME")
            types = self.numbers(wid, "_NET_WM_WINDOW_TYPE")
            kind = ("main" if title.startswith(MAIN_TITLE) else "results" if title == RESULTS
                    else "save" if title == SAVE
                    else "pad" if self.atom("_NET_WM_WINDOW_TYPE_UTILITY") in types
                    else "box" if self.atom("_NET_WM_WINDOW_TYPE_DIALOG") in types else "other")
            self.kinds[wid] = kind, title
        return self.kinds[wid]

    def windows(self):
        """The program's windows that show, bottom of the stack first: each top-level window of
        the screen (a window manager's frame, or the window itself) that holds one."""
        shown = []
        for top in self.children(self.root):
            frame = self.place(top)
            if not frame or not frame[1]:
                continue
            if frame[2]:  # context menus and drop-down lists: no manager's frame, above all
                if self.is_program(top):
                    shown.append(XWin("menu", top, frame[0], frame[0], ""))
                continue
            layer, wid = [top], None
            for _ in range(3):  # the client lies at most two levels inside its frame
                wid = next((w for w in layer if w in self.kinds or self.is_program(w)), None)
                if wid:
                    break
                layer = [c for w in layer for c in self.children(w)]
            place = wid and self.place(wid)
            if place and place[1]:
                shown.append(XWin(*self.kind(wid)[:1], wid, place[0], frame[0], self.kind(wid)[1]))
        return shown

    def active(self):
        return (self.numbers(self.root, "_NET_ACTIVE_WINDOW") or [0])[0]

    def ask_window_manager(self, window, message, *data):
        """A request about a window to the window manager, as a pager or a task bar sends it:
        _NET_CLOSE_WINDOW (0, 2) as a click on its close button, _NET_ACTIVE_WINDOW (2,) to give
        it the keyboard."""
        event = XClientMessage(type=33, send_event=1, display=self.display, window=window,
                               message_type=self.atom(message), format=32)
        for k, value in enumerate(data):
            event.data[k] = value
        substructure = (1 << 19) | (1 << 20)  # SubstructureNotify and SubstructureRedirect
        self.lib.XSendEvent(self.display, self.root, 0, substructure, ctypes.byref(event))
        self.lib.XFlush(self.display)

    def image(self, box):
        """The pixels of a rectangle of the root window: every window as it shows. (xwd -root
        gave the windows inside a manager's frames black.)"""
        x, y, w, h = box
        image = self.lib.XGetImage(self.display, self.root, x, y, w, h, ctypes.c_ulong(-1).value,
                                   2)  # ZPixmap
        if not image:
            raise RuntimeError("the X server gave no image of the screen")
        try:
            i = image.contents
            return (ctypes.string_at(i.data, i.bytes_per_line * i.height), i.bits_per_pixel // 8,
                    i.bytes_per_line, (i.red_mask, i.green_mask, i.blue_mask),
                    "little" if i.byte_order == 0 else "big")
        finally:
            self.lib.XDestroyImage(image)

    # The pupil's hand ----------------------------------------------------------------------

    def click(self, point, button=1):
        self.move(point)
        self.button(button, True)
        self.button(button, False)

    def move(self, point):
        self.test.XTestFakeMotionEvent(self.display, -1, int(point[0]), int(point[1]), 0)
        self.lib.XFlush(self.display)

    def button(self, number, down):
        self.test.XTestFakeButtonEvent(self.display, number, int(down), 0)
        self.lib.XFlush(self.display)

    def drag(self, points, pause=0.03):
        """The left button pressed at the first point, moved through the others, let go."""
        self.move(points[0])
        self.button(1, True)
        for point in points[1:]:
            self.sync(pause)
            self.move(point)
        self.sync(pause)
        self.button(1, False)

    def key(self, *names):
        """The keys named (X keysyms: "Control_L", "c") pressed in order, let go in the opposite
        order: key("Alt_L", "F4")."""
        codes = [self.lib.XKeysymToKeycode(self.display, self.lib.XStringToKeysym(n.encode()))
                 for n in names]
        for code, down in [(c, 1) for c in codes] + [(c, 0) for c in reversed(codes)]:
            self.test.XTestFakeKeyEvent(self.display, code, down, 0)
        self.lib.XFlush(self.display)

    def sync(self, seconds=0.0):
        self.lib.XSync(self.display, 0)
        time.sleep(seconds)


xlib = None


def x_server():
    """The one connection to the display, opened on first use."""
    global xlib
    xlib = xlib or Xlib()
    return xlib


class Screen:
    """The screen, or a rectangle (x, y, w, h) of it, as read once: screen(x, y) -> (r, g, b) in
    the screen's own points."""

    def __init__(self, box=None):
        box = overlap(box, (0, 0, WIDTH, HEIGHT)) if box else (0, 0, WIDTH, HEIGHT)
        self.left, self.top, self.width, self.height = box or (0, 0, 1, 1)
        self.data, self.size, self.per_line, self.masks, self.order = x_server().image(
            (self.left, self.top, self.width, self.height))
        self.shifts = [(m & -m).bit_length() - 1 for m in self.masks]

    def __call__(self, x, y):
        start = (y - self.top) * self.per_line + (x - self.left) * self.size
        value = int.from_bytes(self.data[start:start + self.size], self.order)
        return tuple((value & m) >> s for m, s in zip(self.masks, self.shifts))

    def colours(self, box, besides=()):
        """Every colour in a rectangle, outside the rectangles `besides`: {colour: a point}."""
        x, y, w, h = box
        return {self(i, j): (i, j) for j in range(y, y + h) for i in range(x, x + w)
                if not any(inside((i, j), b) for b in besides)}

    def find(self, colour):
        """A point that shows exactly `colour`, or None: the bytes searched, not every pixel."""
        value = sum(c << s for c, s in zip(colour, self.shifts))
        offset = 0 if self.order == "little" else self.size - 3  # the colour's 3 bytes
        pattern = value.to_bytes(self.size, self.order)[offset:offset + 3]
        for j in range(self.height):
            row = self.data[j * self.per_line:j * self.per_line + self.width * self.size]
            at = row.find(pattern)
            while at >= 0:
                if (at - offset) % self.size == 0:
                    return self.left + (at - offset) // self.size, self.top + j
                at = row.find(pattern, at + 1)
        return None

    def save(self, path):
        """The screen as a PNG file."""
        places = [s // 8 if self.order == "little" else self.size - 1 - s // 8
                  for s in self.shifts]
        rows = []
        for y in range(self.height):
            line = self.data[y * self.per_line:y * self.per_line + self.width * self.size]
            rgb = bytearray(self.width * 3)
            for channel, place in enumerate(places):
                rgb[channel::3] = line[place::self.size]
            rows.append(b"\0" + bytes(rgb))

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body
                    + struct.pack(">I", zlib.crc32(kind + body)))
        with open(path, "wb") as png:
            png.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(
                ">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(b"".join(rows), 6)) + chunk(b"IEND", b""))


def screen_when(good, box=None, seconds=3.0):
    """The screen once `good(screen)` holds, or as it is after `seconds`: what a window shows
    is painted a moment after the window appears."""
    end = time.time() + seconds
    while not good(pixel := Screen(box)) and time.time() < end:
        time.sleep(0.1)
    return pixel


# ---------------------------------------------------------------------------------------------
# The accessibility tree, whose objects may go at any moment.

def ask(what, *args, default=None):
    """One question to the accessibility bus; `default` where the object went meanwhile."""
    try:
        return what(*args)
    except Exception:  # a window closed under the question: GLib errors of all kinds
        return default


def name_of(node):
    return ask(lambda: node.name)


def role_of(node):
    return ask(node.getRoleName)


def state_has(node, state):
    return ask(lambda: node.getState().contains(state), default=False)


def showing(node):
    return state_has(node, pyatspi.STATE_SHOWING)


def extents(node):
    """A node's rectangle on the screen, in the program's own (unscaled) pixels."""
    e = ask(lambda: node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS))
    return (e.x, e.y, e.width, e.height) if e else (-1, -1, 0, 0)


def descendants(node):
    for child in ask(list, node, default=[]):
        if child is not None:
            yield child
            yield from descendants(child)


def ordered(nodes, axis=0):
    """Left to right (axis 0), or top to bottom (axis 1)."""
    return sorted(nodes, key=lambda n: extents(n)[axis])


def controls(node):
    """What a window shows: (role, name, rectangle, node) of each control on the screen."""
    found = []
    for child in ask(list, node, default=[]):
        if child is not None and showing(child):
            box = extents(child)
            if box[2] > 0 and box[3] > 0:
                found.append((role_of(child), name_of(child) or "", box, child))
            found += controls(child)
    return found


def top_window(app, kind):
    """The program's accessible window of that kind while it shows, or None."""
    for w in ask(list, app, default=[]):
        name = name_of(w) or ""
        if w is not None and showing(w) and (
                kind == "main" and name.startswith(MAIN_TITLE) or kind == "pad" and name == PAD
                or kind == "results" and name == RESULTS or kind == "save" and name == SAVE
                or kind == "box" and role_of(w) in ("alert", "dialog")
                and name not in (PAD, RESULTS, SAVE)):
            return w
    return None


def box_said(app):
    """The message box on the screen: (its node, its text, its buttons), or None."""
    box = top_window(app, "box")
    if box is None:
        return None
    parts = list(descendants(box))
    return (box, " ".join(name_of(n) for n in parts if role_of(n) == "label" and name_of(n)),
            [n for n in parts if role_of(n) == "push button"])
