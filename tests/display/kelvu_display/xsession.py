"""A private X server (Xvfb), split into monitors when asked, with a window
manager and, when asked, a private session bus with the accessibility bus on
it."""
import os
import shutil
import subprocess
from typing import NamedTuple

from Xlib import X, display as xdisplay

from .waiting import wait_until


class WindowManager(NamedTuple):
    command: list
    session_bus: bool = False  # it needs one, as on its own desktop
    env: dict = {}
    panel: str = None          # the title of its own taskbar, up once it is ready
    files: dict = {}           # settings in its home folder, by path


# How each window manager is started: without compositing where it can do
# without, without session management, on X where it could be a Wayland
# compositor.
WINDOW_MANAGERS = {
    "openbox": WindowManager(["openbox", "--sm-disable"]),
    "xfwm4": WindowManager(["xfwm4", "--compositor=off", "--sm-client-disable"], True),
    "mutter": WindowManager(["mutter", "--x11", "--replace", "--sm-disable"], True,
                            {"XDG_SESSION_TYPE": "x11"}),
    # Without its compositor: its effects animate windows as they open, close
    # and minimise, which only makes the pictures late.
    "kwin_x11": WindowManager(["kwin_x11", "--replace"], True,
                              {"QT_QPA_PLATFORM": "xcb", "KWIN_COMPOSE": "N"}),
    "icewm": WindowManager(["icewm"], panel="TaskBar"),
    "metacity": WindowManager(["metacity", "--replace", "--sm-disable"], True),
    "marco": WindowManager(["marco", "--replace", "--sm-disable", "--no-composite"], True),
    # Its styles' pictures need a program that sets the background, which
    # says in a window of its own when it is missing.
    "fluxbox": WindowManager(["fluxbox"], files={".fluxbox/overlay": "background: none\n"}),
}

# A session bus that starts no services of its own: every process on it is
# one the test started.
_BUS_CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=%s</listen>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
"""


def missing_tools(*tools):
    return [tool for tool in tools if not (os.path.isabs(tool) and os.access(tool, os.X_OK))
            and shutil.which(tool) is None]


def start_x_server(processes, width, height):
    """Starts Xvfb on a display number it picks itself; returns ":N"."""
    read_end, write_end = os.pipe()
    try:
        # -noreset: the server stays up when its last client leaves.
        processes.start("xvfb", ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                 "%dx%dx24" % (width, height), "-nolisten", "tcp", "-noreset"],
                        pass_fds=(write_end,))
        os.close(write_end)
        write_end = None
        number = b""
        os.set_blocking(read_end, False)

        def announced():
            nonlocal number
            try:
                number += os.read(read_end, 32)
            except BlockingIOError:
                pass
            return number.endswith(b"\n")

        wait_until(announced, "the X server announces its display number")
        return ":" + number.decode().strip()
    finally:
        os.close(read_end)
        if write_end is not None:
            os.close(write_end)


def window_manager_running(name):
    """Whether a window manager manages the screen: it names its check
    window on the root window."""
    connection = xdisplay.Display(name)
    try:
        atom = connection.intern_atom("_NET_SUPPORTING_WM_CHECK")
        reply = connection.screen().root.get_full_property(atom, X.AnyPropertyType)
        return bool(reply and reply.value)
    finally:
        connection.close()


def split_into_monitors(env, widths, height):
    """Makes monitors of the given widths, side by side, of the one screen
    (RandR 1.5), as screens beside each other are: the first takes the
    screen's output, so that its own monitor goes."""
    left = 0
    for number, width in enumerate(widths):
        # Sizes in millimetres at 4 pixels each.
        geometry = "%d/%dx%d/%d+%d+0" % (width, width // 4, height, height // 4, left)
        subprocess.run(["xrandr", "--setmonitor", "KELVU-%d" % number, geometry,
                        "screen" if number == 0 else "none"], env=env, check=True)
        left += width


def start_window_manager(processes, wm, env, folder):
    """Starts the window manager with a home folder of its own, so that
    its settings are its defaults, and a session bus if it needs one.
    Returns once it names its check window on the root window."""
    manager = WINDOW_MANAGERS[wm]
    home = os.path.join(folder, "home-" + wm)
    os.makedirs(home)
    for path, text in manager.files.items():
        os.makedirs(os.path.dirname(os.path.join(home, path)), exist_ok=True)
        with open(os.path.join(home, path), "w") as f:
            f.write(text)
    wm_env = {k: v for k, v in env.items() if not k.startswith("XDG_") or k == "XDG_RUNTIME_DIR"}
    wm_env.update(manager.env, HOME=home)
    if manager.session_bus:
        bus = env.get("DBUS_SESSION_BUS_ADDRESS", "")
        wm_env["DBUS_SESSION_BUS_ADDRESS"] = \
            bus if bus.startswith("unix:") else start_session_bus(processes, folder)
    process = processes.start(wm, manager.command, env=wm_env)
    wait_until(lambda: not process.running() or window_manager_running(env["DISPLAY"]),
               "the window manager %s manages the screen" % wm)
    assert process.running(), "the window manager %s ended at once:\n%s" % (wm, process.log())
    return process


def start_session_bus(processes, folder):
    """A private session bus; returns its address."""
    path = os.path.join(folder, "session-bus")
    config = os.path.join(folder, "session-bus.conf")
    with open(config, "w") as f:
        f.write(_BUS_CONFIG % path)
    processes.start("dbus", ["dbus-daemon", "--nofork", "--nopidfile",
                             "--config-file=" + config])
    wait_until(lambda: os.path.exists(path), "the session bus is up")
    return "unix:path=" + path


def bus_has_name(env, name):
    result = subprocess.run(["dbus-send", "--session", "--print-reply",
                             "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                             "org.freedesktop.DBus.NameHasOwner", "string:" + name],
                            env=env, capture_output=True, text=True)
    return "boolean true" in result.stdout


def start_accessibility_bus(processes, env, folder):
    """A private session bus and the AT-SPI bus launcher on it, as a desktop
    with a screen reader has them; the programs started afterwards export
    their accessible tree there, whatever the desktop's own setting."""
    env["DBUS_SESSION_BUS_ADDRESS"] = start_session_bus(processes, folder)
    processes.start("atspi", ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                    env=env)
    wait_until(lambda: bus_has_name(env, "org.a11y.Bus"), "the AT-SPI bus is up")
    env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
