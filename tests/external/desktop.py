"""Driving the real program on a real X display (Xvfb): the display itself, with or without a
window manager, the accessibility bus, the program; its controls found through the
accessibility tree, clicked with real X pointer events (xdotool), judged by the pixels the X
server shows. Each check prints one line and is counted."""

import ctypes
import os
import signal
import struct
import subprocess
import time
import zlib

import pyatspi

WIDTH, HEIGHT = 1280, 800
GREEN, WHITE, BLUE, RED = (0, 255, 0), (255, 255, 255), (0, 0, 255), (255, 0, 0)
NEAR_WHITE = (250, 250, 250)
PAD_YELLOW = (255, 255, 192)  # the number pad's background
PAD = "Teclado de números"
BLANK = "número sin escribir"  # a number the pupil has still to write, shown as "?"
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


# ---------------------------------------------------------------------------------------------
# The display, the window manager, the bus and the program.

class Desktop:
    """Xvfb, optionally a window manager on it, the accessibility bus and the program, each
    ended (by its own process id) when the `with` block ends."""

    def __init__(self, program, wm=None, size=None, env=None, launch=True):
        """`size` (width, height) sets the screen's size for every helper here; `env` is added
        to the program's environment; without `launch` the program is started later, by
        `launch_program`, as often as wanted."""
        global WIDTH, HEIGHT
        self.program, self.wm, self.launch = os.path.abspath(program), wm, launch
        WIDTH, HEIGHT = size or (WIDTH, HEIGHT)
        self.env = env or {}
        self.processes = []  # (process, ends its process group)

    def start(self, command, env=None, group=False, **options):
        process = subprocess.Popen(command, env=env, start_new_session=group, **options)
        self.processes.append((process, group))
        return process

    def __enter__(self):
        try:
            return self.start_all()
        except BaseException:
            self.__exit__()
            raise

    def start_all(self):
        # Xvfb takes a display number no other server has and says which once it is ready.
        readable, writable = os.pipe()
        self.start(["Xvfb", "-displayfd", str(writable), "-screen", "0",
                    "%dx%dx24" % (WIDTH, HEIGHT), "-nolisten", "tcp", "-noreset"],
                   pass_fds=(writable,))
        os.close(writable)
        with os.fdopen(readable) as said:
            display = said.readline().strip()
        os.environ["DISPLAY"] = ":" + display
        self.ready = check(display and xdo("getdisplaygeometry", check=False).returncode == 0,
                           "Xvfb starts (display :%s)" % display)
        if self.ready and self.wm:
            self.start([self.wm], group=True)
            # A window manager announces itself on the root window once it manages windows.
            self.ready = check(wait_for(lambda: "window id" in subprocess.run(
                ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], capture_output=True,
                text=True).stdout, 20), "%s manages the display's windows" % self.wm)
        if self.ready:
            self.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                       env=self.program_env(), group=True)
            time.sleep(0.5)
            if self.launch:
                self.launch_program()
        return self

    def program_env(self, **more):
        return dict(os.environ, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1",
                    QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", **self.env, **more)

    def launch_program(self, env=None, **options):
        """Starts the program on the display, with `env` added to its environment."""
        return self.start([self.program], env=self.program_env(**(env or {})), **options)

    def __exit__(self, *error):
        # The program first, the display last: Xvfb, terminated, removes its lock and socket.
        for process, group in reversed(self.processes):
            if process.poll() is not None:
                continue
            if group:
                os.killpg(process.pid, signal.SIGKILL)
            elif process.args[0] == "Xvfb":
                process.terminate()
            else:
                process.kill()
            process.wait()


# ---------------------------------------------------------------------------------------------
# The screen's pixels.

# The screen is read as the X server gives the root window's image (XGetImage through Xlib),
# every window as it shows. Not with xwd -root: under a window manager it returned the windows
# inside the manager's frames (the pad, the message boxes, the results window) black, where the
# root's image has them drawn.
class XImage(ctypes.Structure):
    """The head of Xlib's XImage, as far as the pixels need it."""

    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int),
                ("red_mask", ctypes.c_ulong), ("green_mask", ctypes.c_ulong),
                ("blue_mask", ctypes.c_ulong)]


class XClientMessage(ctypes.Structure):
    """Xlib's XClientMessageEvent with 32-bit data, padded to the size of any XEvent."""

    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 24)]


