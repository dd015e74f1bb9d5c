#!/usr/bin/env python3
"""Writes the LED digit font the time labels ask for by face name.

The seven-segment font of Debian's fonts-dseg package is freely licensed; the
program looks for the face "UnidreamLED" in "res\\font\\UnidreamLED.TTF", so
the family names are rewritten and the result saved under that name.
"""
import sys
from fontTools.ttLib import TTFont

FACE = "UnidreamLED"


def main(src, dst):
    font = TTFont(src)
    for rec in font["name"].names:
        # 1 family, 4 full name, 6 PostScript name, 16/17 typographic family/subfamily
        if rec.nameID in (1, 4, 6, 16):
            rec.string = FACE
        elif rec.nameID == 17:
            rec.string = "Regular"
    font.save(dst)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
