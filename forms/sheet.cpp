#include "forms.h"
#include "../rows/row.h"

namespace {

enum : DWORD {
    SHEET_COLUMNS = 16,  // glyphs to a line of the sheet
    CELL_PIXELS = 4,     // a cell is a square of 4 by 4 pixels
    GAP_PIXELS = 4,      // between glyphs and around the sheet
    GLYPH_PIXELS = ROW_CELLS * CELL_PIXELS,
    COLUMN_PIXELS = GLYPH_PIXELS + GAP_PIXELS,
    MAX_WIDTH = SHEET_COLUMNS * COLUMN_PIXELS + GAP_PIXELS,
};

// Black is exactly the ink and white exactly the blank cells; everything
// else (gaps, margins, the rows a partial glyph lacks) is grey.
enum : unsigned char {
    INK_PIXEL = 0,
    BLANK_PIXEL = 255,
    GREY_PIXEL = 160,
};

// How many groups of `size` hold n things, the last perhaps in part.
DWORD groups(DWORD n, DWORD size)
{
    return n / size + (n % size != 0);
}

DWORD line_pixels(const Font &font)
{
    return GAP_PIXELS + font.height * CELL_PIXELS;
}

DWORD sheet_width(DWORD glyphs)
{
    DWORD columns = glyphs < SHEET_COLUMNS ? glyphs : SHEET_COLUMNS;
    return columns * COLUMN_PIXELS + GAP_PIXELS;
}

void fill(unsigned char *pixels, DWORD n, unsigned char value)
{
    for (DWORD i = 0; i < n; ++i)
        pixels[i] = value;
}

// A cell past the font's rows belongs to a row a partial glyph lacks, or to
// no glyph.
unsigned char cell_pixel(const Font &font, DWORD glyph, DWORD row, DWORD cell)
{
    DWORD at = glyph * font.height + row;
    if (at >= font.rows)
        return GREY_PIXEL;
    return (font.row_bytes[at] & (0x20 >> cell)) ? INK_PIXEL : BLANK_PIXEL;
}

// The pixels of one row of cells across a line of glyphs, from glyph first.
void paint_row(unsigned char *pixels, DWORD width, const Font &font, DWORD first, DWORD row)
{
    fill(pixels, width, GREY_PIXEL);
    for (DWORD glyph = 0; glyph * COLUMN_PIXELS + GAP_PIXELS < width; ++glyph) {
        unsigned char *at = pixels + GAP_PIXELS + glyph * COLUMN_PIXELS;
        for (DWORD cell = 0; cell < ROW_CELLS; ++cell)
            fill(at + cell * CELL_PIXELS, CELL_PIXELS, cell_pixel(font, first + glyph, row, cell));
    }
}

// The scanline is not held here: handed to the platform, it must not make
// the width look as if the platform could change it.
struct SheetWriter {
    Out *out;
    DWORD width;
    DWORD adler;
    unsigned char *scanline;
};

// The painted scanline, `times` times over.
void repeat_scanline(SheetWriter &w, DWORD times)
{
    for (DWORD i = 0; i < times; ++i)
        png_scanline(*w.out, w.scanline, w.width, &w.adler);
}

void write_gap(SheetWriter &w)
{
    fill(w.scanline + PNG_PIXELS, w.width, GREY_PIXEL);
    repeat_scanline(w, GAP_PIXELS);
}

}  // namespace

// 16 glyphs to a line from the top left, in code order, each a block of
// cells with a gap around it. (The height can't pass a PNG's limit of
// 2^31 - 1 pixels: a line is at most 1,024 pixels high and holds 16
// glyphs, so that would take more than 2^32 rows.) After a failed write
// the lines are no longer painted.
void write_sheet(Out &out, const Font &font, const char *)
{
    DWORD glyphs = groups(font.rows, font.height);
    DWORD lines = groups(glyphs, SHEET_COLUMNS);
    unsigned char scanline[PNG_SCANLINE_OVERHEAD + MAX_WIDTH];
    SheetWriter w;
    w.scanline = scanline;
    w.out = &out;
    w.width = sheet_width(glyphs);
    w.adler = 1;
    png_begin(out, w.width, lines * line_pixels(font) + GAP_PIXELS, font);
    for (DWORD l = 0; l < lines && !out.failed; ++l) {
        write_gap(w);
        for (DWORD row = 0; row < font.height; ++row) {
            paint_row(w.scanline + PNG_PIXELS, w.width, font, l * SHEET_COLUMNS, row);
            repeat_scanline(w, CELL_PIXELS);
        }
    }
    write_gap(w);
    png_end(out, w.adler);
}