class XWindowAttributes(ctypes.Structure):
    """The head of Xlib's XWindowAttributes, up to the map state, and room for the rest."""

    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("border_width", ctypes.c_int),
                ("depth", ctypes.c_int), ("visual", ctypes.c_void_p), ("root", ctypes.c_ulong),
                ("class_", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
                ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
                ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong),
                ("map_installed", ctypes.c_int), ("map_state", ctypes.c_int),
                ("all_event_masks", ctypes.c_long), ("your_event_mask", ctypes.c_long),
                ("do_not_propagate_mask", ctypes.c_long), ("override_redirect", ctypes.c_int),
                ("screen", ctypes.c_void_p), ("room", ctypes.c_long * 8)]


# Xlib's default error handler ends the process: a window that goes while it is being asked
# about (a message box closing) is an everyday answer here, so errors are only counted.
X_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
x_errors = [0]


@X_ERROR_HANDLER
def count_x_error(display, event):
    x_errors[0] += 1
    return 0


class Xlib:
    """The few Xlib calls the screen reading, the windows and the pupil's hand need, on one
    connection to the display."""

    def __init__(self):
        lib = self.lib = ctypes.CDLL("libX11.so.6")
        ulong, uint, int_, void_p = ctypes.c_ulong, ctypes.c_uint, ctypes.c_int, ctypes.c_void_p
        for name, result, args in [
                ("XOpenDisplay", void_p, [ctypes.c_char_p]),
                ("XDefaultRootWindow", ulong, [void_p]),
                ("XGetImage", ctypes.POINTER(XImage),
                 [void_p, ulong, int_, int_, uint, uint, ulong, int_]),
                ("XDestroyImage", int_, [ctypes.POINTER(XImage)]),
                ("XSetErrorHandler", void_p, [X_ERROR_HANDLER]),
                ("XInternAtom", ulong, [void_p, ctypes.c_char_p, int_]),
                ("XGetWindowProperty", int_,
                 [void_p, ulong, ulong, ctypes.c_long, ctypes.c_long, int_, ulong,
                  ctypes.POINTER(ulong), ctypes.POINTER(int_), ctypes.POINTER(ulong),
                  ctypes.POINTER(ulong), ctypes.POINTER(ctypes.c_void_p)]),
                ("XFree", int_, [void_p]),
                ("XQueryTree", int_, [void_p, ulong, ctypes.POINTER(ulong), ctypes.POINTER(ulong),
                                      ctypes.POINTER(ctypes.POINTER(ulong)),
                                      ctypes.POINTER(uint)]),
                ("XGetWindowAttributes", int_, [void_p, ulong, ctypes.POINTER(XWindowAttributes)]),
                ("XTranslateCoordinates", int_,
                 [void_p, ulong, ulong, int_, int_, ctypes.POINTER(int_), ctypes.POINTER(int_),
                  ctypes.POINTER(ulong)]),
                ("XSendEvent", int_, [void_p, ulong, int_, ctypes.c_long, void_p]),
                ("XStringToKeysym", ulong, [ctypes.c_char_p]),
                ("XKeysymToKeycode", ctypes.c_ubyte, [void_p, ulong]),
                ("XSync", int_, [void_p, int_]),
                ("XFlush", int_, [void_p])]:
            getattr(lib, name).restype = result
            getattr(lib, name).argtypes = args
        lib.XSetErrorHandler(count_x_error)
        self.display = lib.XOpenDisplay(os.environ["DISPLAY"].encode())
        if not self.display:
            raise RuntimeError("cannot open the display %s" % os.environ["DISPLAY"])
        self.root = lib.XDefaultRootWindow(self.display)
        self.test = None  # the XTest extension, loaded with the first pointer or key event
        self.atoms = {}

    def root_image(self, box=None):
        """The root window, or the rectangle `box` (x, y, w, h) of it: (pixel bytes, bytes a
        pixel, bytes a line, masks, order)."""
        z_pixmap, all_planes = 2, ctypes.c_ulong(-1).value
        x, y, w, h = box or (0, 0, WIDTH, HEIGHT)
        image = self.lib.XGetImage(self.display, self.root, x, y, w, h, all_planes, z_pixmap)
        if not image:
            raise RuntimeError("the X server gave no image of the screen")
        try:
            i = image.contents
            data = ctypes.string_at(i.data, i.bytes_per_line * i.height)
            return (data, i.bits_per_pixel // 8, i.bytes_per_line,
                    (i.red_mask, i.green_mask, i.blue_mask), "little" if i.byte_order == 0
                    else "big")
        finally:
            self.lib.XDestroyImage(image)

    # Windows ------------------------------------------------------------------------------

    def atom(self, name):
        if name not in self.atoms:
            self.atoms[name] = self.lib.XInternAtom(self.display, name.encode(), 0)
        return self.atoms[name]

    def property(self, window, name, kind=0, longs=1024):
        """A window's property as (items, bits an item): a list of numbers for 32-bit items,
        bytes for 8-bit ones; None where the window or the property is not there."""
        kind_back, bits, count, after = (ctypes.c_ulong(), ctypes.c_int(), ctypes.c_ulong(),
                                         ctypes.c_ulong())
        data = ctypes.c_void_p()
        if self.lib.XGetWindowProperty(self.display, window, self.atom(name), 0, longs, 0, kind,
                                       ctypes.byref(kind_back), ctypes.byref(bits),
                                       ctypes.byref(count), ctypes.byref(after),
                                       ctypes.byref(data)) != 0 or not data.value:
            return None
        try:
            if bits.value == 32:  # Xlib hands 32-bit items as longs
                return list((ctypes.c_ulong * count.value).from_address(data.value)), 32
            return ctypes.string_at(data.value, count.value * bits.value // 8), bits.value
        finally:
            self.lib.XFree(data)

    def numbers(self, window, name):
        found = self.property(window, name)
        return found[0] if found and found[1] == 32 else []

    def text(self, window, name):
        found = self.property(window, name)
        return found[0].decode("utf-8", "replace") if found and found[1] == 8 else ""

    def children(self, window):
        """A window's children, bottom of the stack first."""
        root, parent, children, count = (ctypes.c_ulong(), ctypes.c_ulong(),
                                         ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint())
        if not self.lib.XQueryTree(self.display, window, ctypes.byref(root), ctypes.byref(parent),
                                   ctypes.byref(children), ctypes.byref(count)):
            return [], 0
        try:
            return [children[i] for i in range(count.value)], parent.value
        finally:
            if children:
                self.lib.XFree(children)

    def parent(self, window):
        return self.children(window)[1]

    def top_level(self, window):
        """The child of the root window that holds `window`: a window manager's frame around
        it, or the window itself."""
        while window and (parent := self.parent(window)) and parent != self.root:
            window = parent
        return window

    def attributes(self, window):
        """(x, y, w, h) of a window on the screen and whether it is viewable, or None."""
        a = XWindowAttributes()
        if not self.lib.XGetWindowAttributes(self.display, window, ctypes.byref(a)):
            return None
        x, y, child = ctypes.c_int(), ctypes.c_int(), ctypes.c_ulong()
        if not self.lib.XTranslateCoordinates(self.display, window, self.root, 0, 0,
                                              ctypes.byref(x), ctypes.byref(y),
                                              ctypes.byref(child)):
            return None
        return (x.value, y.value, a.width, a.height), a.map_state == 2, bool(a.override_redirect)

    def tree(self, window=None):
        """Every window under `window` (the root), depth first, parents before children."""
        for child in self.children(window or self.root)[0]:
            yield child
            yield from self.tree(child)

    def ask_window_manager(self, window, message, *data):
        """Sends the window manager a request about a window, as a pager or a task bar does."""
        event = XClientMessage(type=33, send_event=1, display=self.display, window=window,
                               message_type=self.atom(message), format=32)
        for i, value in enumerate(data):
            event.data[i] = value
        substructure = (1 << 19) | (1 << 20)  # SubstructureNotify and SubstructureRedirect
        self.lib.XSendEvent(self.display, self.root, 0, substructure, ctypes.byref(event))
        self.lib.XFlush(self.display)

    def close(self, window):
        """Asks the window manager to close a window, as a click on its close button does: no
        time stamp, the request from a pager."""
        self.ask_window_manager(window, "_NET_CLOSE_WINDOW", 0, 2)

    def activate(self, window):
        """Asks the window manager to give a window the keyboard, as a task bar does."""
        self.ask_window_manager(window, "_NET_ACTIVE_WINDOW", 2)

    # The pupil's hand: XTest ----------------------------------------------------------------

    def fake(self):
        if not self.test:
            test = self.test = ctypes.CDLL("libXtst.so.6")
            test.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                                  ctypes.c_int, ctypes.c_ulong]
            test.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                  ctypes.c_ulong]
            test.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                               ctypes.c_ulong]
        return self.test

    def move(self, x, y):
        self.fake().XTestFakeMotionEvent(self.display, -1, int(x), int(y), 0)
        self.lib.XFlush(self.display)

    def button(self, number, down):
        self.fake().XTestFakeButtonEvent(self.display, number, int(down), 0)
        self.lib.XFlush(self.display)

    def key(self, *names):
        """Presses the keys named (X keysyms: "Control_L", "c") in order, then lets them go in
        the opposite order: key("Alt_L", "F4")."""
        codes = [self.lib.XKeysymToKeycode(self.display, self.lib.XStringToKeysym(n.encode()))
                 for n in names]
        for code in codes:
            self.fake().XTestFakeKeyEvent(self.display, code, 1, 0)
        for code in reversed(codes):
            self.fake().XTestFakeKeyEvent(self.display, code, 0, 0)
        self.lib.XFlush(self.display)

    def sync(self):
        self.lib.XSync(self.display, 0)


