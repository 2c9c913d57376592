#include "forms.h"
#include "png.h"
#include "../rows/row.h"

namespace {

enum : DWORD {
    SHEET_COLUMNS = 16,  // glyphs to a line of the sheet
    CELL_PIXELS = 4,     // a cell is a square of 4 by 4 pixels
    GAP_PIXELS = 4,      // between glyphs and around the sheet
    GLYPH_PIXELS = ROW_CELLS * CELL_PIXELS,
    COLUMN_PIXELS = GLYPH_PIXELS + GAP_PIXELS,
    CODE_DIGITS = 6,     // the most a code has in hex, "10FFF0"
    LEAST_DIGITS = 4,
    DIGIT_WIDTH = 3,
    DIGIT_HEIGHT = 5,
    DIGIT_ADVANCE = DIGIT_WIDTH + 1,
    MARGIN_PIXELS = GAP_PIXELS + CODE_DIGITS * DIGIT_ADVANCE,  // the codes' margin, left of the glyphs
    MAX_WIDTH = MARGIN_PIXELS + SHEET_COLUMNS * COLUMN_PIXELS + GAP_PIXELS,
};

// Black is exactly the ink and white exactly the blank cells; everything
// else (gaps, margins, the rows a partial glyph lacks) is light grey, and
// the codes in the margin dark grey.
enum : unsigned char {
    INK_PIXEL = PNG_BLACK,
    BLANK_PIXEL = PNG_WHITE,
    GREY_PIXEL = PNG_LIGHT,
    CODE_PIXEL = PNG_DARK,
};

// The margin's digits, 3 by 5 pixels: a digit's rows from the top, three
// bits each, the leftmost pixel in bit 2.
const unsigned short DIGITS[16] = {
    075557, 026227, 071747, 071717, 055711, 074717, 074757, 071222,
    075757, 075717, 025755, 065656, 034443, 065556, 074747, 074744,
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
    return MARGIN_PIXELS + columns * COLUMN_PIXELS + GAP_PIXELS;
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
    for (DWORD glyph = 0; MARGIN_PIXELS + glyph * COLUMN_PIXELS + GAP_PIXELS < width; ++glyph) {
        unsigned char *at = pixels + MARGIN_PIXELS + GAP_PIXELS + glyph * COLUMN_PIXELS;
        for (DWORD cell = 0; cell < ROW_CELLS; ++cell)
            fill(at + cell * CELL_PIXELS, CELL_PIXELS, cell_pixel(font, first + glyph, row, cell));
    }
}

// Scanline y of a line's glyphs, in the margin: the code of the line's
// first glyph in hex, at least four digits, from the top of the glyphs.
void paint_code(unsigned char *pixels, DWORD code, DWORD y)
{
    fill(pixels, MARGIN_PIXELS, GREY_PIXEL);
    if (y >= DIGIT_HEIGHT || code > MAX_CODE)  // a glyph past U+10FFFF has no code to show
        return;
    char digits[CODE_DIGITS + 2];
    DWORD n = static_cast<DWORD>(format_number(digits, code, HEX, LEAST_DIGITS) - digits);
    for (DWORD d = 0; d < n; ++d) {
        DWORD value = static_cast<DWORD>(digits[d] <= '9' ? digits[d] - '0' : digits[d] - 'A' + 10);
        DWORD bits = DIGITS[value] >> (3 * (DIGIT_HEIGHT - 1 - y));
        for (DWORD x = 0; x < DIGIT_WIDTH; ++x)
            if (bits & (4 >> x))
                pixels[GAP_PIXELS + d * DIGIT_ADVANCE + x] = CODE_PIXEL;
    }
}

void write_gap(Png &png, unsigned char *pixels, DWORD width)
{
    fill(pixels, width, GREY_PIXEL);
    for (DWORD i = 0; i < GAP_PIXELS; ++i)
        png_row(png, pixels);
}

}  // namespace

// 16 glyphs to a line from the top left, in code order, each a block of
// cells with a gap around it, the line's first code in the margin. (The
// height can't pass a PNG's limit of 2^31 - 1 pixels: a line is at most
// 1,024 pixels high and holds 16 glyphs, so that would take more than 2^32
// rows.) After a failed write the lines are no longer painted.
void write_sheet(Out &out, const Font &font, const char *)
{
    DWORD glyphs = groups(font.rows, font.height);
    DWORD lines = groups(glyphs, SHEET_COLUMNS);
    DWORD width = sheet_width(glyphs);
    unsigned char pixels[MAX_WIDTH];
    Png png;
    if (!png_begin(png, out, width, lines * line_pixels(font) + GAP_PIXELS, font))
        return;
    for (DWORD l = 0; l < lines && !out.failed; ++l) {
        write_gap(png, pixels, width);
        for (DWORD row = 0; row < font.height; ++row) {
            paint_row(pixels, width, font, l * SHEET_COLUMNS, row);
            for (DWORD k = 0; k < CELL_PIXELS; ++k) {
                paint_code(pixels, font.first + l * SHEET_COLUMNS, row * CELL_PIXELS + k);
                png_row(png, pixels);
            }
        }
    }
    write_gap(png, pixels, width);
    png_end(png);
}
