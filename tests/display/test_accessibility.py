"""The installed programs as a screen-reader user and a keyboard or
one-switch user meet them: the accessible trees read over AT-SPI, both
dialogs worked by keyboard, and a whole menu worked with keys alone."""
import os

import pytest
from PIL import Image

from kelvu_display.accessible import read_tree
from kelvu_display.menus import write_menu
from kelvu_display.screen import BLACK, MAGENTA
from kelvu_display.waiting import holds_for, wait_until


def make_folder(root, count):
    """A start folder with count exercises (scripts that log their number),
    the card pictures 1num.bmp to 9num.bmp and a magenta reward picture.
    Returns the start folder, the exercises and the log."""
    start, exercises, pictures = root / "start", root / "ovningar", root / "bilder"
    for folder in (start, exercises, pictures):
        folder.mkdir()
    log = root / "started.log"
    menu = []
    for k in range(1, count + 1):
        script = exercises / ("ovning%d.sh" % k)
        script.write_text('#!/bin/sh\necho %d >>"%s"\n' % (k, log))
        script.chmod(0o755)
        menu.append((script.name, str(exercises)))
    for k in range(1, 10):
        card = Image.new("RGB", (48, 48), (255, 255, 255))
        card.paste((0, 0, 0), (8, 8, 40, 40))
        card.save(start / ("%dnum.bmp" % k))
    Image.new("RGB", (160, 160), MAGENTA).save(pictures / "pris.png")
    return start, menu, log, (str(pictures), "pris.png")


class Started:
    """A program started on a menu of count exercises made by make_folder."""

    def __init__(self, desktop, root, program, title, count, card_type):
        self.start, self.menu, self.log, self.reward = make_folder(root, count)
        write_menu(self.start / "kelvu.ini", card_type, self.menu, self.reward)
        self.process = desktop.start_program(program, self.start)
        self.window = desktop.screen.wait_window(self.process.pid, title)


def started(log):
    return log.read_text().split() if log.exists() else []


def wait_tree(desktop, process, ready, what):
    """Reads the program's tree until ready(tree) holds; returns the tree."""
    def tree_when_ready():
        tree = read_tree(process.pid, desktop.env)
        return tree if tree is not None and ready(tree) else None
    return wait_until(tree_when_ready, what)


@pytest.mark.parametrize("card_type,names", [(0, ["1", "2", "3"]),
                                             (2, ["Bild 1", "Bild 2", "Bild 3"])],
                         ids=["digits", "pictograms"])
@pytest.mark.desktop(accessibility=True)
def test_runner_tree(desktop, tmp_path, card_type, names):
    kelvu = Started(desktop, tmp_path, "kelvu", "Arbetsordning", 3, card_type).process
    tree = wait_tree(desktop, kelvu, lambda t: t.all("push button", "Belöningsbild"),
                     "the runner's cards over AT-SPI")
    assert tree.find("frame", "Arbetsordning", depth=1).states >= {"showing"}
    buttons = tree.all("push button")
    assert [b.name for b in buttons] == names + ["Belöningsbild"], tree
    for button in buttons:
        assert {"showing", "visible", "sensitive"} <= button.states, button
    # Only the first card takes the focus, and has it.
    assert [b.name for b in buttons if "focusable" in b.states] == [names[0]], tree
    assert "focused" in buttons[0].states
    # The backdrop: a window without a name that can neither be used nor take
    # the focus, and holds nothing.
    backdrops = [n for n in tree.all(depth=1) if n.name.strip() == ""]
    assert backdrops and all(not n.states & {"sensitive", "focusable"} for n in backdrops), tree


