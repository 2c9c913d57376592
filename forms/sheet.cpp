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

// A line's glyphs: each slot's rows and how many of them the font has (a
// partial last glyph lacks some; a slot past the font's glyphs has none).
struct Line {
    const unsigned char *rows[SHEET_COLUMNS];
    DWORD have[SHEET_COLUMNS];
    DWORD first_code;
};

// A rows' cell: ink or blank, and grey for a row the glyph lacks. A slot
// without rows but with rows to have is a blank glyph: a code a set lacks.
unsigned char cell_pixel(const Line &line, DWORD slot, DWORD row, DWORD cell)
{
    if (row >= line.have[slot])
        return GREY_PIXEL;
    const unsigned char *rows = line.rows[slot];
    return rows && (rows[row] & (0x20 >> cell)) ? INK_PIXEL : BLANK_PIXEL;
}

// The pixels of one row of cells across a line of glyphs.
void paint_row(unsigned char *pixels, DWORD width, const Line &line, DWORD row)
{
    fill(pixels, width, GREY_PIXEL);
    for (DWORD slot = 0; MARGIN_PIXELS + slot * COLUMN_PIXELS + GAP_PIXELS < width; ++slot) {
        unsigned char *at = pixels + MARGIN_PIXELS + GAP_PIXELS + slot * COLUMN_PIXELS;
        for (DWORD cell = 0; cell < ROW_CELLS; ++cell)
            fill(at + cell * CELL_PIXELS, CELL_PIXELS, cell_pixel(line, slot, row, cell));
    }
}

// A range's line l: glyphs 16 l on, as many rows as the font has.
Line range_line(const Font &font, DWORD l)
{
    Line line;
    line.first_code = font.first + l * SHEET_COLUMNS;
    for (DWORD slot = 0; slot < SHEET_COLUMNS; ++slot) {
        DWORD at = (l * SHEET_COLUMNS + slot) * font.height;
        line.rows[slot] = font.row_bytes + at;
        line.have[slot] = at >= font.rows ? 0 : font.rows - at < font.height ? font.rows - at : font.height;
    }
    return line;
}

// A set's line of 16 codes from span_first on that holds the glyph at the
// cursor, which moves past the line.
Line set_line(const Font &font, DWORD *cursor)
{
    Line line;
    line.first_code = font.span_first + (font.codes[*cursor] - font.span_first) / SHEET_COLUMNS * SHEET_COLUMNS;
    for (DWORD slot = 0; slot < SHEET_COLUMNS; ++slot) {
        DWORD code = line.first_code + slot;
        line.have[slot] = code <= font.span_last ? font.height : 0;
        line.rows[slot] = code <= font.span_last ? rows_of_code(font, code, cursor) : nullptr;
    }
    while (*cursor < whole_glyphs(font) && font.codes[*cursor] < line.first_code + SHEET_COLUMNS)
        ++*cursor;
    return line;
}

// The lines of 16 codes that hold a glyph of the set; the others are left
// out, so that a set of scattered codes is a picture of its glyphs alone.
DWORD set_lines(const Font &font)
{
    DWORD lines = 0, last_line = 0xFFFFFFFFu;
    for (DWORD i = 0; i < whole_glyphs(font); ++i) {
        DWORD l = (font.codes[i] - font.span_first) / SHEET_COLUMNS;
        lines += l != last_line;
        last_line = l;
    }
    return lines;
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
    DWORD glyphs = font.codes ? font.span_last - font.span_first + 1 : groups(font.rows, font.height);
    DWORD lines = font.codes ? set_lines(font) : groups(glyphs, SHEET_COLUMNS);
    DWORD width = sheet_width(glyphs);
    unsigned char pixels[MAX_WIDTH];
    Png png;
    if (!png_begin(png, out, width, lines * line_pixels(font) + GAP_PIXELS, font))
        return;
    DWORD cursor = 0;
    for (DWORD l = 0; l < lines && !out.failed; ++l) {
        Line line = font.codes ? set_line(font, &cursor) : range_line(font, l);
        write_gap(png, pixels, width);
        for (DWORD row = 0; row < font.height; ++row) {
            paint_row(pixels, width, line, row);
            for (DWORD k = 0; k < CELL_PIXELS; ++k) {
                paint_code(pixels, line.first_code, row * CELL_PIXELS + k);
                png_row(png, pixels);
            }
        }
    }
    write_gap(png, pixels, width);
    png_end(png);
}
