// The box of a glyph's ink, as the display libraries store a glyph: only
// the rows and columns that hold ink, packed bit after bit. GFX and LVGL
// both draw from it; what their tables say about the box differs.
#ifndef GLYPHROW_INK_BOX_H
#define GLYPHROW_INK_BOX_H

#include "forms.h"

// A box's offsets are 8 signed bits in both libraries' glyph tables.
enum : int { OFFSET_LEAST = -128, OFFSET_MOST = 127 };

// The box's first row and column and its size; 0 by 0 for a glyph
// without ink.
struct Box {
    int top, left, width, height;
};

Box box_of(const unsigned char *rows, DWORD height);
DWORD box_bytes(const Box &b);
void put_box_bits(Out &out, const unsigned char *rows, const Box &b);
void put_signed(Out &out, int value);

#endif
