"""The installed learner's program "kelvu" on a real X display: the window
and its cards as laid out, the black backdrop over the whole screen, the
cards clicked in and out of order, a click on the black area, the end on the
reward picture; and the message for a missing menu."""
import os
import pytest
from PIL import Image

from kelvu_display import hints
from kelvu_display.accessible import read_tree
from kelvu_display.faces import face_digit
from kelvu_display.menus import write_menu
from kelvu_display.screen import BLACK, DESKTOP, MAGENTA, YELLOW, dark, differing_pixels
from kelvu_display.waiting import wait_until

# The runner's client area and its first row of cards, in pixels.
CLIENT = (634, 455)
CARD_SIDE = 137
CARD_LEFT = [24, 177, 331, 484]
ROW1_TOP, ROW2_TOP = 32, 300


def black_points(screen):
    """The corners and the middle of the side edges, away from a centred
    634 × 455 window."""
    w, h = screen.width, screen.height
    return [(0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1), (40, h // 2), (w - 40, h // 2)]


def assert_black_screen(screen, when):
    seen = {point: screen.pixel(*point) for point in black_points(screen)}
    assert all(colour == BLACK for colour in seen.values()), "%s: %r" % (when, seen)


def assert_program_gone(desktop):
    desktop.screen.wait_colour(0, 0, DESKTOP, "the backdrop goes with the program")
    middle = (desktop.screen.width // 2, desktop.screen.height // 2)
    assert desktop.screen.shot("after-end").getpixel(middle) == DESKTOP, \
        "a window of the program is left in the middle of the screen"


class Runner:
    """The runner's window on the screen: its cards by index."""

    def __init__(self, screen, window):
        self.screen = screen
        self.window = window
        self.x, self.y, self.w, self.h = screen.geometry(window)

    def centre(self, k):
        return (self.x + CARD_LEFT[k] + CARD_SIDE // 2, self.y + ROW1_TOP + CARD_SIDE // 2)

    def face(self, k):
        """The inside of card k's face, clear of the bevel."""
        return (self.x + CARD_LEFT[k] + 10, self.y + ROW1_TOP + 10, CARD_SIDE - 20,
                CARD_SIDE - 20)

    def click(self, k):
        self.screen.click(*self.centre(k))

    def gone(self, k):
        return self.screen.shows(*self.centre(k), YELLOW)

    def outline_faults(self, k):
        """Where card k is not a 137-pixel square at its place: the window's
        background must lie just outside its edges and not on them."""
        left, top = self.x + CARD_LEFT[k], self.y + ROW1_TOP
        mid_x, mid_y, last = left + CARD_SIDE // 2, top + CARD_SIDE // 2, CARD_SIDE - 1
        background = {"left of it": (left - 1, mid_y), "right of it": (left + CARD_SIDE, mid_y),
                      "above it": (mid_x, top - 1), "below it": (mid_x, top + CARD_SIDE)}
        edges = {"its left edge": (left, mid_y), "its right edge": (left + last, mid_y),
                 "its top edge": (mid_x, top), "its bottom edge": (mid_x, top + last)}
        return ([where for where, p in background.items() if self.screen.pixel(*p) != YELLOW] +
                [where for where, p in edges.items() if self.screen.pixel(*p) == YELLOW])


def make_exercises(root, log):
    """Three exercises in folders with spaces, a comma and Swedish letters,
    all named starta.sh, so that each entry must start the program of its
    own folder. Each appends its number and real folder to the log."""
    folders = [os.path.join(root, "Övningar", name)
               for name in ("första övningen", "andra, med komma", "tredje")]
    for k, folder in enumerate(folders, 1):
        os.makedirs(folder)
        script = os.path.join(folder, "starta.sh")
        with open(script, "w") as f:
            f.write('#!/bin/sh\nprintf "%%s %%s\\n" %d "$(pwd -P)" >>"%s"\n' % (k, log))
        os.chmod(script, 0o755)
    return folders


def started(log):
    if not os.path.exists(log):
        return []
    with open(log) as f:
        return f.read().splitlines()


@pytest.mark.parametrize("desktop", [dict(width=1280, height=1024), dict(width=800, height=600)],
                         ids=["1280x1024", "800x600"], indirect=True)
def test_menu_in_order_on_the_black_screen(desktop, tmp_path):
    screen = desktop.screen
    desktop.paint_root(DESKTOP)
    start, pictures = tmp_path / "start", tmp_path / "Bilder"
    start.mkdir()
    pictures.mkdir()
    log = str(tmp_path / "exercises.log")
    folders = make_exercises(str(tmp_path), log)
    Image.new("RGB", (160, 160), MAGENTA).save(pictures / "belöning.png")
    write_menu(start / "kelvu.ini", 0, [("starta.sh", f) for f in folders],
               (str(pictures), "belöning.png"))

    kelvu = desktop.start_program("kelvu", start)
    runner = Runner(screen, screen.wait_window(kelvu.pid, "Arbetsordning"))
    screen.wait_colour(runner.x + 5, runner.y + 5, YELLOW, "the runner's window is painted")
    screen.shot("start")

    # The window: its size, centred on the screen, in front and active.
    assert (runner.w, runner.h) == CLIENT
    want = ((screen.width - CLIENT[0]) // 2, (screen.height - CLIENT[1]) // 2)
    # An odd difference leaves half a pixel that may go either way.
    assert want[0] <= runner.x <= want[0] + 1 and want[1] <= runner.y <= want[1] + 1, \
        "the client area is at (%d,%d), centred would be %r" % (runner.x, runner.y, want)
    assert screen.active() == runner.window.id
    # The backdrop: another window of the program, covering the whole screen.
    others = [screen.geometry(w) for w in screen.windows(kelvu.pid) if w.id != runner.window.id]
    assert (0, 0, screen.width, screen.height) in others, others
    backdrop = screen.backdrop(kelvu.pid)
    assert screen.hints(backdrop) == hints.BACKDROP
    assert screen.hints(runner.window) == hints.main_window(backdrop.id)
    assert_black_screen(screen, "at start")

    # The background, the four cards of the first row, none in the second.
    for x, y in [(5, 5), (CLIENT[0] - 6, 5), (5, CLIENT[1] - 6), (CLIENT[0] - 6, CLIENT[1] - 6),
                 (317, 234)]:
        assert screen.pixel(runner.x + x, runner.y + y) == YELLOW, (x, y)
    for k in range(4):
        assert runner.outline_faults(k) == [], "card %d" % k
        below = (runner.centre(k)[0], runner.y + ROW2_TOP + CARD_SIDE // 2)
        assert screen.pixel(*below) == YELLOW, "a card under card %d" % k
    faces = []
    for k in range(3):
        ink = screen.share(runner.face(k), dark)
        assert 0.03 < ink < 0.6, "card %d: dark share of its face is %.3f" % (k, ink)
        assert face_digit(screen.last, runner.face(k)) == str(k + 1), "card %d" % k
        faces.append(screen.region(*runner.face(k)))
    for a, b in [(0, 1), (0, 2), (1, 2)]:
        assert differing_pixels(faces[a], faces[b]) > 0, "cards %d and %d look the same" % (a, b)
    assert screen.share(runner.face(3), lambda p: p == MAGENTA) > 0.95, "the reward picture"

    # Card 1 before card 0, and the reward picture, do nothing. The click on
    # card 0 that follows shows that those clicks have been handled: a card
    # that started an exercise would have gone first.
    expected = ["%d %s" % (k, os.path.realpath(f)) for k, f in enumerate(folders, 1)]
    for clicks, gone, kept in [([1, 3, 0], 0, 1), ([3, 2, 1], 1, 2)]:
        for k in clicks:
            runner.click(k)
        wait_until(lambda: runner.gone(gone), "card %d goes when clicked" % gone)
        screen.shot("after-card-%d" % gone)
        assert screen.pixel(*runner.centre(kept)) != YELLOW, "card %d, out of turn" % kept
        assert screen.pixel(*runner.centre(3)) == MAGENTA, "the reward, clicked too early"
        assert kelvu.running()
        wait_until(lambda: len(started(log)) == gone + 1, "exercise %d starts" % (gone + 1))
        assert started(log) == expected[:gone + 1]

    # A click on the black area leaves the runner in front and active: the
    # next click on card 2 still reaches it.
    screen.click_black(runner.window.id, "the runner")
    runner.click(2)
    wait_until(lambda: runner.gone(2), "card 2 goes when clicked after a click on black")
    for corner in [(5, 5), (screen.width - 1, screen.height - 1)]:
        screen.click_black(runner.window.id, "the runner", corner)
        screen.shot("after-black-click")
        assert screen.pixel(*runner.centre(3)) == MAGENTA, "the reward picture is in front"
        assert_black_screen(screen, "after a click on the black area")
    wait_until(lambda: len(started(log)) == 3, "exercise 3 starts")

    # The reward picture ends the runner; each exercise started once, in order.
    runner.click(3)
    assert kelvu.wait_exit(20) == 0
    assert_program_gone(desktop)
    assert started(log) == expected


@pytest.mark.desktop(accessibility=True)
def test_missing_menu_is_reported_then_the_end(desktop, tmp_path):
    screen = desktop.screen
    desktop.paint_root(DESKTOP)
    kelvu = desktop.start_program("kelvu", tmp_path)
    message = screen.wait_window(kelvu.pid, "Kelvu", "the error message")
    backdrop = screen.backdrop(kelvu.pid)
    assert screen.hints(message) == hints.main_window(backdrop.id, modal=True)
    x, y, w, h = screen.geometry(message)
    wait_until(lambda: screen.shot().getpixel((x + 2, y + 2)) != BLACK, "the message is painted")
    screen.shot("message")
    assert_black_screen(screen, "behind the message")
    assert screen.windows(kelvu.pid, "Arbetsordning") == []
    assert screen.active() == message.id
    assert kelvu.running(), "the runner waits while the message is open"
    text = message_text(desktop, kelvu)
    assert text == ("Körfel 53: Filen hittades inte\n\nFilen \"%s/kelvu.ini\" finns inte."
                    % tmp_path), text
    screen.keys("Return")
    assert kelvu.wait_exit(20) == 1
    assert_program_gone(desktop)


def message_text(desktop, process):
    """The text of the program's message box, as a screen reader reads it."""
    def label():
        tree = read_tree(process.pid, desktop.env)
        return tree and [n.name for n in tree.all("label") if n.name.startswith("Körfel")]
    return wait_until(label, "the message's text over AT-SPI")[0]
