"""A private X server (Xvfb) with a window manager and, when asked, a
private session bus with the accessibility bus on it."""
import os
import shutil
import subprocess

from Xlib import X, display as xdisplay

from .waiting import wait_until

# How each window manager is started, and the tools it needs.
WINDOW_MANAGERS = {
    "openbox": ["openbox", "--sm-disable"],
}


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


def start_window_manager(processes, wm, env):
    process = processes.start(wm, WINDOW_MANAGERS[wm], env=env)
    wait_until(lambda: not process.running() or window_manager_running(env["DISPLAY"]),
               "the window manager %s manages the screen" % wm)
    assert process.running(), "the window manager %s ended at once:\n%s" % (wm, process.log())
    return process


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
    bus = os.path.join(folder, "session-bus")
    processes.start("dbus", ["dbus-daemon", "--session", "--nofork", "--nopidfile",
                             "--address=unix:path=" + bus], env=env)
    wait_until(lambda: os.path.exists(bus), "the session bus is up")
    env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + bus
    processes.start("atspi", ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                    env=env)
    wait_until(lambda: bus_has_name(env, "org.a11y.Bus"), "the AT-SPI bus is up")
    env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
