// What a drawing plainly is not: another tool's input, told from its first
// block before anything is written, so that arguments given in the wrong
// order never turn a font into a few zero bytes. Only the formats' own
// marks, and a glyph-row font told so strictly that no drawing is taken
// for one, count: anything else, however odd, is read as a drawing.
#ifndef GLYPHROW_FOREIGN_H
#define GLYPHROW_FOREIGN_H

#include "../platform/kernel32.h"

enum : DWORD { FIRST_BLOCK_BYTES = 512 };
enum : int { STATUS_NOT_A_DRAWING = 7 };

// The line that says what the input is instead, or null for a drawing.
const char *foreign_input(const unsigned char *bytes, DWORD n);

#endif
