#include "draw.h"
#include "../rows/row.h"

namespace {

enum : DWORD {
    LABEL_DIGITS = 4,        // "U+0041": at least four hex digits
    FIRST_SHOWN = 33,        // codes 33 to 126 show their character
    LAST_SHOWN = 126,
    LABEL_SIZE = 12,         // "U+" 8 digits: 10 bytes and a line feed at most
};

// "U+0041 A": glyphrow skips it, since it begins with neither a space, "*"
// nor "."; it stays within 10 bytes before its line feed, so it is one line
// piece however large the code, and no piece of it can turn into a row.
DWORD make_label(char *label, DWORD code)
{
    char *at = label;
    *at++ = 'U';
    *at++ = '+';
    at = format_number(at, code, HEX, LABEL_DIGITS);
    if (code >= FIRST_SHOWN && code <= LAST_SHOWN) {
        *at++ = ' ';
        *at++ = static_cast<char>(code);
    }
    *at++ = LINE_FEED;
    return static_cast<DWORD>(at - label);
}

bool write_line(Stream *drawing, const char *line, DWORD length)
{
    return stream_write(line, 1, length, drawing) == length;
}

}  // namespace

int next_row(Stream *font)
{
    int byte = stream_getc(font);
    return byte > ROW_BITS ? STREAM_EOF : byte;
}

// A label line before each glyph, then a line of six cells for each row;
// a partial last glyph is drawn with the rows it has.
int write_drawing(Stream *font, Stream *drawing, const Layout &layout)
{
    char label[LABEL_SIZE];
    char row[ROW_CELLS + 1];
    row[ROW_CELLS] = LINE_FEED;
    DWORD code = layout.first;
    for (DWORD i = 0; i < layout.rows; ++i) {
        if (i % layout.height == 0 && !write_line(drawing, label, make_label(label, code++)))
            return STATUS_CANT_WRITE_OUTPUT;
        int byte = next_row(font);
        if (byte == STREAM_EOF)
            return STATUS_CANT_READ_INPUT;
        draw_row(byte, row);
        if (!write_line(drawing, row, sizeof row))
            return STATUS_CANT_WRITE_OUTPUT;
    }
    return STATUS_DONE;
}