@pytest.mark.desktop(accessibility=True)
def test_supervisor_tree_and_dialogs_by_keyboard(desktop, tmp_path):
    screen = desktop.screen
    program = Started(desktop, tmp_path, "kelvuadm", "Kelvu handledarsektion", 1, 0)
    kelvuadm, main, start, menu, reward = (program.process, program.window, program.start,
                                           program.menu, program.reward)
    tree = wait_tree(desktop, kelvuadm, lambda t: t.all("push button", "Spara som"),
                     "the supervisor's controls over AT-SPI")
    assert "showing" in tree.find("frame", "Kelvu handledarsektion", depth=1).states
    exercises = tree.find("list", "Valda övningar")
    assert {"showing", "sensitive", "focusable", "focused"} <= exercises.states
    assert [n.name for n in tree.subtree("list", "Valda övningar").all("list item")] == \
        ["ovning1.sh"]
    assert tree.find("scroll bar", "Antal övningar").value == 1
    for heading in ["Belöningsbild / vad händer sedan?", "Typ av bilder på korten"]:
        assert "showing" in tree.find("panel", heading).states
    options = {n.name: n.states for n in tree.all("radio button")}
    assert {name: "checked" in states for name, states in options.items()} == {
        "På": True, "Av": False, "Siffror": True, "Bokstäver": False, "Pictogram": False,
        "Former": False}
    assert all({"showing", "sensitive", "focusable"} <= s for s in options.values()), options
    assert tree.all("check box") == []
    for caption in ["Lägg till övning", "Lägg till bild", "OK", "Avbryt", "Ny", "Hämta",
                    "Spara som"]:
        assert {"showing", "sensitive", "focusable"} <= tree.find("push button", caption).states
    # The hidden folder list and picture folder are not read out; no control
    # that takes the focus is nameless.
    assert not [n for n in tree.nodes if "showing" in n.states and
                n.name in (menu[0][1], reward[0])], tree
    assert not [n for n in tree.nodes if n.name == "" and "focusable" in n.states], tree

    def captionless_dialog():
        return [w for w in screen.windows(kelvuadm.pid, " ")
                if screen.geometry(w)[2] < screen.width]

    # Both dialogs by keyboard: twelve Tabs lead from the list to "Spara som".
    wait_until(lambda: screen.active() == main.id, "the supervisor's window is active")
    screen.keys(*["Tab"] * 12, "space")
    save = wait_until(captionless_dialog, "Tab and Space open the save-settings dialog")[0]
    wait_until(lambda: screen.active() == save.id, "the save-settings dialog is active")
    tree = wait_tree(desktop, kelvuadm, lambda t: t.all("frame", "Spara som"),
                     "the save-settings dialog over AT-SPI")
    entry = tree.subtree("frame", "Spara som").find(
        "text", "Skriv in det namn som du vill spara inställningarna under")
    assert "focused" in entry.states
    # Return and Esc press nothing: the name typed after them is the one saved.
    screen.type_text("hemma")
    screen.keys("Return", "Escape")
    screen.type_text("2")
    screen.keys("Tab", "space")
    wait_until(lambda: (start / "hemma2.ini").exists(), "Tab and Space on Spara save the menu")
    assert not (start / "hemma.ini").exists(), "Return or Esc pressed a button"
    wait_until(lambda: not screen.viewable(save), "the save-settings dialog closes")
    wait_until(lambda: screen.active() == main.id, "the supervisor's window is active again")

    screen.keys("Tab", "space")
    load = wait_until(captionless_dialog, "Tab and Space open the open-settings dialog")[0]
    wait_until(lambda: screen.active() == load.id, "the open-settings dialog is active")
    tree = wait_tree(desktop, kelvuadm, lambda t: t.all("list item", "hemma2.ini"),
                     "the open-settings dialog over AT-SPI")
    assert "focused" in tree.subtree("frame", "Hämta").find("list", "Sparade inställningar").states

    def focused_button(name):
        return lambda t: "focused" in t.subtree("frame", "Hämta").find("push button",
                                                                         name).states
    # Esc and Return press nothing: after each, Tab still moves in the dialog.
    screen.keys("Escape", "Tab")
    wait_tree(desktop, kelvuadm, focused_button("Hämta"), "after Esc, Tab reaches Hämta")
    screen.keys("Return", "Tab")
    wait_tree(desktop, kelvuadm, focused_button("Avbryt"), "after Return, Tab reaches Avbryt")
    screen.keys("space")
    wait_until(lambda: not screen.viewable(load), "Space on Avbryt closes the dialog")
    wait_until(lambda: screen.active() == main.id, "the supervisor's window is active again")


