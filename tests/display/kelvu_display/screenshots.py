"""The screenshots that the README and the metainfo show, taken of the real
installed programs, started as their desktop entries start them (the
launcher, in ~/Kelvu of a scratch home folder): tools/screenshots.py takes them
into docs/screenshots, and a display test takes them again and compares."""
import os

from .menus import write_menu
from .screen import BLACK, DESKTOP, YELLOW, px
from .waiting import wait_until

def frame(screen, window):
    """The window with the window manager's frame: x, y, width, height."""
    x, y, w, h = screen.geometry(window)
    left, right, top, bottom = (screen.cardinals(window, "_NET_FRAME_EXTENTS") + [0] * 4)[:4]
    return (x - left, y - top, w + left + right, h + top + bottom)


def union(a, b):
    x, y = min(a[0], b[0]), min(a[1], b[1])
    return (x, y, max(a[0] + a[2], b[0] + b[2]) - x, max(a[1] + a[3], b[1] + b[3]) - y)


def save(screen, out, name, box, margin=16):
    """A rectangle of a fresh screenshot, with a margin of the screen around
    it, as OUT/NAME.png."""
    x, y = max(box[0] - margin, 0), max(box[1] - margin, 0)
    # Once the windows have been drawn: nothing in the picture changes any more.
    shot = screen.settled((x, y, box[2] + 2 * margin, box[3] + 2 * margin), name + " is drawn")
    shot.crop((x, y, box[0] + box[2] + margin, box[1] + box[3] + margin)).save(
        os.path.join(out, name + ".png"), optimize=True)


def other_window(screen, pid, main):
    """The window of the process besides its main window and the full-screen
    backdrop: the dialog or message it shows."""
    return [w for w in screen.windows(pid) if w.id != main.id
            and screen.geometry(w)[2] < screen.width]


def take(desktop, work, demo, out):
    """Takes every screenshot into the folder out: the programs installed in
    the desktop's prefix, on the demo folder demo, with work as scratch."""
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
    save(screen, out, "supervisor", supervisor)

    def click_twips(left, top, width, height, origin=(wx, wy)):
        screen.click(origin[0] + px(left + width // 2), origin[1] + px(top + height // 2))

    def dialog_shot(button, name, cancel):
        click_twips(*button)
        dialog = wait_until(lambda: other_window(screen, kelvuadm.pid, main), name)[0]
        if name == "spara-som":
            screen.type_text("fredag")
        wait_until(lambda: screen.active() == dialog.id, "the dialog is active")
        save(screen, out, name, supervisor)
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
    save(screen, out, "fel", union(frame(screen, message), supervisor))
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
        save(screen, out, "runner-" + name, frame(screen, runner))
        if card_type != 2:
            kelvu.stop()
    screen.click(rx + 24 + 68, ry + 32 + 68)
    exercise = wait_until(lambda: screen.titled("Räkna"), "the exercise's window")[0]
    wait_until(lambda: screen.active() == exercise.id, "the exercise is active")
    save(screen, out, "ovning", union(frame(screen, exercise), frame(screen, runner)))
    screen.keys("Return")  # "Klar" has the focus
    wait_until(lambda: not screen.titled("Räkna"), "the exercise ends on Klar")
    kelvu.stop()
