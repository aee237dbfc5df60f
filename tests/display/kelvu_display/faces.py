"""The digit a card shows, read from a screenshot: the dark glyph, cut to
its bounds, is compared pixel by pixel with each digit drawn in the font
that fontconfig gives for the cards' "Times New Roman"; the closest wins."""
import functools
import subprocess

from PIL import Image, ImageDraw, ImageFont

SIZE = (32, 48)


def _fitted(grey):
    """The dark part of a greyscale picture, cut to its bounds and scaled
    to SIZE, as a tuple of booleans; None when nothing is dark."""
    ink = grey.point(lambda v: 255 if v < 128 else 0)
    bounds = ink.getbbox()
    if bounds is None:
        return None
    glyph = grey.crop(bounds).resize(SIZE, Image.LANCZOS)
    return tuple(v < 128 for v in glyph.getdata())


@functools.lru_cache(maxsize=1)
def _reference_digits():
    font_file = subprocess.run(["fc-match", "-f", "%{file}", "Times New Roman"],
                               capture_output=True, text=True, check=True).stdout
    font = ImageFont.truetype(font_file, 100)
    digits = {}
    for digit in "123456789":
        canvas = Image.new("L", (120, 140), 255)
        ImageDraw.Draw(canvas).text((10, 5), digit, font=font, fill=0)
        digits[digit] = _fitted(canvas)
    return digits


def face_digit(image, box):
    """The digit, "1" to "9", in a rectangle of a screenshot, or None when
    the rectangle holds nothing dark."""
    x, y, w, h = box
    glyph = _fitted(image.crop((x, y, x + w, y + h)).convert("L"))
    if glyph is None:
        return None
    def difference(digit):
        return sum(a != b for a, b in zip(glyph, _reference_digits()[digit]))
    return min(_reference_digits(), key=difference)
