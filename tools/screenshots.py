#!/usr/bin/python3
"""Takes the screenshots that the README and the metainfo show, of the real
installed programs on a private Xvfb server with openbox, started as their
desktop entries start them (the launcher, in ~/Kelvu of a scratch home
folder). Writes docs/screenshots/*.png.

    tools/screenshots.py            builds, installs into build/install-prefix
                                    and takes the screenshots of that install
    tools/screenshots.py PREFIX     takes them of the programs in PREFIX
                                    (for example /usr, the installed package)

Runs unattended; it ends every program it started."""
import os
import subprocess
import sys
import tempfile

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(TOP, "tests", "display"))
sys.dont_write_bytecode = True

from kelvu_display.desktop import Desktop  # noqa: E402
from kelvu_display.menus import write_menu  # noqa: E402
from kelvu_display.screen import BLACK, DESKTOP, YELLOW, px  # noqa: E402
from kelvu_display.waiting import wait_until  # noqa: E402

OUT = os.path.join(TOP, "docs", "screenshots")


def frame(screen, window):
    """The window with the window manager's frame: x, y, width, height."""
    x, y, w, h = screen.geometry(window)
    left, right, top, bottom = (screen.cardinals(window, "_NET_FRAME_EXTENTS") + [0] * 4)[:4]
    return (x - left, y - top, w + left + right, h + top + bottom)


def union(a, b):
    x, y = min(a[0], b[0]), min(a[1], b[1])
    return (x, y, max(a[0] + a[2], b[0] + b[2]) - x, max(a[1] + a[3], b[1] + b[3]) - y)


def save(screen, name, box, margin=16):
    """A rectangle of a fresh screenshot, with a margin of the screen around
    it, as docs/screenshots/NAME.png."""
    x, y = max(box[0] - margin, 0), max(box[1] - margin, 0)
    shot = screen.shot(name)
    shot.crop((x, y, box[0] + box[2] + margin, box[1] + box[3] + margin)).save(
        os.path.join(OUT, name + ".png"), optimize=True)
    print("saved", os.path.join(OUT, name + ".png"))


def other_window(screen, pid, main):
    """The window of the process besides its main window and the full-screen
    backdrop: the dialog or message it shows."""
    return [w for w in screen.windows(pid) if w.id != main.id
            and screen.geometry(w)[2] < screen.width]


def main():
    if len(sys.argv) > 1:
        prefix = os.path.abspath(sys.argv[1])
    else:
        os.chdir(TOP)
        if not os.path.exists("build/CMakeCache.txt"):
            subprocess.run(["cmake", "--preset", "default"], check=True)
        subprocess.run(["cmake", "--build", "build"], check=True)
        subprocess.run(["cmake", "--install", "build", "--prefix", "build/install-prefix"],
                       check=True, stdout=subprocess.DEVNULL)
        prefix = os.path.join(TOP, "build", "install-prefix")
    demo = os.path.join(prefix, "share", "kelvu", "demo")
    assert os.path.isdir(demo), "the installed demo %s is missing" % demo
    os.makedirs(OUT, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="kelvu-screenshots.") as work:
        desktop = Desktop(work, prefix)
        try:
            take(desktop, work, demo)
        finally:
            desktop.close()


def take(desktop, work, demo):
    screen = desktop.screen
    desktop.env["HOME"] = os.path.join(work, "home")
    folder = os.path.join(desktop.env["HOME"], "Kelvu")
    os.makedirs(folder)
    desktop.paint_root(DESKTOP)

    def write_demo_menu(card_type):
        exercises = os.path.join(demo, "övningar")
        write_menu(os.path.join(folder, "kelvu.ini"), card_type,
                   [(name + ".exe", os.path.join(exercises, name))
                    for name in ("räkna", "läsa", "rita")],
                   (os.path.join(demo, "bilder"), "stjarna.bmp"))

    # The supervisor on the demo menu, with two saved menus.
    write_demo_menu(2)
    for saved in ("måndag.ini", "tisdag.ini"):
        with open(os.path.join(folder, "kelvu.ini"), "rb") as f, \
                open(os.path.join(folder, saved), "wb") as copy:
            copy.write(f.read())
    kelvuadm = desktop.start_program("kelvuadm", work, through_desktop_entry=True)
    main = screen.wait_window(kelvuadm.pid, "Kelvu handledarsektion")
    wx, wy, _, _ = screen.geometry(main)
    screen.wait_colour(wx + 5, wy + 200, YELLOW, "the supervisor is painted")
    screen.wait_colour(0, 0, BLACK, "the backdrop is up")
    supervisor = frame(screen, main)
    save(screen, "supervisor", supervisor)

    def click_twips(left, top, width, height, origin=(wx, wy)):
        screen.click(origin[0] + px(left + width // 2), origin[1] + px(top + height // 2))

    def dialog_shot(button, name, cancel):
        click_twips(*button)
        dialog = wait_until(lambda: other_window(screen, kelvuadm.pid, main), name)[0]
        if name == "spara-som":
            screen.type_text("fredag")
        wait_until(lambda: screen.active() == dialog.id, "the dialog is active")
        save(screen, name, supervisor)
        click_twips(*cancel, origin=screen.geometry(dialog)[:2])
        wait_until(lambda: not other_window(screen, kelvuadm.pid, main), "the dialog closes")
        wait_until(lambda: screen.active() == main.id, "the main window is active again")

    dialog_shot((7560, 5760, 1575, 855), "spara-som", (600, 2280, 1005, 555))
    dialog_shot((7560, 4800, 1575, 855), "hamta", (2520, 1890, 1005, 555))
    # The count one higher than the exercises chosen (the lower arrow of the
    # count bar), then "OK": the message "Fel", shown with the main window.
    screen.click(wx + px(1087), wy + px(2055) - 6)
    click_twips(5280, 4800, 1575, 855)
    message = screen.wait_window(kelvuadm.pid, "Fel")
    wait_until(lambda: screen.active() == message.id, "the message is active")
    save(screen, "fel", union(frame(screen, message), supervisor))
    screen.keys("Return")
    wait_until(lambda: not screen.windows(kelvuadm.pid, "Fel"), "the message closes")
    click_twips(5280, 5760, 1575, 855)  # "Avbryt" ends without writing
    assert kelvuadm.wait_exit(20) == 0

    # The learner's program with each kind of card; an exercise in front.
    for card_type, name in [(0, "siffror"), (1, "bokstaver"), (3, "former"), (2, "pictogram")]:
        write_demo_menu(card_type)
        kelvu = desktop.start_program("kelvu", work, through_desktop_entry=True)
        runner = screen.wait_window(kelvu.pid, "Arbetsordning")
        rx, ry, _, _ = screen.geometry(runner)
        # The reward star's blue on the fourth card shows that it is drawn.
        screen.wait_colour(rx + 505, ry + 52, (25, 25, 112), "the runner is drawn")
        save(screen, "runner-" + name, frame(screen, runner))
        if card_type != 2:
            kelvu.stop()
    screen.click(rx + 24 + 68, ry + 32 + 68)
    exercise = wait_until(lambda: screen.titled("Räkna"), "the exercise's window")[0]
    wait_until(lambda: screen.active() == exercise.id, "the exercise is active")
    save(screen, "ovning", union(frame(screen, exercise), frame(screen, runner)))
    screen.keys("Return")  # "Klar" has the focus
    wait_until(lambda: not screen.titled("Räkna"), "the exercise ends on Klar")
    kelvu.stop()


if __name__ == "__main__":
    main()
