#!/usr/bin/python3
# FontForge's validation of each BDF named: no glyph name may be flagged as
# bad (0x200), the font's nor any glyph's. Prints what it flags; exit 1 then.
import sys

import fontforge

BAD_GLYPH_NAME = 0x200
bad = []
for path in sys.argv[1:]:
    font = fontforge.open(path)
    if font.validate(True) & BAD_GLYPH_NAME:
        bad += [path + ": " + g.glyphname for g in font.glyphs() if g.validate(True) & BAD_GLYPH_NAME]
        bad += [path + ": the font"] if not bad else []
    if len(list(font.glyphs())) == 0:
        bad.append(path + ": no glyphs")
print("\n".join(bad))
sys.exit(1 if bad else 0)
