// glyphdraw's job: a font file of row bytes back to a drawing that glyphrow
// turns into the same bytes, or to any other form the output's name asks for
// (a glyph sheet, BDF, PSF, C source).
#ifndef GLYPHROW_DRAW_H
#define GLYPHROW_DRAW_H

#include "../startup/status.h"
#include "../stream/stream.h"

enum : int {
    STATUS_NOT_A_FONT = 7,     // a byte above 63, or another tool's input; nothing was written
    STATUS_PARTIAL_GLYPH = 8,  // written, less what the form can't hold
};

enum : DWORD {
    DEFAULT_HEIGHT = 8,
    DEFAULT_FIRST = 0x20,
    FIRST_BLOCK = 4096,  // the font is read into a block this big at first
};

int draw_main(int argc, char **argv);

// Reads the whole font into a block that grows as needed, before anything
// is written. Stores the block (to be freed with block_free, even on
// failure; null when none could be had) and its byte count; returns
// STATUS_DONE or the status that ends the run.
int read_font(Stream *font, unsigned char **rows, DWORD *count);

#endif
