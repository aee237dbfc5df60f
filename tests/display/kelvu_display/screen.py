"""One X display as a test sees and works it: windows by process and title,
their geometry, stacking and window-manager properties; the pointer and the
keys through XTest; screenshots and the colours in them."""
import os
import subprocess

from PIL import Image, ImageChops, ImageGrab
from Xlib import X, XK, Xatom, display as xdisplay, error as xerror, protocol
from Xlib.ext import xtest

from .waiting import Timeout, holds_for, wait_until

BLACK = (0, 0, 0)
YELLOW = (255, 255, 128)   # the programs' window background
MAGENTA = (255, 0, 255)    # the reward pictures the tests make
DESKTOP = (0, 96, 0)       # the bare screen: anything but black, so black is the backdrop
GREY = (128, 128, 128)


def px(twips):
    """Twips to pixels at scale 1, rounded, as the programs lay out."""
    return (twips + 7) // 15


class Screen:
    def __init__(self, name, shots_folder):
        self.name = name
        self.x = xdisplay.Display(name)
        self.root = self.x.screen().root
        geometry = self.root.get_geometry()
        self.width, self.height = geometry.width, geometry.height
        self.shots_folder = shots_folder
        self.shot_count = 0
        self.last = None
        self.probe = None

    def close(self):
        self.x.close()

    # --- properties -----------------------------------------------------------------

    def atom(self, name):
        return self.x.intern_atom(name)

    def _property(self, window, name, kind=X.AnyPropertyType):
        try:
            reply = window.get_full_property(self.atom(name), kind)
        except xerror.XError:
            return None
        return reply.value if reply else None

    def cardinals(self, window, name):
        value = self._property(window, name)
        return list(value) if value is not None else []

    def atoms(self, window, name):
        """The names of the atoms in an ATOM list property."""
        return [self.x.get_atom_name(a) for a in self.cardinals(window, name)]

    def title(self, window):
        value = self._property(window, "_NET_WM_NAME")
        if value is None:
            value = self._property(window, "WM_NAME")
        if value is None:
            return None
        return value.decode("utf-8", "replace") if isinstance(value, bytes) else value

    def pid(self, window):
        pids = self.cardinals(window, "_NET_WM_PID")
        return pids[0] if pids else None

    def transient_for(self, window):
        ids = self.cardinals(window, "WM_TRANSIENT_FOR")
        return ids[0] if ids else None

    def hints(self, window):
        """What the window asks of the window manager (Motif hints: flags,
        functions, decorations, input mode, status; types; the window it
        belongs to) and what the window manager made of it (state, allowed
        actions), without the prefixes _NET_WM_WINDOW_TYPE_, _NET_WM_STATE_
        and _NET_WM_ACTION_."""
        def names(prop, prefix):
            return [a[len(prefix):] if a.startswith(prefix) else a
                    for a in self.atoms(window, prop)]
        return {"motif": self.cardinals(window, "_MOTIF_WM_HINTS"),
                "types": names("_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_"),
                "transient for": self.transient_for(window),
                "state": sorted(names("_NET_WM_STATE", "_NET_WM_STATE_")),
                "allowed": sorted(names("_NET_WM_ALLOWED_ACTIONS", "_NET_WM_ACTION_"))}

    def viewable(self, window):
        try:
            return window.get_attributes().map_state == X.IsViewable
        except xerror.XError:
            return False

    def window(self, wid):
        return self.x.create_resource_object("window", wid)

    def _tree(self, window):
        try:
            children = window.query_tree().children
        except xerror.XError:
            return
        for child in children:
            yield child
            yield from self._tree(child)

    def windows(self, pid, title=None, viewable=True):
        """The windows of a process (by _NET_WM_PID), with that exact title,
        shown on the screen, oldest first."""
        found = []
        for window in self._tree(self.root):
            if self.pid(window) != pid:
                continue
            if title is not None and self.title(window) != title:
                continue
            if viewable and not self.viewable(window):
                continue
            found.append(window)
        return found

    def backdrop(self, pid):
        """The process's window over the whole screen."""
        return [w for w in self.windows(pid, " ")
                if self.geometry(w) == (0, 0, self.width, self.height)][0]

    def titled(self, title):
        """The windows shown with that exact title, whatever their process."""
        return [w for w in self._tree(self.root)
                if self.title(w) == title and self.viewable(w)]

    def managed(self, text):
        """The windows the window manager manages whose title holds the text,
        bottom first."""
        return [w for w in self.stacking() if text in (self.title(self.window(w)) or "")]

    def wait_window(self, pid, title, what=None, timeout=20):
        found = wait_until(lambda: self.windows(pid, title),
                           what or "a window titled %r of process %d" % (title, pid), timeout)
        return found[0]

    def panels(self):
        """The panels and taskbars on the screen, as rectangles: the windows
        whose rows or columns no other window may take (struts)."""
        return [self.geometry(w) for w in self._tree(self.root)
                if self.viewable(w) and (self.cardinals(w, "_NET_WM_STRUT_PARTIAL") or
                                         self.cardinals(w, "_NET_WM_STRUT"))]

    def geometry(self, window):
        """x, y (screen position of the client area, without the frame),
        width, height."""
        g = window.get_geometry()
        origin = window.translate_coords(self.root, 0, 0)
        return (-origin.x, -origin.y, g.width, g.height)

    def active(self):
        ids = self.cardinals(self.root, "_NET_ACTIVE_WINDOW")
        return ids[0] if ids else None

    def focus(self):
        return self.x.get_input_focus().focus

    def stacking(self):
        """The managed windows, bottom first (_NET_CLIENT_LIST_STACKING)."""
        return self.cardinals(self.root, "_NET_CLIENT_LIST_STACKING")

    def _root_message(self, window, name, data):
        event = protocol.event.ClientMessage(window=window, client_type=self.atom(name),
                                             data=(32, (data + [0] * 5)[:5]))
        self.root.send_event(event, event_mask=X.SubstructureRedirectMask |
                             X.SubstructureNotifyMask)
        self.x.sync()

    def wm_sync(self):
        """Waits until the window manager has handled everything sent before:
        it passes on, in turn, a request to resize a window that it does not
        manage, as every window manager must. A window manager that is still
        starting may drop it: it is asked again."""
        if self.probe is None:
            self.probe = self.root.create_window(-10, -10, 1, 1, 0, X.CopyFromParent)
        width = 3 - self.probe.get_geometry().width

        def answered():
            self.probe.configure(width=width)
            self.x.sync()
            return not holds_for(lambda: self.probe.get_geometry().width != width, 0.25)
        wait_until(answered, "the window manager answers", interval=0)

    def in_front(self, window_id):
        """Whether the window has the focus and lies over every window but
        the panels."""
        return self.active() == window_id and self.top() == window_id and \
            self.has_focus(window_id)

    def top(self):
        """The window on top of every other on the screen but the panels, as
        the X server stacks their frames (some window managers list windows
        in the order they came rather than as stacked)."""
        frames = {}
        for client in self.cardinals(self.root, "_NET_CLIENT_LIST"):
            window = self.window(client)
            if "_NET_WM_WINDOW_TYPE_DOCK" in self.atoms(window, "_NET_WM_WINDOW_TYPE"):
                continue
            try:
                while True:
                    parent = window.query_tree().parent
                    if parent.id == self.root.id:
                        break
                    window = parent
            except xerror.XError:
                continue
            frames[window.id] = client
        try:
            children = self.root.query_tree().children
        except xerror.XError:
            return None
        on_screen = [frames[c.id] for c in children if c.id in frames and self.viewable(c)]
        return on_screen[-1] if on_screen else None

    def wait_in_front(self, window_id, what):
        try:
            wait_until(lambda: self.in_front(window_id), what)
        except Timeout as failure:
            raise Timeout("%s; 0x%x in front: %s" % (failure, window_id, self.front())) from None

    def front(self):
        """Which windows are active, on top and focused, for a failure's message."""
        name = lambda w: "%#x %r" % (w, self.title(self.window(w))) if w else w
        return "active %s, on top %s, focus %s" % (name(self.active()), name(self.top()),
                                                   name(getattr(self.focus(), "id", 0)))

    def has_focus(self, window_id):
        """Whether the keys go to the window or to one inside it."""
        focus = self.focus()
        while hasattr(focus, "id") and focus.id != self.root.id:
            if focus.id == window_id:
                return True
            focus = focus.query_tree().parent
        return False

    def keeps_in_front(self, front, what, action, box=None):
        """Does action (clicks, minimises …); afterwards the window that was
        in front is in front with the focus, and no pixel of box (its own
        rectangle unless told) that showed before is black."""
        box = box or self.geometry(self.window(front))
        before = self.settled(box, "%s is drawn" % what).crop(_corners(box))
        action()
        self.wm_sync()
        self.wait_in_front(front, "%s in front with the focus" % what)

        def covered():
            return sum(1 for p, q in zip(before.getdata(), self.shot().crop(_corners(box)).getdata())
                       if p != BLACK and q == BLACK)
        try:
            wait_until(lambda: covered() == 0, "")
        except Timeout:
            self.save(before, "before")
            self.shot("after")
            raise Timeout("%s: %d of its %d pixels covered in black" % (
                what, covered(), box[2] * box[3])) from None

    def click_black(self, front, what, point=None):
        """One click on the black area (by the left edge unless told, once it
        is black there): the window that was in front stays in front, with
        the focus, and uncovered."""
        point = point or self.left_edge()
        self.wait_colour(*point, BLACK, "black at %r to click on" % (point,))
        self.keeps_in_front(front, "%s, after a click on black at %r" % (what, point),
                            lambda: self.click(*point))

    def left_edge(self):
        """A point by the left edge, half way down: on the black, clear of
        the programs' centred windows and of panels."""
        return (5, self.height // 2)

    def minimise_then_click_black(self, window, front, what):
        """The window minimised as its title bar button or the window
        manager's key does, if the window manager lets it; one click on black
        then brings it back, uncovered, and front in front with the focus."""
        def minimise_and_click():
            self.minimise(window)
            self.wm_sync()
            self.wait_colour(*self.left_edge(), BLACK, "black to click on, %s minimised" % what)
            self.click(*self.left_edge())
        self.keeps_in_front(front, "%s minimised, after a click on black" % what,
                            minimise_and_click, self.geometry(window))

    def move_window(self, window, x, y):
        """Asks the window manager to move the window, as a drag of its title
        bar does (_NET_MOVERESIZE_WINDOW from a user's tool, x and y given)."""
        self._root_message(window, "_NET_MOVERESIZE_WINDOW", [(2 << 12) | (3 << 8), x, y])

    def minimise(self, window):
        """Asks the window manager to minimise the window, as its title-bar
        button or key does (ICCCM WM_CHANGE_STATE, IconicState)."""
        self._root_message(window, "WM_CHANGE_STATE", [3])

    def close_window(self, window):
        """Asks the window manager to close the window, as its title-bar
        button does (_NET_CLOSE_WINDOW from a user's tool)."""
        self._root_message(window, "_NET_CLOSE_WINDOW", [X.CurrentTime, 2])

    def activate(self, window):
        """Asks the window manager to show and focus the window, as a
        taskbar does (_NET_ACTIVE_WINDOW from a pager)."""
        self._root_message(window, "_NET_ACTIVE_WINDOW", [2, X.CurrentTime, 0])

    # --- pointer and keys -------------------------------------------------------------

    def pointer(self):
        p = self.root.query_pointer()
        return (p.root_x, p.root_y)

    def move(self, x, y):
        xtest.fake_input(self.x, X.MotionNotify, x=x, y=y)
        self.x.sync()
        wait_until(lambda: self.pointer() == (x, y), "the pointer reaches (%d,%d)" % (x, y))

    def press(self, button=1):
        xtest.fake_input(self.x, X.ButtonPress, button)
        self.x.sync()

    def release(self, button=1):
        xtest.fake_input(self.x, X.ButtonRelease, button)
        self.x.sync()

    def click(self, x, y, count=1, button=1):
        """Clicks count times at (x, y); the clicks of a double click go to
        the server together, so that no delay here can part them."""
        self.move(x, y)
        for _ in range(count):
            xtest.fake_input(self.x, X.ButtonPress, button)
            xtest.fake_input(self.x, X.ButtonRelease, button)
        self.x.sync()

    def _keycode(self, name):
        keysym = XK.string_to_keysym(name)
        assert keysym, "no key named %r" % name
        code = self.x.keysym_to_keycode(keysym)
        assert code, "the keyboard has no key %r" % name
        return code

    def key_down(self, name):
        xtest.fake_input(self.x, X.KeyPress, self._keycode(name))
        self.x.sync()

    def key_up(self, name):
        xtest.fake_input(self.x, X.KeyRelease, self._keycode(name))
        self.x.sync()

    def keys(self, *names):
        """Strokes each key in turn: "space", "Return", "KP_Enter", "Tab" …"""
        for name in names:
            self.key_down(name)
            self.key_up(name)

    def type_text(self, text):
        subprocess.run(["xdotool", "type", "--delay", "5", text], check=True,
                       env=dict(os.environ, DISPLAY=self.name))

    # --- screenshots ------------------------------------------------------------------

    def shot(self, label=None):
        """A screenshot of the whole screen, kept as the latest; with a label
        it is saved with the test's screenshots."""
        self.last = ImageGrab.grab(xdisplay=self.name).convert("RGB")
        if label:
            self.save(self.last, label)
        return self.last

    def save(self, image, label):
        self.shot_count += 1
        image.save(os.path.join(self.shots_folder, "%03d-%s.png" % (self.shot_count, label)))

    def pixel(self, x, y):
        return self.last.getpixel((x, y))

    def shows(self, x, y, colour):
        """A fresh screenshot shows the colour at (x, y)."""
        return self.shot().getpixel((x, y)) == colour

    def draws(self, window, x, y, colour):
        """The window's own picture, as the program drew it, has the colour
        at (x, y) of the window: a compositing window manager on a virtual X
        server may put it on the screen only with the next event."""
        w, h = self.geometry(window)[2:]
        image = window.get_image(0, 0, w, h, X.ZPixmap, 0xFFFFFFFF)
        return Image.frombytes("RGB", (w, h), image.data, "raw", "BGRX").getpixel((x, y)) == colour

    def wait_colour(self, x, y, colour, what, timeout=20):
        wait_until(lambda: self.shows(x, y, colour), what, timeout)

    def wait_not_colour(self, x, y, colour, what, timeout=20):
        wait_until(lambda: self.shot().getpixel((x, y)) != colour, what, timeout)

    def settled(self, box, what, timeout=20):
        """Waits until a rectangle of the screen stops changing: two
        screenshots in a row show it the same. The latest screenshot is the
        settled one."""
        previous = [None]

        def same():
            now = self.shot().crop(_corners(box))
            unchanged = previous[0] is not None and \
                ImageChops.difference(now, previous[0]).getbbox() is None
            previous[0] = now
            return unchanged
        wait_until(same, what, timeout)
        return self.last

    def region(self, x, y, w, h):
        return self.last.crop((x, y, x + w, y + h))

    def count(self, box, predicate):
        """How many pixels of a rectangle of the latest screenshot pass."""
        return sum(1 for p in self.region(*box).getdata() if predicate(p))

    def share(self, box, predicate):
        return self.count(box, predicate) / float(box[2] * box[3])

    def not_black(self, box):
        return self.count(box, lambda p: p != BLACK)


def _corners(box):
    x, y, w, h = box
    return (x, y, x + w, y + h)


def dark(p):
    """Lightness (HSL) below 0.3."""
    return (max(p) + min(p)) / 2 < 0.3 * 255


def differing_pixels(a, b):
    return sum(1 for p, q in zip(a.getdata(), b.getdata()) if p != q)


def text_lines(image, box):
    """Lines of dark text in a rectangle of a screenshot: for each, the
    screen row of its middle and the screen column of its first dark
    pixel."""
    x0, y0, w, h = box
    grey = image.crop((x0, y0, x0 + w, y0 + h)).convert("L")
    data = grey.load()
    lines, top, left = [], None, None
    for row in range(h + 1):
        first = None
        if row < h:
            first = next((col for col in range(w) if data[col, row] < 100), None)
        if first is not None:
            if top is None:
                top, left = row, first
            left = min(left, first)
            bottom = row
        elif top is not None:
            lines.append((y0 + (top + bottom) // 2, x0 + left))
            top = None
    return lines
