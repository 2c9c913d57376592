#include "forms.h"
#include "../rows/row.h"

// A label line before each glyph, then a line of six cells for each row,
// "*" ink and "." blank, every line ending in a line feed: a drawing that
// glyphrow turns back into the same bytes. A partial last glyph is drawn
// with the rows it has.
namespace {

void put_label(Out &out, const Font &font, DWORD code)
{
    char line[LABEL_SIZE + 1];
    char *end = make_label(line, code, font.registry);
    *end++ = LINE_FEED;
    put_bytes(out, line, static_cast<DWORD>(end - line));
}

void put_row(Out &out, int byte)
{
    char line[ROW_CELLS + 1];
    draw_row(byte, line);
    line[ROW_CELLS] = LINE_FEED;
    put_bytes(out, line, ROW_CELLS + 1);
}

// A set's span, each code its glyph or a blank one.
void write_span(Out &out, const Font &font)
{
    DWORD cursor = 0;
    for (DWORD code = font.span_first;; ++code) {
        const unsigned char *rows = rows_of_code(font, code, &cursor);
        put_label(out, font, code);
        for (DWORD r = 0; r < font.height; ++r)
            put_row(out, rows ? rows[r] : 0);
        if (code == font.span_last)
            return;
    }
}

}  // namespace

void write_drawing(Out &out, const Font &font, const char *)
{
    if (font.codes)
        return write_span(out, font);
    for (DWORD i = 0; i < font.rows; ++i) {
        if (i % font.height == 0)
            put_label(out, font, font.first + i / font.height);
        put_row(out, font.row_bytes[i]);
    }
}
