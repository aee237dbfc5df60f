#!/usr/bin/python3
"""Takes the screenshots that the README and the metainfo show, of the real
installed programs on a private Xvfb server with openbox, started as their
desktop entries start them (the launcher, in ~/Kelvu of a scratch home
folder). Writes docs/screenshots/*.png; the display test test_screenshots.py
fails while one of them differs from what the programs show.

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
from kelvu_display.screenshots import take  # noqa: E402

OUT = os.path.join(TOP, "docs", "screenshots")


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
            take(desktop, work, demo, OUT)
            print("saved the screenshots in", OUT)
        finally:
            desktop.close()


if __name__ == "__main__":
    main()
