// The PNG container of the sheet and of glyphshow's image: a grey image of
// 2 bits a pixel, four shades (PNG_BLACK to PNG_WHITE), written as the
// header (with the font's notices), then each row as it is painted, its
// pixels a byte each, compressed, then the end. False from png_begin when
// no memory can be had for the compressor (the output then failed).
#ifndef GLYPHROW_PNG_H
#define GLYPHROW_PNG_H

#include "forms.h"
#include "../deflate/deflate.h"

enum : unsigned char { PNG_BLACK = 0, PNG_DARK = 1, PNG_LIGHT = 2, PNG_WHITE = 3 };

// The image data of a PNG as it is painted: its rows' checksum, and their
// compressor, whose bytes go out as image-data chunks.
struct Png {
    Out *out;
    DWORD width;
    DWORD adler;
    Deflate deflate;
};

bool png_begin(Png &png, Out &out, DWORD width, DWORD height, const Font &font);
void png_row(Png &png, const unsigned char *pixels);
void png_end(Png &png);

#endif
