// glyphshow's job: a text drawn in a font, each character its glyph's
// cell, on the terminal, as a drawing or as an image.
#ifndef GLYPHROW_SHOW_H
#define GLYPHROW_SHOW_H

#include "../platform/kernel32.h"

enum : DWORD {
    DEFAULT_HEIGHT = 8,  // a glyph-row font's, as glyphdraw takes them
    DEFAULT_FIRST = 0x20,
};

int show_main(int argc, char **argv);

#endif
