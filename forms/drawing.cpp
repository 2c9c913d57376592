#include "forms.h"
#include "../rows/row.h"

// A label line before each glyph, then a line of six cells for each row,
// "*" ink and "." blank, every line ending in a line feed: a drawing that
// glyphrow turns back into the same bytes. A partial last glyph is drawn
// with the rows it has.
void write_drawing(Out &out, const Font &font, const char *)
{
    char line[LABEL_SIZE + 1];
    for (DWORD i = 0; i < font.rows; ++i) {
        if (i % font.height == 0) {
            char *end = make_label(line, font.first + i / font.height, font.registry);
            *end++ = LINE_FEED;
            put_bytes(out, line, static_cast<DWORD>(end - line));
        }
        draw_row(font.row_bytes[i], line);
        line[ROW_CELLS] = LINE_FEED;
        put_bytes(out, line, ROW_CELLS + 1);
    }
}
