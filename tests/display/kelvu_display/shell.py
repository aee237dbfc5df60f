"""Stand-ins for what a desktop shell shows, as the window manager sees those
of GNOME, KDE, Xfce and MATE: the desktop's own window under every other
(its icons' background), in green, and a panel along the top edge whose rows
no other window may take (a strut), in orange. Both last until the test's
connection to the X server ends."""
from Xlib import X, Xatom, Xutil

from .screen import DESKTOP

ORANGE = (255, 128, 0)


def _open(screen, title, kind, colour, height):
    r, g, b = colour
    window = screen.root.create_window(0, 0, screen.width, height, 0, X.CopyFromParent,
                                       X.InputOutput, X.CopyFromParent,
                                       background_pixel=(r << 16) | (g << 8) | b)
    atom = screen.atom
    window.set_wm_name(title)
    window.set_wm_hints(flags=Xutil.InputHint, input=0)
    # Its place and size are the user's choice, which window managers keep.
    window.set_wm_normal_hints(
        flags=Xutil.USPosition | Xutil.USSize | Xutil.PMinSize | Xutil.PMaxSize, x=0, y=0,
        width=screen.width, height=height, min_width=screen.width, min_height=height,
        max_width=screen.width, max_height=height)
    window.change_property(atom("_NET_WM_WINDOW_TYPE"), Xatom.ATOM, 32,
                           [atom("_NET_WM_WINDOW_TYPE_" + kind)])
    window.change_property(atom("_NET_WM_DESKTOP"), Xatom.CARDINAL, 32, [0xFFFFFFFF])
    return window


def open_desktop(screen):
    """The desktop's window, in place of the bare screen, which compositing
    window managers paint themselves."""
    window = _open(screen, "Skrivbord", "DESKTOP", DESKTOP, screen.height)
    window.map()
    screen.x.sync()
    screen.wait_colour(screen.width // 2, screen.height // 2, DESKTOP, "the desktop is up")
    return window


def open_dock(screen, height=32):
    window = _open(screen, "Panel", "DOCK", ORANGE, height)
    atom = screen.atom
    window.change_property(atom("_NET_WM_STRUT"), Xatom.CARDINAL, 32, [0, 0, height, 0])
    # Left, right, top, bottom; then where each runs: the top one, all along.
    window.change_property(atom("_NET_WM_STRUT_PARTIAL"), Xatom.CARDINAL, 32,
                           [0, 0, height, 0, 0, 0, 0, 0, 0, screen.width - 1, 0, 0])
    window.map()
    screen.x.sync()
    screen.wait_colour(screen.width // 2, height // 2, ORANGE, "the panel is up")
    return window
