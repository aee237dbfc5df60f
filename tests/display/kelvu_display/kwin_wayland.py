"""KDE Plasma's compositor kwin_wayland, headless, with XWayland on a display
number of our own and a private session bus. The screen is what KWin
composes (its screenshot over D-Bus) and clicks go through KWin itself (its
fake-input protocol), so that KWin raises and focuses as for a user: XTest
would reach the X clients only."""
import os
import shutil
import socket
import struct

from Xlib.protocol import display as xprotocol

from . import xsession
from .desktop import Desktop
from .screen import BLACK, Screen
from .waiting import Timeout, wait_until


class KwinWayland(Desktop):
    """A desktop of `outputs` outputs of width × height side by side. The
    programs are offered both X11 and Wayland and choose themselves."""
    BARE = BLACK  # KWin's screen without a wallpaper

    def __init__(self, folder, prefix, outputs=2, width=1280, height=1024):
        self.outputs, self.claimed = outputs, []
        _forget_servers()
        super().__init__(folder, prefix, width, height, wm="kwin_wayland")

    def start_display(self, wm, width, height):
        number, listener = self.claim_display()
        self.bus = xsession.start_session_bus(self.processes, self.folder)
        # A copy without the packaged binary's file capabilities, with which
        # it cannot start as root; KWin's own Qt plugin wants the same name.
        binary = os.path.join(self.folder, "kwinbin", "kwin_wayland")
        os.makedirs(os.path.dirname(binary))
        shutil.copy(shutil.which("kwin_wayland"), binary)
        os.makedirs(os.path.join(self.folder, "home-kwin"))
        env = {k: v for k, v in self.env.items() if not k.startswith(("XDG_", "DISPLAY", "QT_QPA"))}
        env.update(HOME=os.path.join(self.folder, "home-kwin"), DBUS_SESSION_BUS_ADDRESS=self.bus,
                   XDG_RUNTIME_DIR=self.env["XDG_RUNTIME_DIR"],
                   KWIN_SCREENSHOT_NO_PERMISSION_CHECKS="1",
                   KWIN_WAYLAND_NO_PERMISSION_CHECKS="1")  # fake input for any client
        wayland = "kelvu-kwin-%d" % number
        self.kwin = self.processes.start("kwin_wayland", [
            binary, "--virtual", "--xwayland", "--xwayland-fd", listener.fileno(),
            "--xwayland-display", ":%d" % number, "--width", width, "--height", height,
            "--output-count", self.outputs, "--socket", wayland, "--no-lockscreen",
            "--no-global-shortcuts", "--no-kactivities"], env=env, pass_fds=(listener.fileno(),))
        del self.env["QT_QPA_PLATFORM"]
        self.env.update(DISPLAY=":%d" % number, WAYLAND_DISPLAY=wayland, XDG_SESSION_TYPE="wayland")
        self.wayland = os.path.join(self.env["XDG_RUNTIME_DIR"], wayland)

    def claim_display(self):
        """The first free display number from :50 on, taken as X servers
        take one: its lock file, made only where none is, then its socket."""
        os.makedirs("/tmp/.X11-unix", mode=0o1777, exist_ok=True)
        for number in range(50, 200):
            lock, path = "/tmp/.X%d-lock" % number, "/tmp/.X11-unix/X%d" % number
            try:
                fd = os.open(lock, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o444)
            except FileExistsError:
                continue
            os.write(fd, b"%10d\n" % os.getpid())
            os.close(fd)
            self.claimed.append(lock)
            listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
            try:
                listener.bind(path)
            except OSError:  # a socket left by a server that is gone
                listener.close()
                self.release()
                continue
            self.claimed.append(path)
            self.listener = listener
            listener.listen(16)
            return number, listener
        raise AssertionError("no free X display number from :50 to :199")

    def make_screen(self):
        failed = []

        def up():
            assert self.kwin.running(), "kwin_wayland ended:\n" + self.kwin.log()
            try:
                return KwinScreen(self.env["DISPLAY"], self.shots, self.bus, self.wayland)
            except Exception as failure:  # noqa: BLE001 - not up yet, or never
                failed[:] = [failure]
        try:
            return wait_until(up, "XWayland and KWin's screenshots answer", 30)
        except Timeout as timeout:
            raise Timeout("%s: %r" % (timeout, failed)) from None

    def start_window_manager(self, wm):
        wait_until(lambda: xsession.window_manager_running(self.env["DISPLAY"]),
                   "KWin manages the X screen")

    def close(self):
        try:
            super().close()
        finally:
            self.release()
            _forget_servers()

    def release(self):
        if len(self.claimed) == 2:
            self.listener.close()
        while self.claimed:
            os.unlink(self.claimed.pop())


