// glyphpick's job: a range of glyphs out of a BDF or PSF font, placed in
// cells six wide, written in any of the shared forms.
#ifndef GLYPHROW_PICK_H
#define GLYPHROW_PICK_H

#include "../startup/status.h"
#include "../stream/stream.h"

enum : int {
    STATUS_NOT_A_FONT = 7,  // not BDF or PSF, or malformed; nothing was written
    STATUS_INK_CUT = 8,     // written, less ink that fell outside the cell
};

enum : DWORD {
    DEFAULT_FIRST = 0x20,
    DEFAULT_LAST = 0x7E,
    BLOCK_SIZE = 0x10000,  // the input is read in blocks of this size
    LINE_KEEP = 1024,      // a BDF line's first bytes, kept after the block
    TEXT_SIZE = LINE_KEEP + 1,
    LINE_AT = BLOCK_SIZE,
    COPYRIGHT_AT = LINE_AT + TEXT_SIZE,
    NOTICE_AT = COPYRIGHT_AT + TEXT_SIZE,
    INPUT_BLOCK_SIZE = NOTICE_AT + TEXT_SIZE,
    REGISTRY_SIZE = 40,
};

// The input, a block at a time, in a heap block of INPUT_BLOCK_SIZE bytes:
// BLOCK_SIZE for the input, then room for one line of a BDF and for the
// font's COPYRIGHT and NOTICE, which the output carries.
struct Input {
    const char *name;  // as the command line gave it, for messages about a line
    Stream *stream;
    unsigned char *block;
    DWORD at, end;
};
// The next byte, or STREAM_EOF at the end of the input or after a failed
// read (stream_error tells which).
int input_byte(Input &in);
// Passes over n bytes; false when the input ends first.
bool input_skip(Input &in, DWORD n);
// Back to the first byte, for a second pass.
bool input_rewind(Input &in);

// The picked glyphs: the range's codes, each a glyph of `height` rows,
// blank until the font gives it ink, and what befell each code.
enum : unsigned char {
    FOUND = 1,  // a glyph of the font claimed the code
    CUT = 2,    // its glyph lost ink outside the cell
};
struct Picked {
    DWORD first, last, count;
    DWORD height;   // the font's cell, once known
    DWORD descent;  // rows below the baseline, for a BDF output
    unsigned char *rows;   // in one block with the states after them
    unsigned char *state;  // a byte a code: FOUND, CUT
    char foreign[REGISTRY_SIZE];  // a BDF's registry and encoding when not Unicode, or ""
    bool translated;  // foreign's codes were turned into Unicode's
    DWORD left_out;   // glyphs whose codes foreign has no character for
    const char *copyright, *notice;  // as the font's properties give them, or null
};

// Makes the blank glyphs once the height is known; false for want of memory.
bool picked_begin(Picked &p, DWORD height);
void picked_end(Picked &p);
// The rows of the glyph for code, if the range has it and no glyph has
// claimed it before (the first claim keeps it); null otherwise.
unsigned char *picked_claim(Picked &p, DWORD code);

// Each reads the whole font and fills the picked glyphs. Returns
// STATUS_DONE, or the status that ends the run, with its message said;
// read_bdf returns NOT_BDF, saying nothing, when the first line is not
// STARTFONT.
enum : int { NOT_BDF = -2 };
int read_bdf(Input &in, Picked &p);
int read_psf(Input &in, Picked &p);

int pick_main(int argc, char **argv);

#endif