xlib = None  # opened with the first screen read, once the display is there


class Screen:
    """The whole X screen as read once: screen(x, y) -> (r, g, b); save(path) writes a PNG."""

    def __init__(self, box=None):
        """The whole screen, or only the rectangle `box` (x, y, w, h) of it, read faster; the
        points are the screen's all the same."""
        box = overlap(box, (0, 0, WIDTH, HEIGHT)) if box else (0, 0, WIDTH, HEIGHT)
        self.left, self.top, self.width, self.height = box or (0, 0, 1, 1)
        self.data, self.size, self.per_line, self.masks, self.order = x_server().root_image(
            (self.left, self.top, self.width, self.height))
        if self.size not in (3, 4):
            raise RuntimeError("unexpected pixel size %d" % (8 * self.size))

    def __call__(self, x, y):
        start = (y - self.top) * self.per_line + (x - self.left) * self.size
        value = int.from_bytes(self.data[start:start + self.size], self.order)
        return tuple((value & m) >> ((m & -m).bit_length() - 1) for m in self.masks)

    def colours(self, box, step=1, besides=()):
        """Every colour in a rectangle (x, y, w, h), outside the rectangles `besides`, as
        {colour: first (x, y) seen}."""
        x, y, w, h = box
        found = {}
        for j in range(y, y + h, step):
            for i in range(x, x + w, step):
                if not any(inside((i, j), other) for other in besides):
                    found.setdefault(self(i, j), (i, j))
        return found

    def find(self, colour):
        """A point that shows exactly `colour`, or None: the bytes searched, not every pixel
        read."""
        value = 0
        for channel, mask in zip(colour, self.masks):
            value |= channel << ((mask & -mask).bit_length() - 1)
        # The three bytes of a 24-bit colour, where they stand in a pixel of `size` bytes.
        offset = 0 if self.order == "little" else self.size - 3
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
        # Each channel is one byte of the pixel (a 24-bit display): its place in the pixel.
        places = [((m & -m).bit_length() - 1) // 8 for m in self.masks]
        if self.order == "big":
            places = [self.size - 1 - p for p in places]
        rows = []
        for y in range(self.height):
            start = y * self.per_line
            line, rgb = self.data[start:start + self.width * self.size], bytearray(self.width * 3)
            for channel, place in enumerate(places):
                rgb[channel::3] = line[place::self.size]
            rows.append(b"\0" + bytes(rgb))

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body
                    + struct.pack(">I", zlib.crc32(kind + body)))

        with open(path, "wb") as png:
            png.write(b"\x89PNG\r\n\x1a\n"
                      + chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2,
                                                   0, 0, 0))
                      + chunk(b"IDAT", zlib.compress(b"".join(rows), 6)) + chunk(b"IEND", b""))


