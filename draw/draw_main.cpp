#include "draw.h"
#include "../forms/forms.h"
#include "../platform/block.h"
#include "../rows/row.h"
#include "../startup/startup.h"

namespace {

const char USAGE_TEXT[] = "usage>glyphdraw font.bin drawing.txt [height [first]]";
const char NOT_A_FONT_TEXT[] = "input file is not a glyph-row font: a byte is above 63.";
const char NO_WHOLE_GLYPH_TEXT[] = "input file holds no whole glyph: no BDF or PSF is written.";
const char PARTIAL_GLYPH_TEXT[] = "input file ends inside a glyph: check the height.";
// \1 the number of glyphs.
const char LEFT_OUT_TEXT[] = "glyphs past U+10FFFF left out (BDF and PSF have no codes for them): \1.";

bool read_arguments(int argc, char **argv, Font *font)
{
    font->height = DEFAULT_HEIGHT;
    font->first = DEFAULT_FIRST;
    if (argc < 3)
        return false;
    if (argc > 3 && !parse_number(argv[3], false, 1, MAX_HEIGHT, &font->height))
        return false;
    return argc <= 4 || parse_number(argv[4], true, 0, MAX_CODE, &font->first);
}

// Ends a run in which nothing was written; the output is as it was. No
// memory says nothing, as at start-up.
int refuse(Stream *font, int status, const char *text)
{
    stream_close(font);
    return text ? say(status, text, nullptr) : status;
}

const char *reading_fault(int status)
{
    return status == STATUS_NOT_A_FONT ? NOT_A_FONT_TEXT : status == STATUS_CANT_READ_INPUT ? CANT_READ_INPUT_TEXT : nullptr;
}

// Both streams are closed before anything is said. A failed write or
// close of the output outranks what the form left out.
int finish(Stream *font, Stream *out, bool written, const Font &f, Form form)
{
    stream_close(font);
    bool closed = stream_close(out) == 0;
    if (!written || !closed)
        return say(STATUS_CANT_WRITE_OUTPUT, CANT_WRITE_OUTPUT_TEXT, nullptr);
    say_form_notes(form, f);
    int status = STATUS_DONE;
    DWORD left_out = whole_glyphs(f) - coded_glyphs(f);
    if ((form == FORM_BDF || form == FORM_PSF) && left_out != 0)
        status = say(STATUS_PARTIAL_GLYPH, LEFT_OUT_TEXT, &left_out);
    if (f.rows % f.height != 0)
        status = say(STATUS_PARTIAL_GLYPH, PARTIAL_GLYPH_TEXT, nullptr);
    return status;
}

// The font is known good and held: only now is the output opened (and so
// emptied). A BDF or a PSF without glyphs is a file that no reader takes.
int draw(Stream *font, const char *name, Font &f, Form form)
{
    if ((form == FORM_BDF || form == FORM_PSF) && whole_glyphs(f) == 0)
        return refuse(font, STATUS_NOT_A_FONT, NO_WHOLE_GLYPH_TEXT);
    f.descent = baseline_descent(f);
    Stream *out = stream_open(name, "wb");
    if (!out)
        return refuse(font, STATUS_CANT_OPEN_OUTPUT, CANT_OPEN_OUTPUT_TEXT);
    return finish(font, out, write_form(form, out, f, name), f, form);
}

}  // namespace

int draw_main(int argc, char **argv)
{
    Font f = {};
    if (!read_arguments(argc, argv, &f) || !form_known(argv[2]))
        return say(STATUS_USAGE, USAGE_TEXT, nullptr);
    Form form = form_of(argv[2]);
    Stream *font = stream_open(argv[1], "rb");
    if (!font)
        return say(STATUS_CANT_OPEN_INPUT, CANT_OPEN_INPUT_TEXT, nullptr);
    unsigned char *rows;
    int status = read_font(font, &rows, &f.rows);
    f.row_bytes = rows;
    status = status == STATUS_DONE ? draw(font, argv[2], f, form) : refuse(font, status, reading_fault(status));
    if (rows)
        block_free(rows);
    return status;
}
