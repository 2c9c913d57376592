#include "draw.h"
#include "../rows/row.h"

namespace {

enum : DWORD {
    CELL_PIXELS = 4,  // a cell is a square of 4 by 4 pixels
    GAP_PIXELS = 4,   // between glyphs and around the sheet
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

// The rows of one line of the sheet's glyphs, as many as the font had: a
// cell past them belongs to a row a partial glyph lacks, or to no glyph.
struct GlyphLine {
    const unsigned char *rows;
    DWORD rows_held;
};

// How many groups of `size` hold n things, the last perhaps in part.
DWORD groups(DWORD n, DWORD size)
{
    return n / size + (n % size != 0);
}

DWORD line_pixels(const Layout &layout)
{
    return GAP_PIXELS + layout.height * CELL_PIXELS;
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

unsigned char cell_pixel(const GlyphLine &line, DWORD glyph, DWORD row, DWORD cell, DWORD height)
{
    DWORD at = glyph * height + row;
    if (at >= line.rows_held)
        return GREY_PIXEL;
    return (line.rows[at] & (0x20 >> cell)) ? INK_PIXEL : BLANK_PIXEL;
}

// The pixels of one row of cells across the line's glyphs.
void paint_row(unsigned char *pixels, DWORD width, const GlyphLine &line, DWORD row, DWORD height)
{
    fill(pixels, width, GREY_PIXEL);
    for (DWORD glyph = 0; glyph * COLUMN_PIXELS + GAP_PIXELS < width; ++glyph) {
        unsigned char *at = pixels + GAP_PIXELS + glyph * COLUMN_PIXELS;
        for (DWORD cell = 0; cell < ROW_CELLS; ++cell)
            fill(at + cell * CELL_PIXELS, CELL_PIXELS, cell_pixel(line, glyph, row, cell, height));
    }
}

struct SheetWriter {
    Stream *out;
    DWORD width;
    DWORD adler;
    unsigned char scanline[PNG_SCANLINE_OVERHEAD + MAX_WIDTH];
};

// The painted scanline, `times` times over.
bool repeat_scanline(SheetWriter &w, DWORD times)
{
    for (DWORD i = 0; i < times; ++i)
        if (!png_scanline(w.out, w.scanline, w.width, &w.adler))
            return false;
    return true;
}

bool write_gap(SheetWriter &w)
{
    fill(w.scanline + PNG_PIXELS, w.width, GREY_PIXEL);
    return repeat_scanline(w, GAP_PIXELS);
}

// Reads the next line's rows; false when the font ends early or changed.
bool read_line(Stream *font, unsigned char *rows, DWORD n)
{
    for (DWORD i = 0; i < n; ++i) {
        int byte = next_row(font);
        if (byte == STREAM_EOF)
            return false;
        rows[i] = static_cast<unsigned char>(byte);
    }
    return true;
}

}  // namespace

DWORD glyph_line_size(const Layout &layout)
{
    return SHEET_COLUMNS * layout.height;
}

// 16 glyphs to a line from the top left, in code order, each a block of
// cells with a gap around it; a line's rows are read before it is painted.
int write_sheet(Stream *font, Stream *sheet, const Layout &layout, unsigned char *glyph_line)
{
    DWORD glyphs = groups(layout.rows, layout.height);
    DWORD lines = groups(glyphs, SHEET_COLUMNS);
    SheetWriter w;
    w.out = sheet;
    w.width = sheet_width(glyphs);
    w.adler = 1;
    if (!png_begin(sheet, w.width, lines * line_pixels(layout) + GAP_PIXELS))
        return STATUS_CANT_WRITE_OUTPUT;
    DWORD rows_left = layout.rows;
    for (DWORD l = 0; l < lines; ++l) {
        GlyphLine line = {glyph_line, glyph_line_size(layout)};
        if (line.rows_held > rows_left)
            line.rows_held = rows_left;
        rows_left -= line.rows_held;
        if (!read_line(font, glyph_line, line.rows_held))
            return STATUS_CANT_READ_INPUT;
        if (!write_gap(w))
            return STATUS_CANT_WRITE_OUTPUT;
        for (DWORD row = 0; row < layout.height; ++row) {
            paint_row(w.scanline + PNG_PIXELS, w.width, line, row, layout.height);
            if (!repeat_scanline(w, CELL_PIXELS))
                return STATUS_CANT_WRITE_OUTPUT;
        }
    }
    if (!write_gap(w) || !png_end(sheet, w.adler))
        return STATUS_CANT_WRITE_OUTPUT;
    return STATUS_DONE;
}
