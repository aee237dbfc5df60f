"""Menu files written as the supervisor writes them: UTF-8, CR LF line ends."""
import os

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


def menu_of_programs(desktop, folder, commands):
    """In folder (a pathlib.Path), a menu of one exercise per command (a
    program on PATH, ended with the test; one that ends in "&" is started in
    the background) and a magenta reward picture: each exercise a script
    that starts its program, as a teacher writes one, and writes the
    program's process and its startup ID to ovningK.pid beside "start";
    returns the folder "start" that holds it."""
    start, exercises = folder / "start", folder / "ovningar"
    start.mkdir()
    exercises.mkdir()
    menu = []
    for k, command in enumerate(commands):
        script, pid_file = exercises / ("ovning%d.sh" % k), folder / ("ovning%d.pid" % k)
        if command.endswith("&"):  # started in the background, the script ends at once
            script.write_text('#!/bin/sh\n%s\necho $! "$DESKTOP_STARTUP_ID" > "%s"\n'
                              % (command, pid_file))
        else:
            script.write_text('#!/bin/sh\necho $$ "$DESKTOP_STARTUP_ID" > "%s"\nexec %s\n'
                              % (pid_file, command))
        script.chmod(0o755)
        desktop.end_at_close(str(pid_file), os.path.basename(command.split()[0])[:15])
        menu.append((script.name, str(exercises)))
    Image.new("RGB", (64, 64), MAGENTA).save(folder / "pris.png")
    write_menu(start / "kelvu.ini", 0, menu, (str(folder), "pris.png"))
    return start


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
