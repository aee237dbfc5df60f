"""The runner in a KDE Plasma session on Wayland: KWin (kwin_wayland) with two
outputs side by side and XWayland, where the programs take X11, another
program's window open on the second output. The pictures are KWin's own and
the clicks go through KWin, so what KWin raises over what shows."""
import importlib.util
import os

import pytest

from conftest import cannot_run, finish, require
from kelvu_display.kwin_wayland import KwinWayland
from kelvu_display.menus import menu_of_one_exercise, menu_of_programs
from kelvu_display.screen import MAGENTA
from kelvu_display.waiting import wait_until
from kelvu_display.xsession import start_session_bus

OUTPUT = (1280, 1024)
SECOND_OUTPUT = (OUTPUT[0], 0) + OUTPUT


@pytest.fixture
def kwin(request, tmp_path):
    require("kwin_wayland", "Xwayland", "dbus-daemon", "xmessage")
    if importlib.util.find_spec("dbus") is None:
        cannot_run("missing the D-Bus client for Python (python3-dbus)")
    prefix = os.environ.get("KELVU_PREFIX")
    assert prefix, "KELVU_PREFIX must name the prefix the programs are installed in"
    session = KwinWayland(str(tmp_path), prefix, 2, *OUTPUT)
    yield session
    finish(request, session)


@pytest.mark.parametrize("exercise", ["Räkna", "Mousepad"])
def test_runner_and_exercise_on_two_outputs(kwin, tmp_path, exercise):
    """The demo's exercise, or a GTK editor that runs one instance per user
    and was open before the lesson (through XWayland): its card brings its
    window in front of the black, with the focus."""
    screen = kwin.screen
    assert (screen.width, screen.height) == (2 * OUTPUT[0], OUTPUT[1])
    other = kwin.open_other_window(tmp_path, OUTPUT[0] + 400, 40)
    if exercise == "Mousepad":
        require("mousepad")
        programs = tmp_path / "programs"
        (programs / "home").mkdir(parents=True)
        kwin.env.update(HOME=str(programs / "home"), GDK_BACKEND="x11",
                        DBUS_SESSION_BUS_ADDRESS=start_session_bus(kwin.processes, str(programs)))
        kwin.start("editor", ["mousepad"], str(tmp_path))
        wait_until(lambda: screen.managed("Mousepad"), "the editor open before the lesson")
        start = menu_of_programs(kwin, tmp_path, ["mousepad"])
    else:
        start = menu_of_one_exercise(kwin, tmp_path)
    kelvu = kwin.start_program("kelvu", start)
    runner = screen.wait_window(kelvu.pid, "Arbetsordning")
    x, y, w, h = screen.geometry(runner)
    screen.wait_colour(x + 177 + 68, y + 32 + 68, MAGENTA, "the reward picture on the second card")

    # Black over both outputs but for the runner's window and its frame.
    screen.settled((0, 0, screen.width, screen.height), "the screen is drawn")
    left, right, top, bottom = screen.cardinals(runner, "_NET_FRAME_EXTENTS") or [0] * 4
    frame = (x - left, y - top, w + left + right, h + top + bottom)
    assert screen.not_black(other) == 0, "the other program's window shows"
    assert screen.not_black(SECOND_OUTPUT) == 0, "the second output is not all black"
    assert screen.not_black((0, 0) + OUTPUT) == screen.not_black(frame), \
        "something beside the runner's window shows on the first output"
    before = screen.region(*frame).tobytes()

    screen.click_black(runner.id, "the runner")
    screen.settled(frame, "the runner is drawn after the click on black")
    assert screen.region(*frame).tobytes() == before, "the runner changed"

    screen.click(x + 24 + 68, y + 32 + 68)  # the first card
    window = wait_until(lambda: [w for w in screen.managed(exercise) if screen.in_front(w)],
        "the exercise's window in front with the focus")[0]
    screen.click_black(window, "the exercise")
    assert screen.not_black(other) == 0, "the other program's window shows"
    assert screen.not_black(SECOND_OUTPUT) == 0, "the second output is not all black"
