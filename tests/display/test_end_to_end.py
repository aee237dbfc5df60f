"""The two installed programs from end to end on a real X display: the
supervisor started in an empty folder builds a menu through its real
controls and file dialogs and saves it with "OK"; the runner started in the
same folder shows that menu and starts that exercise. Another program's
window, open before either starts, stays hidden behind the black backdrop
throughout. Run twice: with the programs started as they are, and as their
installed desktop entries start them (the launcher, in ~/Kelvu of a fresh
home folder)."""
import os

import pytest
from PIL import Image

from kelvu_display import hints
from kelvu_display.accessible import read_tree
from kelvu_display.faces import face_digit
from kelvu_display.screen import BLACK, DESKTOP, MAGENTA, YELLOW, differing_pixels, px, text_lines
from kelvu_display.waiting import holds_for, wait_until


class Window:
    """A program window on the screen; controls given in twips."""

    def __init__(self, screen, window):
        self.screen, self.window, self.id = screen, window, window.id
        self.x, self.y, self.w, self.h = screen.geometry(window)

    def middle(self, left, top, width, height):
        return (self.x + px(left + width // 2), self.y + px(top + height // 2))

    def click(self, left, top, width, height):
        self.screen.click(*self.middle(left, top, width, height))


def list_lines(screen, main, below_first_row=False, fresh=True):
    """The lines of text in the exercise list (1560, 480, 2655, 2160); the
    selected first entry (light on the highlight) left out when asked."""
    skip = 17 if below_first_row else 0
    return text_lines(screen.shot() if fresh else screen.last, (main.x + px(1560) + 4, main.y + px(480) + 3 + skip,
                                      px(2655) - 8, px(2160) - 6 - skip))


def pick_file(desktop, program, main, button, title, path):
    """Opens the file dialog with a button, types the file's name into its
    name box, confirms."""
    screen = desktop.screen
    main.click(*button)
    dialog = screen.wait_window(program.pid, title, "the file dialog %r" % title)
    wait_until(lambda: screen.focus().id == dialog.id, "the file dialog %r has the focus" % title)

    def name_box():
        tree = read_tree(program.pid, desktop.env)
        return tree and tree.all("dialog", title) and \
            tree.subtree("dialog", title).find("text", "Filnamn:")
    # Qt's dialog gives the name box the focus, or at times its list of files:
    # then the name box is clicked, as a user would.
    box = wait_until(name_box, "the file dialog's name box")
    if "focused" not in box.states:
        screen.click(*box.centre())
        wait_until(lambda: "focused" in name_box().states, "the name box has the focus")
    screen.type_text(path)
    wait_until(lambda: name_box().text == path, "the name is typed %r" % (name_box().text,))
    screen.keys("Return")
    wait_until(lambda: not screen.windows(program.pid, title), "the file dialog closes")
    screen.settled((main.x, main.y, main.w, main.h), "the main window is drawn again")


def same_bytes(copy, original):
    """Whether the copy exists and holds the original's bytes."""
    if not os.path.exists(copy):
        return False
    with open(copy, "rb") as a, open(original, "rb") as b:
        return a.read() == b.read()


def stacked_above(screen, upper, lower):
    stack = screen.stacking()
    return upper in stack and lower in stack and stack.index(upper) > stack.index(lower)


@pytest.mark.parametrize("start", ["program", "desktop-entry"])
@pytest.mark.desktop(accessibility=True)
def test_menu_from_supervisor_to_runner(desktop, tmp_path, start):
    screen = desktop.screen
    through_entry = start == "desktop-entry"
    desktop.paint_root(DESKTOP)
    home = tmp_path / "hem"
    start_folder = home
    # The names are typed into the file dialog: ASCII, since xdotool types
    # other letters by remapping keys (the widget tests cover å, ä and ö).
    for folder in ("ovningar", "bilder"):
        (tmp_path / folder).mkdir()
    if through_entry:
        # A file named Kelvu where the working folder belongs: the launcher
        # says so in a window and leaves the file as it was.
        (tmp_path / "blocked").mkdir()
        (tmp_path / "blocked" / "Kelvu").write_text("egen fil\n")
        blocked = desktop.start_program("kelvuadm", tmp_path, True, HOME=str(tmp_path / "blocked"))
        screen.wait_window(blocked.pid, "Kelvu", "the launcher's window about ~/Kelvu")
        assert (tmp_path / "blocked" / "Kelvu").read_text() == "egen fil\n"
        blocked.stop()
        desktop.env["HOME"] = str(tmp_path / "home")
        (tmp_path / "home").mkdir()
        home = tmp_path / "home" / "Kelvu"
        start_folder = tmp_path
    else:
        home.mkdir()
    exercise = tmp_path / "ovningar" / "rita.exe"
    exercise.write_text('#!/bin/sh\necho $$ > "%s"\npwd > "%s"\n'
                        'exec xmessage -title Rita -geometry 300x100+20+20 "Rita en bild"\n'
                        % (tmp_path / "rita.pid", tmp_path / "started.txt"))
    exercise.chmod(0o755)
    desktop.end_at_close(str(tmp_path / "rita.pid"), "xmessage")
    picture = tmp_path / "bilder" / "pris.bmp"
    Image.new("RGB", (64, 64), MAGENTA).save(picture)

    # Another program's window, open before either program starts, away from
    # the programs' centred windows and from the exercise's window.
    other = desktop.open_other_window(tmp_path, 900, 40)
    assert screen.not_black(other) >= other[2] * other[3] // 2

    def assert_other_hidden(when):
        assert screen.not_black(other) == 0, "%s: the other window shows" % when

    # --- the supervisor ---------------------------------------------------------------
    kelvuadm = desktop.start_program("kelvuadm", start_folder, through_entry)
    main = Window(screen, screen.wait_window(kelvuadm.pid, "Kelvu handledarsektion"))
    assert (main.w, main.h) == (634, 455)
    wait_until(lambda: screen.shows(0, 0, BLACK), "the backdrop is up")
    screen.wait_colour(main.x + 5, main.y + 200, YELLOW, "the supervisor's window is painted")
    screen.shot("supervisor-start")
    kort = os.path.join(desktop.prefix, "share", "kelvu", "kort")
    if through_entry:
        for n in range(1, 10):
            assert same_bytes(home / ("%dnum.bmp" % n), os.path.join(kort, "%dnum.bmp" % n))
    assert_other_hidden("the supervisor is up")
    # The backdrop and the main window as they ask the window manager.
    backdrop = screen.backdrop(kelvuadm.pid)
    assert screen.hints(backdrop) == hints.BACKDROP
    assert screen.hints(main.window) == hints.main_window(backdrop.id)

    add_exercise = (1560, 2760, 2655, 495)
    pick_file(desktop, kelvuadm, main, add_exercise, "Hämta fil", str(exercise))
    screen.shot("exercise-added")
    assert len(list_lines(screen, main, fresh=False)) == 1
    tree = read_tree(kelvuadm.pid, desktop.env)
    assert [n.name for n in tree.subtree("list", "Valda övningar").all("list item")] == \
        ["rita.exe"]

    # "OK" with the count at 3 and one exercise listed: "Fel", in front of the
    # backdrop, and still in front and focused after a click on black.
    main.click(5280, 4800, 1575, 855)
    message = screen.wait_window(kelvuadm.pid, "Fel")
    mx, my, _, _ = screen.geometry(message)
    assert screen.hints(message) == hints.main_window(main.id, modal=True)
    screen.click_black(message.id, "the message")
    screen.wait_not_colour(mx + 5, my + 5, BLACK, "the message lies in front of the backdrop")
    screen.wait_colour(main.x + 5, main.y + 200, YELLOW, "the main window stays under it")
    screen.shot("message-black-clicked")
    assert_other_hidden("a click on black with the message shown")
    screen.keys("Return")
    wait_until(lambda: not screen.windows(kelvuadm.pid, "Fel"), "the message closes on Enter")

    # The count's thumb dragged from 3 to the top, past the 2 exercises listed:
    # the count does not move while the thumb does, and on release it is 3.
    pick_file(desktop, kelvuadm, main, add_exercise, "Hämta fil", str(exercise))
    assert len(list_lines(screen, main, True, fresh=False)) == 1, "a second entry"
    count_box = (main.x + 32, main.y + 72, 30, 49)    # Label3 (480, 1080, 495, 735)
    bar_box = (main.x + 64, main.y + 56, 17, 81)      # VScroll1 (960, 840, 255, 1215)
    count_before, bar_before = screen.region(*count_box), screen.region(*bar_box)
    thumb = (main.x + 72, main.y + 93)                # rows 24 to 49 of the bar at 3
    screen.move(*thumb)
    screen.press()
    for step in range(2, 41, 2):  # small steps: the thumb passes every value
        screen.move(thumb[0], thumb[1] - step)
    wait_until(lambda: differing_pixels(screen.shot() and screen.region(*bar_box),
                                        bar_before) > 0, "the thumb follows the pointer")
    screen.shot("thumb-dragged")
    assert differing_pixels(screen.region(*count_box), count_before) == 0, "count while dragging"
    screen.release()
    wait_until(lambda: differing_pixels(screen.shot() and screen.region(*bar_box),
                                        bar_before) == 0, "the thumb goes back to 3")
    screen.shot("thumb-released")
    assert differing_pixels(screen.region(*count_box), count_before) == 0, "count after release"
    # A double-click on the first entry removes it: one entry is left.
    screen.click(main.x + px(1560) + 20, main.y + px(480) + 10, count=2)
    wait_until(lambda: not list_lines(screen, main, below_first_row=True), "one entry left")

    # Two clicks on the upper arrow lower the count from 3 to 1; the picture.
    def count():
        tree = read_tree(kelvuadm.pid, desktop.env)
        return tree and tree.find("scroll bar", "Antal övningar").value
    for expected in (2, 1):
        screen.click(main.x + px(960 + 127), main.y + px(840) + 6)
        wait_until(lambda: count() == expected, "the count at %d" % expected)
    pick_file(desktop, kelvuadm, main, (6600, 1920, 2655, 495), "Hämta ", str(picture))
    screen.click_black(main.id, "the supervisor's window")
    screen.wait_colour(main.x + 5, main.y + 200, YELLOW, "the main window stays in front")
    screen.shot("black-clicked")
    assert_other_hidden("a click on black")

    # "Spara som": the captionless dialog, in front; no minimise or maximise.
    main.click(7560, 5760, 1575, 855)
    save = Window(screen, wait_until(
        lambda: [w for w in screen.windows(kelvuadm.pid, " ")
                 if screen.geometry(w)[2] < screen.width], "the save-settings dialog")[0])
    assert (save.w, save.h) == (250, 219)
    assert screen.hints(save.window) == hints.settings_dialog(backdrop.id)
    screen.minimise(save.window)
    assert holds_for(lambda: screen.viewable(save.window), 2), "the dialog was minimised"
    # The main window minimised anyway, by the window manager's key: one click
    # on black brings it back, the dialog in front of it with the focus, and
    # the main window in front of the backdrop.
    screen.minimise(main.window)
    screen.wm_sync()
    screen.click(5, 5)
    wait_until(lambda: screen.viewable(main.window), "one click on black brings it back")
    wait_until(lambda: screen.active() == save.id, "the dialog has the focus again")
    wait_until(lambda: stacked_above(screen, save.id, main.id), "the dialog above the main window")
    assert stacked_above(screen, main.id, backdrop.id), screen.stacking()
    screen.click_black(save.id, "the save-settings dialog")
    screen.wait_colour(save.x + 5, save.y + 5, YELLOW, "the dialog stays in front")
    screen.shot("save-dialog")
    assert screen.pixel(0, 0) == BLACK
    assert_other_hidden("a click on black with the dialog shown")
    save.click(600, 2280, 1005, 555)  # "Avbryt"
    wait_until(lambda: not screen.viewable(save.window), "Avbryt closes the dialog")

    main.click(5280, 4800, 1575, 855)  # "OK": the checks pass, the menu is saved
    assert kelvuadm.wait_exit(20) == 0
    assert (home / "kelvu.ini").read_bytes() == (
        '1\r\n0\r\n"rita.exe"\r\n"%s"\r\n0\r\n"%s"\r\n"pris.bmp"\r\n'
        % (tmp_path / "ovningar", tmp_path / "bilder")).encode()

    # --- the runner on that menu -------------------------------------------------------
    if through_entry:
        # A picture of the user's own stays; a missing one comes back.
        (home / "2num.bmp").write_bytes(b"egen bild")
        (home / "5num.bmp").unlink()
    kelvu = desktop.start_program("kelvu", start_folder, through_entry)
    runner = Window(screen, screen.wait_window(kelvu.pid, "Arbetsordning"))
    card0 = (runner.x + 24 + 68, runner.y + 32 + 68)
    card1 = (runner.x + 177 + 68, runner.y + 32 + 68)
    screen.wait_colour(*card1, MAGENTA, "the reward picture on the second card")
    screen.shot("runner-start")
    assert screen.pixel(runner.x + 331 + 68, card0[1]) != MAGENTA, "no third card"
    assert face_digit(screen.last, (runner.x + 34, runner.y + 42, 117, 117)) == "1"
    assert_other_hidden("the runner is up")
    if through_entry:
        assert (home / "2num.bmp").read_bytes() == b"egen bild"
        assert same_bytes(home / "5num.bmp", os.path.join(kort, "5num.bmp"))

    screen.click(*card0)
    wait_until(lambda: (tmp_path / "started.txt").exists() and
               (tmp_path / "started.txt").read_text(), "the exercise starts")
    assert (tmp_path / "started.txt").read_text() == "%s\n" % (tmp_path / "ovningar")
    # Its window comes up in front of the backdrop, with the focus.
    rita = wait_until(lambda: screen.titled("Rita"), "the exercise's window")[0]
    rx, ry, _, _ = screen.geometry(rita)
    wait_until(lambda: screen.shot().getpixel((rx + 5, ry + 5)) != BLACK,
               "the exercise's window lies in front of the backdrop")
    screen.shot("exercise-window")
    wait_until(lambda: screen.active() == rita.id, "the exercise's window has the focus")
    os.kill(int((tmp_path / "rita.pid").read_text()), 15)
    screen.wait_colour(*card0, YELLOW, "the started exercise's card is gone")
    screen.click_black(runner.id, "the runner")
    screen.wait_colour(*card1, MAGENTA, "the runner stays in front")
    screen.shot("runner-black-clicked")
    assert_other_hidden("a click on black in the runner")

    screen.click(*card1)
    assert kelvu.wait_exit(20) == 0
