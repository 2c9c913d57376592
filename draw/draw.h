// glyphdraw's job: a font file of row bytes back to a drawing that glyphrow
// turns into the same bytes, or to a glyph sheet to look at (a PNG image).
#ifndef GLYPHROW_DRAW_H
#define GLYPHROW_DRAW_H

#include "../startup/status.h"
#include "../stream/stream.h"

enum : int {
    STATUS_NOT_A_FONT = 7,      // a byte above 63; nothing was written
    STATUS_PARTIAL_GLYPH = 8,   // the drawing is whole, the last glyph is not
};

enum : DWORD {
    DEFAULT_HEIGHT = 8,
    DEFAULT_FIRST = 0x20,
    MAX_FIRST = 0x10FFFF,
    SHEET_COLUMNS = 16,  // glyphs to a line of the sheet
};

// What the drawing is made of: the font's rows, how many to a glyph, and the
// code of the first glyph (which only labels).
struct Layout {
    DWORD rows;
    DWORD height;
    DWORD first;
};

int draw_main(int argc, char **argv);

// The next of a font's rows, read in the second pass: -1 when the font ends
// early or holds a byte it didn't hold in the first (it changed meanwhile).
int next_row(Stream *font);

// Each writes the whole of the layout's rows, taken with next_row, and
// returns STATUS_DONE, or the status of the first read or write that failed.
int write_drawing(Stream *font, Stream *drawing, const Layout &layout);
int write_sheet(Stream *font, Stream *sheet, const Layout &layout, unsigned char *glyph_line);

// The sheet is painted a line of glyphs at a time, from a buffer of this
// many bytes. (Its height can't pass a PNG's limit of 2^31 - 1 pixels: a
// line is at most 1,024 pixels high and holds 16 glyphs, so that would take
// more than 2^32 rows.)
DWORD glyph_line_size(const Layout &layout);

// The PNG container: a greyscale image of 8 bits a pixel, written as the
// header, then one scanline at a time, then the end. A scanline's pixels are
// painted at PNG_PIXELS in a buffer of PNG_SCANLINE_SIZE(width) bytes; the
// image data is a zlib stream of stored (uncompressed) deflate blocks.
enum : DWORD {
    PNG_PIXELS = 14,  // chunk length, type, block header, filter byte
    PNG_SCANLINE_OVERHEAD = PNG_PIXELS + 4,  // and the chunk's CRC
};
bool png_begin(Stream *out, DWORD width, DWORD height);
bool png_scanline(Stream *out, unsigned char *scanline, DWORD width, DWORD *adler);
bool png_end(Stream *out, DWORD adler);

// Checksums of the PNG format, updated over n more bytes.
DWORD crc32_update(DWORD crc, const unsigned char *data, DWORD n);
DWORD adler32_update(DWORD adler, const unsigned char *data, DWORD n);

#endif
