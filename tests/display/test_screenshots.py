"""The README's and the metainfo's screenshots are those of the programs as
they are: taken again of the installed programs, each must match the one in
docs/screenshots. When one fails, the new pictures are kept with the test's
artifacts, and tools/screenshots.py takes them all again."""
import os
import shutil

from PIL import Image, ImageChops

from kelvu_display.screenshots import take

SCREENSHOTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "docs",
                           "screenshots")
# The text cursor in "Spara som" blinks: one line 1 pixel wide and at most
# 20 high may be on in one picture and off in the other. A button, a title
# bar or a line of text more or less changes hundreds.
BLINKING_CURSOR = 20


def differing_pixels(taken, shown):
    """How many pixels differ, or None when the sizes do."""
    if taken.size != shown.size:
        return None
    difference = ImageChops.difference(taken.convert("RGB"), shown.convert("RGB"))
    return sum(1 for pixel in difference.getdata() if pixel != (0, 0, 0))


def test_the_screenshots_show_the_programs_as_they_are(desktop, tmp_path):
    taken = tmp_path / "taken"
    taken.mkdir()
    (tmp_path / "work").mkdir()
    take(desktop, str(tmp_path / "work"), os.path.join(desktop.prefix, "share", "kelvu", "demo"),
         str(taken))
    names = sorted(os.listdir(taken))
    assert names == sorted(os.listdir(SCREENSHOTS))
    drifted = {}
    for name in names:
        with Image.open(taken / name) as new, Image.open(os.path.join(SCREENSHOTS, name)) as old:
            count = differing_pixels(new, old)
            if count is None or count > BLINKING_CURSOR:
                drifted[name] = ("size %dx%d, not %dx%d" % (new.size + old.size) if count is None
                                 else "%d pixels differ" % count)
    if drifted:
        shutil.copytree(taken, os.path.join(desktop.shots, "taken"))
    assert not drifted, "run tools/screenshots.py: %s" % drifted
