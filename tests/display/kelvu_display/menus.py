"""Menu files written as the supervisor writes them: UTF-8, CR LF line ends."""
from PIL import Image

from .screen import MAGENTA


def write_menu(path, card_type, exercises, reward=None):
    """exercises: (file name, folder) pairs; reward: (folder, file name) of
    the reward picture, or None for a menu without one."""
    lines = [str(len(exercises)), str(card_type)]
    for name, folder in exercises:
        lines += ['"%s"' % name, '"%s"' % folder]
    if reward:
        lines += ["0", '"%s"' % reward[0], '"%s"' % reward[1]]
    else:
        lines.append("1")
    with open(path, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("utf-8"))


def menu_of_one_exercise(desktop, folder):
    """In folder (a pathlib.Path), a menu of one exercise ("Räkna", the demo's
    exercise program, ended with the test) and a magenta reward picture;
    returns the folder "start" that holds it, for the runner to start in."""
    start, exercises = folder / "start", folder / "ovningar"
    start.mkdir()
    exercises.mkdir()
    script = exercises / "rakna.sh"
    script.write_text('#!/bin/sh\necho $$ > "%s"\nexec "%s/libexec/kelvu/kelvu-ovning" '
                      'Räkna "Räkna fingrarna."\n' % (folder / "rakna.pid", desktop.prefix))
    script.chmod(0o755)
    desktop.end_at_close(str(folder / "rakna.pid"), "kelvu-ovning")
    Image.new("RGB", (64, 64), MAGENTA).save(folder / "pris.png")
    write_menu(start / "kelvu.ini", 0, [(script.name, str(exercises))], (str(folder), "pris.png"))
    return start