# The runner's first row of cards, in pixels of the client area.
CARD_LEFT, ROW1_TOP, CARD_SIDE = [24, 177, 331, 484], 32, 137


def test_runner_by_keyboard(desktop, tmp_path):
    screen = desktop.screen
    program = Started(desktop, tmp_path, "kelvu", "Arbetsordning", 3, 1)
    kelvu, runner, log = program.process, program.window, program.log
    x, y, _, _ = screen.geometry(runner)
    wait_until(lambda: screen.active() == runner.id, "the runner is active")

    def framed():
        """The cards that wear the focus frame: their outer 4 pixels black."""
        shot, mid_y = screen.shot(), y + ROW1_TOP + CARD_SIDE // 2
        return [k for k, left in enumerate(CARD_LEFT)
                if shot.getpixel((x + left + 1, mid_y)) == BLACK and
                shot.getpixel((x + left + 3, mid_y)) == BLACK]

    wait_until(lambda: framed() == [0], "the first card alone wears the focus frame")
    screen.shot("start")
    screen.keys("space")
    wait_until(lambda: started(log) == ["1"], "Space starts the first exercise")
    wait_until(lambda: framed() == [1], "the focus frame moves to the second card")
    screen.keys("Tab", "Return")
    wait_until(lambda: started(log) == ["1", "2"], "after a stray Tab, Return starts the second")
    screen.keys("KP_Enter")
    wait_until(lambda: started(log) == ["1", "2", "3"], "keypad Enter starts the third")
    assert kelvu.running(), "the runner waits on the reward card"
    screen.keys("space")
    assert kelvu.wait_exit(20) == 0, "Space on the reward card ends the runner"
    assert started(log) == ["1", "2", "3"]


@pytest.mark.parametrize("key", ["space", "Return", "KP_Enter"])
def test_a_held_key_starts_one_exercise(desktop, tmp_path, key):
    """A key held for three seconds (the X server repeats it) starts one
    exercise, and its repeats do not press "Klar" in the exercise's window;
    the next stroke does, and the one after starts the next exercise."""
    screen = desktop.screen
    program = Started(desktop, tmp_path, "kelvu", "Arbetsordning", 7, 0)
    exercise = os.path.join(desktop.prefix, "libexec", "kelvu", "kelvu-ovning")
    for k, (name, folder) in enumerate(program.menu, 1):
        # Each logs its number, then shows the demo exercise's window.
        pid_file = tmp_path / ("ovning%d.pid" % k)
        with open(os.path.join(folder, name), "w") as script:
            script.write('#!/bin/sh\necho %d >>"%s"\necho $$ >"%s"\nexec "%s" "Övning %d"\n'
                         % (k, program.log, pid_file, exercise, k))
        desktop.end_at_close(str(pid_file), "kelvu-ovning")
    wait_until(lambda: screen.active() == program.window.id, "the runner is active")
    screen.key_down(key)
    try:
        assert holds_for(lambda: len(started(program.log)) <= 1, 3), started(program.log)
    finally:
        screen.key_up(key)
    assert started(program.log) == ["1"]
    window = wait_until(lambda: screen.titled("Övning 1"), "the exercise's window")[0]
    # The focus passes through the runner's window once on its way: the
    # stroke below is for the exercise's window once it keeps the focus.
    wait_until(lambda: holds_for(lambda: screen.active() == window.id, 0.5),
               "the exercise's window keeps the focus")
    assert screen.viewable(window), "the held key pressed Klar"
    screen.keys(key)
    wait_until(lambda: not screen.titled("Övning 1"), "a new stroke presses Klar")
    wait_until(lambda: screen.active() == program.window.id, "the runner is active again")
    screen.keys(key)
    wait_until(lambda: started(program.log) == ["1", "2"], "the next stroke starts exercise 2")