def x_server():
    """The one connection to the display, opened on first use, once the display is there."""
    global xlib
    xlib = xlib or Xlib()
    return xlib


def screen(box=None):
    return Screen(box)


SHOTS = None  # a folder the checks save their screenshots into, when given
MODE = "plain"  # the window manager's name, or plain: the screenshots' names begin with it


def shot(name, pixel=None):
    """Saves the screen (as read in `pixel`, or now) as SHOTS/MODE-name.png."""
    if SHOTS:
        os.makedirs(SHOTS, exist_ok=True)
        (pixel or screen()).save(os.path.join(SHOTS, "%s-%s.png" % (MODE, name)))


def screen_when(good, seconds=3.0):
    """The screen once `good(screen)` holds, or as it is after `seconds`: what a window shows
    is painted a moment after the window appears."""
    end = time.time() + seconds
    while not good(pixel := screen()) and time.time() < end:
        time.sleep(0.1)
    return pixel


# ---------------------------------------------------------------------------------------------
# Rectangles (x, y, w, h) on the screen.

def overlap(a, b):
    """The rectangle two rectangles share, or None."""
    x, y = max(a[0], b[0]), max(a[1], b[1])
    w, h = min(a[0] + a[2], b[0] + b[2]) - x, min(a[1] + a[3], b[1] + b[3]) - y
    return (x, y, w, h) if w > 0 and h > 0 else None


