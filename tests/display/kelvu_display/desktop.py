"""One test's desktop: a private X server with a window manager, the
installed programs started on it, and everything ended by its own id when
the test is over."""
import os
import shutil

from . import processes, xsession
from .screen import DESKTOP, Screen
from .waiting import wait_until

# Variables that would make the programs run otherwise than a user's do.
_UNSET = ["QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR",
          "QT_FONT_DPI", "QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "SESSION_MANAGER"]


class Desktop:
    # The colour of the bare screen where no window is.
    BARE = DESKTOP

    def __init__(self, folder, prefix, width=1280, height=1024, wm="openbox",
                 accessibility=False, scale=None, monitors=None):
        """monitors: the widths of monitors side by side, all of the height,
        in place of one of the width."""
        self.folder = folder
        self.prefix = prefix
        self.logs = os.path.join(folder, "logs")
        self.shots = os.path.join(folder, "shots")
        runtime = os.path.join(folder, "runtime")
        for path in (self.logs, self.shots):
            os.makedirs(path)
        os.makedirs(runtime, mode=0o700)
        self.processes = processes.Processes(self.logs)
        self.recorded = []
        self.env = {k: v for k, v in os.environ.items() if k not in _UNSET}
        # Qt wants a private runtime folder; the programs run on X, and libdbus
        # starts no session bus of its own that would outlive the test.
        self.env.update(XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb",
                        DBUS_SESSION_BUS_ADDRESS="disabled:")
        if scale:
            self.env["QT_SCALE_FACTOR"] = str(scale)
        self.screen = None
        try:
            self.start_display(wm, sum(monitors) if monitors else width, height)
            if monitors:
                xsession.split_into_monitors(self.env, monitors, height)
            self.screen = self.make_screen()
            if accessibility:
                xsession.start_accessibility_bus(self.processes, self.env, folder)
            self.start_window_manager(wm)
        except BaseException:
            self.close()
            raise

    def start_display(self, wm, width, height):
        self.env["DISPLAY"] = xsession.start_x_server(self.processes, width, height)

    def make_screen(self):
        return Screen(self.env["DISPLAY"], self.shots)

    def start_window_manager(self, wm):
        """Returns once the window manager handles requests, its own taskbar
        up if it has one."""
        xsession.start_window_manager(self.processes, wm, self.env, self.folder)
        self.screen.wm_sync()
        panel = xsession.WINDOW_MANAGERS[wm].panel
        if panel:
            wait_until(lambda: self.screen.titled(panel), "the taskbar %r of %s" % (panel, wm))

    def close(self):
        if self.screen:
            self.screen.close()
        for pid_file, command in self.recorded:
            processes.end_recorded_process(pid_file, command)
        self.processes.stop_all()

    def end_at_close(self, pid_file, command):
        """A process that a program of ours starts (an exercise) writes its id
        to pid_file; it is ended with the test, if it still runs."""
        self.recorded.append((pid_file, command))

    def paint_root(self, colour):
        """Gives the bare screen a colour of its own, so that a screenshot
        tells the programs' black backdrop from an empty screen."""
        r, g, b = colour
        self.screen.root.change_attributes(background_pixel=(r << 16) | (g << 8) | b)
        self.screen.root.clear_area()
        self.screen.x.sync()
        self.screen.wait_colour(0, 0, colour, "the bare screen is painted %r" % (colour,))

    def open_other_window(self, folder, x, y):
        """Another program's window, 300 × 150 at (x, y), up and painted on
        the bare screen; returns its rectangle."""
        self.start("other-%d-%d" % (x, y), ["xmessage", "-title", "Annan %d" % x, "-geometry",
                                            "300x150+%d+%d" % (x, y), "Ett annat program"],
                   folder)
        window = wait_until(lambda: self.screen.titled("Annan %d" % x), "the other window")[0]
        wait_until(lambda: window.id in self.screen.stacking(), "the other window is managed")
        self.screen.wm_sync()
        box = self.screen.geometry(window)
        self.screen.wait_not_colour(box[0] + 5, box[1] + 5, self.BARE, "the other window is painted")
        return box

    def program(self, name):
        path = os.path.join(self.prefix, "bin", name)
        assert os.access(path, os.X_OK), "installed program %s not found" % path
        return path

    def desktop_entry_command(self, name):
        """The Exec line of the program's installed desktop entry, which runs
        the launcher: the program then starts in ~/Kelvu."""
        entry_id = "org.kelvu.Kelvuadm" if name == "kelvuadm" else "org.kelvu.Kelvu"
        entry = os.path.join(self.prefix, "share", "applications", entry_id + ".desktop")
        with open(entry, encoding="utf-8") as f:
            lines = [line[5:].strip() for line in f if line.startswith("Exec=")]
        assert lines, "the desktop entry %s has no Exec line" % entry
        return lines[0].split()

    def start(self, name, args, folder, **env):
        return self.processes.start(name, args, cwd=folder, env=dict(self.env, **env))

    def start_program(self, name, folder, through_desktop_entry=False, **env):
        """Starts an installed program (kelvu, kelvuadm) in the folder, as a
        user does from a terminal, or as the desktop menu starts it."""
        args = (self.desktop_entry_command(name) if through_desktop_entry
                else [self.program(name)])
        return self.start(name, args, folder, **env)

    def keep(self, destination):
        """Copies the screenshots and logs to destination."""
        shutil.rmtree(destination, ignore_errors=True)
        os.makedirs(destination)
        for part in (self.shots, self.logs):
            shutil.copytree(part, os.path.join(destination, os.path.basename(part)))
