// glyphdraw's job: a font file of row bytes back to a drawing that glyphrow
// turns into the same bytes, or to any other form the output's name asks for
// (a glyph sheet, BDF, PSF, C source).
#ifndef GLYPHROW_DRAW_H
#define GLYPHROW_DRAW_H

#include "../startup/status.h"
#include "../stream/stream.h"
#include "../readers/readers.h"

enum : int {
    STATUS_PARTIAL_GLYPH = 8,  // written, less what the form can't hold
};

enum : DWORD {
    DEFAULT_HEIGHT = 8,
    DEFAULT_FIRST = 0x20,
};

int draw_main(int argc, char **argv);

#endif
