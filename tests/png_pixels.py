#!/usr/bin/python3
# png_pixels.py IMAGE OUT: Pillow's reading of a grey PNG, as "WIDTH HEIGHT"
# on a line, then every pixel's 8-bit grey, a byte each, row by row.
import sys

from PIL import Image

image = Image.open(sys.argv[1])
image.load()
grey = image.convert("L")
with open(sys.argv[2], "wb") as out:
    out.write(b"%d %d\n" % grey.size)
    out.write(grey.tobytes())