class KwinScreen(Screen):
    def __init__(self, name, shots_folder, bus, wayland):
        super().__init__(name, shots_folder)
        import dbus
        self.dbus, self.bus, self.input = dbus, None, None
        try:
            self.bus = dbus.bus.BusConnection(bus)
            self.capture = dbus.Interface(self.bus.get_object(
                "org.kde.KWin", "/org/kde/KWin/ScreenShot2"), "org.kde.KWin.ScreenShot2")
            self.input = FakeInput(wayland)
        except BaseException:
            self.close()
            raise

    def close(self):
        if self.input:
            self.input.sock.close()
        if self.bus:
            self.bus.close()
        super().close()

    def wait_window(self, pid, title, what=None, timeout=20):
        """The window once KWin has placed it: XWayland shows it at (0,0) first."""
        window = super().wait_window(pid, title, what, timeout)
        wait_until(lambda: window.id in self.stacking(), "KWin manages %r" % title)
        return window

    def in_front(self, window_id):
        """Active, with the focus, and no window stacked above it overlaps it
        (one on the other output may lie above it)."""
        stack = self.stacking()
        if window_id not in stack or self.active() != window_id:
            return False
        x, y, w, h = self.geometry(self.window(window_id))
        for above in stack[stack.index(window_id) + 1:]:
            ax, ay, aw, ah = self.geometry(self.window(above))
            if ax < x + w and x < ax + aw and ay < y + h and y < ay + ah:
                return False
        return self.has_focus(window_id)

    def shot(self, label=None):
        from PIL import Image
        read_end, write_end = os.pipe()
        try:
            meta = self.capture.CaptureWorkspace({"native-resolution": True},
                                                 self.dbus.types.UnixFd(write_end))
        finally:
            os.close(write_end)
        with os.fdopen(read_end, "rb") as pipe:
            data = pipe.read()
        size = (int(meta["width"]), int(meta["height"]))
        self.last = Image.frombuffer("RGBA", size, data, "raw", "BGRA", int(meta["stride"]), 1)
        self.last = self.last.convert("RGB")
        if label:
            self.save(self.last, label)
        return self.last

    def click(self, x, y, count=1, button=1):
        assert button == 1, "only the left button goes through KWin's fake input"
        for _ in range(count):
            self.input.click(x, y)


class FakeInput:
    """A Wayland client of KWin's org_kde_kwin_fake_input, on the wire
    protocol. After each request a round trip: KWin has handled it then."""

    def __init__(self, path):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(path)
        self.last_id, self.buffer, found = 1, b"", {}
        registry = self.request(1, 1, new=True)  # wl_display.get_registry

        def announced(obj, op, body):  # wl_registry.global: name, interface, version
            if obj == registry and op == 0:
                length = struct.unpack_from("<I", body, 4)[0]
                found[body[8:7 + length]] = body[:4] + body[8 + (length + 3) // 4 * 4:]
        self.roundtrip(announced)
        name, version = struct.unpack("<II", found[b"org_kde_kwin_fake_input"])
        interface = struct.pack("<I", name) + _string("org_kde_kwin_fake_input")
        self.fake = self.request(registry, 0, interface + struct.pack("<I", min(version, 4)),
                                 new=True)  # wl_registry.bind
        self.request(self.fake, 0, _string("kelvu tests") + _string("clicks"))  # authenticate
        self.roundtrip()

    def request(self, obj, opcode, body=b"", new=False):
        """Sends a request; with new, one that makes an object: its id."""
        if new:
            self.last_id += 1
            body += struct.pack("<I", self.last_id)
        self.sock.sendall(struct.pack("<II", obj, (8 + len(body)) << 16 | opcode) + body)
        return self.last_id

    def roundtrip(self, handler=lambda obj, op, body: None):
        done = self.request(1, 0, new=True)  # wl_display.sync
        while True:
            while len(self.buffer) < 8 or len(self.buffer) < self.buffer[6] | self.buffer[7] << 8:
                chunk = self.sock.recv(65536)
                assert chunk, "KWin closed the fake-input connection"
                self.buffer += chunk
            obj, word = struct.unpack_from("<II", self.buffer)
            body, self.buffer = self.buffer[8:word >> 16], self.buffer[word >> 16:]
            assert (obj, word & 0xFFFF) != (1, 0), "Wayland protocol error %r" % body
            if obj == done:
                return
            handler(obj, word & 0xFFFF, body)

    def click(self, x, y):
        self.request(self.fake, 9, struct.pack("<ii", x * 256, y * 256))  # motion, absolute
        self.roundtrip()
        for state in (1, 0):  # BTN_LEFT pressed, released
            self.request(self.fake, 2, struct.pack("<II", 0x110, state))
            self.roundtrip()


def _string(text):
    data = text.encode() + b"\0"
    return struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)


def _copy(table):
    return {k: dict(v) if isinstance(v, dict) else v for k, v in table.items()}


# python-xlib keeps the extensions' event numbers of every X server it meets
# in one table, and those of XWayland differ from Xvfb's: the table as it was
# before any connection, put back before and after each session here.
_FIRST_EVENT_CLASSES = _copy(xprotocol.Display.event_classes)


def _forget_servers():
    xprotocol.Display.event_classes.clear()
    xprotocol.Display.event_classes.update(_copy(_FIRST_EVENT_CLASSES))
