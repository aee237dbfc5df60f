"""Both installed programs, both dialogs and a message at scale 2, as on a
large high-density screen: every window twice its size and wholly on the
screen, the cards, lines and texts where twice the layout puts them."""
import pytest
from PIL import Image

from kelvu_display import hints
from kelvu_display.menus import write_menu
from kelvu_display.screen import BLACK, GREY, MAGENTA, YELLOW, dark, px, text_lines
from kelvu_display.waiting import wait_until


def px2(twips):
    return 2 * px(twips)


def assert_on_screen_at_size(screen, window, size):
    x, y, w, h = screen.geometry(window)
    assert (w, h) == size
    assert x >= 0 and y >= 0 and x + w <= screen.width and y + h <= screen.height, (x, y, w, h)
    return x, y


def assert_ink(screen, box, low, high, what):
    ink = screen.share(box, dark)
    assert low < ink < high, "%s: dark share %.3f outside %g to %g" % (what, ink, low, high)


# Room for the runner widened to nine cards: 787 × 455 at scale 1.
@pytest.mark.desktop(width=1920, height=1200, scale=2)
def test_both_programs_at_scale_2(desktop, tmp_path):
    screen = desktop.screen
    start, exercises = tmp_path / "start", tmp_path / "ovningar"
    start.mkdir()
    exercises.mkdir()
    menu = []
    for k in range(1, 9):
        script = exercises / ("ovning%d.sh" % k)
        script.write_text("#!/bin/sh\n")
        script.chmod(0o755)
        menu.append((script.name, str(exercises)))
    Image.new("RGB", (160, 160), MAGENTA).save(tmp_path / "pris.png")

    # The runner with eight exercises and the reward: nine cards, two rows.
    write_menu(start / "kelvu.ini", 0, menu, (str(tmp_path), "pris.png"))
    kelvu = desktop.start_program("kelvu", start)
    x, y = assert_on_screen_at_size(screen, screen.wait_window(kelvu.pid, "Arbetsordning"),
                                    (1574, 910))
    screen.wait_colour(x + 2 * 637 + 137, y + 2 * 300 + 137, MAGENTA,
                       "the ninth card shows the reward picture")
    screen.shot("runner")
    for k, left in enumerate([24, 177, 331, 484, 24, 177, 331, 484, 637]):
        left, top = x + 2 * left, y + 2 * (32 if k < 4 else 300)
        middle = top + 137
        assert screen.pixel(left - 1, middle) == YELLOW, "card %d begins at %d" % (k, left)
        assert screen.pixel(left + 273, middle) != YELLOW, "card %d is 274 wide" % k
        assert screen.pixel(left + 274, middle) == YELLOW, "card %d ends after 274" % k
        if k < 8:
            assert_ink(screen, (left + 20, top + 20, 234, 234), 0.03, 0.6, "card %d's digit" % k)
    kelvu.stop()

    # The supervisor with a menu of one exercise and no reward picture.
    write_menu(start / "kelvu.ini", 0, menu[:1])
    kelvuadm = desktop.start_program("kelvuadm", start)
    main = screen.wait_window(kelvuadm.pid, "Kelvu handledarsektion")
    x, y = assert_on_screen_at_size(screen, main, (1268, 910))
    screen.wait_colour(x + 10, y + 10, YELLOW, "the supervisor is painted")
    screen.shot("supervisor")
    # The grey lines: 6 pixels wide, from x = 638 and from y = 478.
    assert [screen.pixel(x + col, y + 100) == GREY for col in (637, 638, 643, 644)] == \
        [False, True, True, False]
    assert [screen.pixel(x + 100, y + row) == GREY for row in (477, 478, 483, 484)] == \
        [False, True, True, False]
    # The count "1" in Times New Roman 30 pt at scale 2 in its white box.
    assert_ink(screen, (x + px2(480) + 4, y + px2(1080) + 4, px2(495) - 8, px2(735) - 8),
               0.02, 0.5, "the count")

    def open_dialog(button):
        screen.click(x + px2(7560 + 787), y + px2(button + 427))
        dialog = wait_until(lambda: [w for w in screen.windows(kelvuadm.pid, " ")
                                     if screen.geometry(w)[2] < screen.width], "the dialog")[0]
        dx, dy = assert_on_screen_at_size(screen, dialog, (500, 438))
        assert screen.hints(dialog) == hints.settings_dialog(screen.backdrop(kelvuadm.pid).id)
        screen.wait_colour(dx + 5, dy + 5, YELLOW, "the dialog is painted")
        return dialog, dx, dy

    # "Spara som": the prompt's lines stand whole in its label (240, 240, 3135, 1095).
    dialog, dx, dy = open_dialog(5760)
    screen.shot("save-dialog")
    lines = text_lines(screen.last, (dx + px2(240), dy + px2(240), px2(3135), px2(1095)))
    assert 2 <= len(lines) <= 4, lines
    screen.click(dx + px2(600 + 502), dy + px2(2280 + 277))  # "Avbryt"
    wait_until(lambda: not screen.viewable(dialog), "the save-settings dialog closes")
    wait_until(lambda: screen.active() == main.id, "the main window is active again")

    # "Hämta": the list shows "kelvu.ini".
    dialog, dx, dy = open_dialog(4800)
    screen.shot("open-dialog")
    assert_ink(screen, (dx + px2(270) + 4, dy + px2(180) + 4, px2(2085) - 8, 60), 0.02, 0.5,
               "the list's entry")
    screen.click(dx + px2(2520 + 502), dy + px2(1890 + 277))  # "Avbryt"
    wait_until(lambda: not screen.viewable(dialog), "the open-settings dialog closes")
    wait_until(lambda: screen.active() == main.id, "the main window is active again")

    # "Ny" empties the list; "OK" then shows the message "Fel", whole.
    screen.click(x + px2(7560 + 787), y + px2(3840 + 427))
    exercise_list = (x + px2(1560) + 4, y + px2(480) + 4, px2(2655) - 8, px2(2160) - 8)
    wait_until(lambda: not text_lines(screen.shot(), exercise_list), "Ny empties the list")
    screen.click(x + px2(5280 + 787), y + px2(4800 + 427))
    message = screen.wait_window(kelvuadm.pid, "Fel")
    mx, my, mw, mh = screen.geometry(message)
    assert mx >= 0 and my >= 0 and mx + mw <= screen.width and my + mh <= screen.height
    assert mw >= 400 and mh >= 160, "at least twice its smallest size at scale 1"
    screen.wait_not_colour(mx + 5, my + 5, BLACK, "the message is painted")
    screen.shot("message")
    screen.keys("Return")
    wait_until(lambda: not screen.viewable(message), "the message closes on Return")