def inside(point, box):
    return box[0] <= point[0] < box[0] + box[2] and box[1] <= point[1] < box[1] + box[3]


def face(box, inset=2):
    """The points of a button's face just inside its two-pixel bevel: a ring `inset` pixels in,
    outside the keyboard's dotted mark (3 pixels in) and the caption in the middle."""
    x, y, w, h = box
    ring = [(i, j) for i in range(x + inset, x + w - inset) for j in (y + inset, y + h - 1 - inset)]
    return ring + [(i, j) for j in range(y + inset, y + h - inset)
                   for i in (x + inset, x + w - 1 - inset)]


# ---------------------------------------------------------------------------------------------
# The accessibility tree.

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


def window(app, name):
    """The program's top-level window of that accessible name while it shows, or None."""
    return next((w for w in app if w is not None and w.name == name and showing(w)), None)


def message_box(app):
    """The message box on the screen: (box, its text, its button), or None."""
    for w in app:
        if w is not None and w.getRoleName() in ("alert", "dialog") and showing(w):
            parts = list(descendants(w))
            text = [n.name for n in parts if n.getRoleName() == "label" and n.name]
            buttons = [n for n in parts if n.getRoleName() == "push button"]
            return w, " ".join(text), buttons
    return None


# ---------------------------------------------------------------------------------------------
# The pupil's hand.

def click(node):
    """A left click in the middle of an accessible node, or on a point (x, y)."""
    x, y, w, h = (*node, 0, 0) if isinstance(node, tuple) else extents(node)
    xdo("mousemove", x + w // 2, y + h // 2, "click", 1)
    time.sleep(0.3)


def clicks(node, times):
    """`times` left clicks on a node in quick succession."""
    if times > 0:
        x, y, w, h = extents(node)
        xdo("mousemove", x + w // 2, y + h // 2, "click", "--repeat", times, "--delay", 40, 1)
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


def pad_keys(pad):
    return {k.name: k for k in descendants(pad) if k.getRoleName() == "push button"}


def new_simplify_exercise(app, tree):
    """Clicks SIMPLIFICA, which deals a new exercise. Answers its given fraction F0 and the
    "?"s of F1 as ([numerator, denominator], [numerator, denominator]) labels, or None."""
    click(tree.button("SIMPLIFICA"))
    shown = Tree(app).shown("label")
    marks = ordered([n for n in shown if n.name == BLANK], 1)
    if not check(len(marks) == 2, "the exercise shows F1 as ?/?"):
        return None
    mx, my = extents(marks[0])[:2]
    given = ordered([n for n in shown if n.name.isdigit() and mx - 200 < extents(n)[0] < mx
                     and extents(n)[1] >= my - 5], 1)[:2]
    if not check(len(given) == 2, "the given fraction stands left of it"):
        return None
    return given, marks


def open_pad(app, number):
    """Clicks a number of the simplify exercise: the pad that shows, or None."""
    click(number)
    pad = wait_for(lambda: window(app, PAD), 5)
    check(pad is not None, "a click on %s shows the number pad" % number.name)
    return pad


def write(app, numbers, values):
    """Writes each value into its number of the simplify exercise with the pad."""
    for number, value in zip(numbers, values):
        pad = open_pad(app, number)
        if not pad:
            return False
        type_on_pad(pad_keys(pad), value)
    return check(wait_for(lambda: [n.name for n in numbers] == list(map(str, values)), 3),
                 "the pad writes %s" % "/".join(map(str, values)))


# ---------------------------------------------------------------------------------------------
# X windows as the X server has them.

def x_window(wid):
    """An X window's place on the screen (x, y, w, h) and whether it is viewable; None and
    False for a window that is gone."""
    info = subprocess.run(["xwininfo", "-id", str(wid)], capture_output=True, text=True).stdout
    field = dict((k.strip(), v.strip()) for k, _, v in (line.partition(":")
                                                        for line in info.splitlines()))
    if "Map State" not in field:
        return None, False
    place = tuple(int(field[k]) for k in ("Absolute upper-left X", "Absolute upper-left Y",
                                          "Width", "Height"))
    return place, field["Map State"] == "IsViewable"


def x_window_at(box):
    """The id of the program's X window that stands exactly at `box`, or None."""
    ids = xdo("search", "--classname", "^ruedecitas$", check=False).stdout.split()
    return next((wid for wid in ids if x_window(wid)[0] == tuple(box)), None)
