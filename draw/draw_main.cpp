#include "draw.h"
#include "../platform/block.h"
#include "../rows/row.h"
#include "../startup/startup.h"

namespace {

const char USAGE_TEXT[] = "usage>glyphdraw font.bin drawing.txt [height [first]]";
const char NOT_A_FONT_TEXT[] = "input file is not a glyph-row font: a byte is above 63.";
const char PARTIAL_GLYPH_TEXT[] = "input file ends inside a glyph: check the height.";
const char SHEET_SUFFIX[] = ".png";

bool read_arguments(int argc, char **argv, Layout *layout)
{
    layout->height = DEFAULT_HEIGHT;
    layout->first = DEFAULT_FIRST;
    if (argc < 3)
        return false;
    if (argc > 3 && !parse_number(argv[3], false, 1, MAX_HEIGHT, &layout->height))
        return false;
    return argc <= 4 || parse_number(argv[4], true, 0, MAX_FIRST, &layout->first);
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A drawing named *.png, in any case, is a glyph sheet.
bool is_sheet_name(const char *name)
{
    const DWORD suffix = sizeof SHEET_SUFFIX - 1;
    DWORD length = 0;
    while (name[length])
        ++length;
    if (length < suffix)
        return false;
    for (DWORD i = 0; i < suffix; ++i)
        if (lower(name[length - suffix + i]) != SHEET_SUFFIX[i])
            return false;
    return true;
}

// The first pass: every byte must be a row (0 to 63), and the rows are
// counted, all before the drawing is touched. Returns STATUS_DONE, or the
// status that ends the run with the drawing untouched.
int scan_font(Stream *font, DWORD *rows)
{
    *rows = 0;
    for (int byte; (byte = stream_getc(font)) != STREAM_EOF; ++*rows)
        if (byte > ROW_BITS)
            return STATUS_NOT_A_FONT;
    return stream_error(font) ? STATUS_CANT_READ_INPUT : STATUS_DONE;
}

// Ends a run in which nothing was written; the drawing is as it was.
int refuse(Stream *font, int status)
{
    stream_close(font);
    switch (status) {
    case STATUS_NOT_A_FONT: return report(NOT_A_FONT_TEXT, status);
    case STATUS_CANT_READ_INPUT: return report(CANT_READ_INPUT_TEXT, status);
    case STATUS_CANT_OPEN_OUTPUT: return report(CANT_OPEN_OUTPUT_TEXT, status);
    default: return status;  // no memory: nothing is said, as at start-up
    }
}

// Both streams are closed before anything is said. A failed write outranks
// a failed read, which outranks a failed close of the drawing.
int finish(Stream *font, Stream *drawing, int written, const Layout &layout)
{
    stream_close(font);
    bool drawing_closed = stream_close(drawing) == 0;
    if (written == STATUS_CANT_WRITE_OUTPUT || (written == STATUS_DONE && !drawing_closed))
        return report(CANT_WRITE_OUTPUT_TEXT, STATUS_CANT_WRITE_OUTPUT);
    if (written == STATUS_CANT_READ_INPUT)
        return report(CANT_READ_INPUT_TEXT, STATUS_CANT_READ_INPUT);
    if (layout.rows % layout.height != 0)
        return report(PARTIAL_GLYPH_TEXT, STATUS_PARTIAL_GLYPH);
    return STATUS_DONE;
}

// The second pass, once the font is known good: the drawing is opened (and
// so emptied) only now, and the font read again from its start.
int draw(Stream *font, const char *name, const Layout &layout, unsigned char *glyph_line)
{
    if (stream_rewind(font) != 0)
        return refuse(font, STATUS_CANT_READ_INPUT);
    Stream *drawing = stream_open(name, "wb");
    if (!drawing)
        return refuse(font, STATUS_CANT_OPEN_OUTPUT);
    int written = glyph_line ? write_sheet(font, drawing, layout, glyph_line)
                             : write_drawing(font, drawing, layout);
    return finish(font, drawing, written, layout);
}

}  // namespace

int draw_main(int argc, char **argv)
{
    Layout layout;
    if (!read_arguments(argc, argv, &layout))
        return report(USAGE_TEXT, STATUS_USAGE);
    Stream *font = stream_open(argv[1], "rb");
    if (!font)
        return report(CANT_OPEN_INPUT_TEXT, STATUS_CANT_OPEN_INPUT);
    int scanned = scan_font(font, &layout.rows);
    if (scanned != STATUS_DONE)
        return refuse(font, scanned);
    if (!is_sheet_name(argv[2]))
        return draw(font, argv[2], layout, nullptr);
    unsigned char *glyph_line = static_cast<unsigned char *>(block_alloc(glyph_line_size(layout)));
    if (!glyph_line)
        return refuse(font, STATUS_NO_MEMORY);
    int status = draw(font, argv[2], layout, glyph_line);
    block_free(glyph_line);
    return status;
}
