"""Runs one command on a private X server with a window manager, for the
scripts outside the tests (benchmarks, screenshots), and ends both after it.

    python3 -m kelvu_display.session [--size WxH] [--wm NAME] -- COMMAND...

The command's exit status is this one's; it finds the display in DISPLAY."""
import argparse
import subprocess
import sys
import tempfile

from .desktop import Desktop


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--size", default="1280x1024")
    parser.add_argument("--wm", default="openbox")
    parser.add_argument("command", nargs="+")
    args = parser.parse_args()
    width, height = (int(n) for n in args.size.split("x"))
    with tempfile.TemporaryDirectory(prefix="kelvu-session.") as folder:
        desktop = Desktop(folder, prefix=None, width=width, height=height, wm=args.wm)
        try:
            return subprocess.run(args.command, env=desktop.env).returncode
        finally:
            desktop.close()


if __name__ == "__main__":
    sys.exit(main())
