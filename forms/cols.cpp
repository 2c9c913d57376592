#include "forms.h"
#include "../rows/row.h"

// Column pages, as SSD1306, SH1106, PCD8544 and their kin address their
// memory: a glyph is NAME_pages pages of 8 rows from the top, each page 6
// bytes, one a column from the left, bit 0 its top row; rows past the
// cell's height are 0. Glyph i's page p, column x is byte
// (i * NAME_pages + p) * 6 + x. C89 and C++ alike.
namespace {

enum : DWORD { PAGE_ROWS = 8 };

const char HEADER_OPENING[] = "static const unsigned char \0[\1 * \2 * 6";
const char SOURCE_OPENING[] = "extern const unsigned char \0[];\nconst unsigned char \0[\1 * \2 * 6";
// \1 the glyph count, \2 the pages, \3 the height, \4 the first code.
const char RUN_CLOSING[] = "};\nenum { \0_height = \3, \0_width = 6, \0_pages = \2, \0_count = \1, \0_first = \4 };\n";
const char SET_CLOSING[] = "};\nenum { \0_height = \3, \0_width = 6, \0_pages = \2, \0_count = \1 };\n";

// One page of a glyph: each column's 8 rows, the top one in bit 0.
void put_page(Out &out, const unsigned char *rows, DWORD height, DWORD page)
{
    put_text(out, "   ");
    for (DWORD x = 0; x < ROW_CELLS; ++x) {
        DWORD column = 0;
        for (DWORD r = 0; r < PAGE_ROWS && page * PAGE_ROWS + r < height; ++r)
            column |= ((rows[page * PAGE_ROWS + r] >> (ROW_CELLS - 1 - x)) & 1u) << r;
        put_text(out, " 0x");
        put_number(out, column, HEX, 2);
        put_byte(out, ',');
    }
    put_byte(out, LINE_FEED);
}

void write_cols(Out &out, const Font &font, const char *name, bool header)
{
    DWORD glyphs = coded_glyphs(font), pages = (font.height + PAGE_ROWS - 1) / PAGE_ROWS;
    const DWORD values[] = {glyphs, pages, font.height, glyphs ? code_of(font, 0) : font.first};
    put_c_notice(out, font.copyright);
    put_c_notice(out, font.notice);
    put_named(out, header ? HEADER_OPENING : SOURCE_OPENING, header ? 1 : 2, values, put_c_name, name);
    put_text(out, glyphs ? "] = {\n" : " + 1] = {\n    0\n");  // C has no empty arrays
    for (DWORD g = 0; g < glyphs; ++g) {
        put_c_label(out, code_of(font, g), font.registry);
        for (DWORD p = 0; p < pages; ++p)
            put_page(out, font.row_bytes + g * font.height, font.height, p);
    }
    if (codes_one_run(font, glyphs)) {
        put_named(out, RUN_CLOSING, 5, values, put_c_stem, name);
        return;
    }
    put_code_list(out, font, name, header, glyphs);
    put_named(out, SET_CLOSING, 4, values, put_c_stem, name);
}

}  // namespace

void write_cols_header(Out &out, const Font &font, const char *name)
{
    write_cols(out, font, name, true);
}

void write_cols_source(Out &out, const Font &font, const char *name)
{
    write_cols(out, font, name, false);
}
