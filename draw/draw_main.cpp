#include "draw.h"
#include "../forms/forms.h"
#include "../platform/block.h"
#include "../rows/row.h"
#include "../startup/startup.h"

namespace {

const char USAGE_TEXT[] = "usage>glyphdraw font.bin drawing.txt [height [first]]";
const char HELP_TEXT[] =
    "Writes a font file of row bytes (glyphrow's) in the form its output's suffix asks for.\n"
    "  font.bin  one byte a glyph row, cell 1 (the leftmost) in bit 5\n"
    "  output    .txt or none: a drawing that glyphrow reads back; .png: a glyph sheet;\n"
    "            .bdf: BDF 2.1; .psf: a console font; .h, .c: C; .bin: the whole glyphs;\n"
    "            .gfx.h: Adafruit GFX; .cols.h, .cols.c: column pages; .lvgl.c: LVGL\n"
    "  height    rows a glyph, 1 to 255 (default 8)\n"
    "  first     the first glyph's code, 0 to 0x10FFFF, as 65, 0x41 or U+0041 (default 0x20)\n"
    "More: man glyphdraw, or README.md beside the exe.\n";
const char NOT_A_FONT_TEXT[] = "input file is not a glyph-row font: a byte is above 63.";
// What the input is instead, by input_kind, from INPUT_DRAWING on.
const char *const OTHER_INPUT_TEXTS[] = {
    "input file is a drawing, not a glyph-row font: glyphrow converts it.",
    "input file is a BDF font, not a glyph-row font: glyphpick reads it.",
    "input file is a PSF font, not a glyph-row font: glyphpick reads it.",
    "input file is a PNG image, not a font.",
    "input file is gzip-compressed, not a glyph-row font: glyphpick reads it.",
    "input file is a PCF font, not a glyph-row font: glyphpick reads it.",
};
const char NO_WHOLE_GLYPH_TEXT[] = "input file holds no whole glyph: no BDF or PSF is written.";
const char PARTIAL_GLYPH_TEXT[] = "input file ends inside a glyph: check the height.";
// \1 the number of glyphs.
const char LEFT_OUT_TEXT[] = "glyphs past U+10FFFF left out (this form has no codes for them): \1.";

static_assert(sizeof OTHER_INPUT_TEXTS / sizeof OTHER_INPUT_TEXTS[0] == INPUT_PCF - INPUT_DRAWING + 1,
              "a text for each kind of input from INPUT_DRAWING on");

bool read_arguments(Stream *messages, int argc, char **argv, Font *font)
{
    font->height = DEFAULT_HEIGHT;
    font->first = DEFAULT_FIRST;
    if (argc < 3)
        return false;
    if (argc > 3 && !read_argument(messages, "height", argv[3], HEIGHT_NUMBER, 1, MAX_HEIGHT, &font->height))
        return false;
    return argc <= 4 || read_argument(messages, "first", argv[4], CODE_NUMBER, 0, MAX_CODE, &font->first);
}

// Ends a run in which nothing was written; the output is as it was.
int refuse(Stream *messages, Stream *font, const Report &report)
{
    close_argument(font);
    return say_report(messages, report);
}

// Null for a glyph-row font; else why it isn't one: what it is instead
// (a drawing first: the commonest mistake), or a byte above 63.
const char *not_rows(const Font &f)
{
    InputKind kind = input_kind(f.row_bytes, f.rows);
    if (kind == INPUT_ROW_FONT)
        return nullptr;
    return kind == INPUT_UNKNOWN ? NOT_A_FONT_TEXT : OTHER_INPUT_TEXTS[kind - INPUT_DRAWING];
}

// Both streams are closed before anything is said. A failed write or
// close of the output outranks what the form left out.
int finish(Stream *messages, Stream *font, Stream *out, bool written, const Font &f, Form form)
{
    close_argument(font);
    bool closed = close_argument(out) == 0;
    if (!written || !closed)
        return say(messages, STATUS_CANT_WRITE_OUTPUT, CANT_WRITE_OUTPUT_TEXT, nullptr);
    Report notes[FORM_NOTES];
    for (DWORD i = 0, n = form_notes(form, f, notes); i < n; ++i)
        say_report(messages, notes[i]);
    int status = STATUS_DONE;
    DWORD left_out = whole_glyphs(f) - coded_glyphs(f);
    if (form_has_codes(form) && left_out != 0)
        status = say(messages, STATUS_PARTIAL_GLYPH, LEFT_OUT_TEXT, &left_out);
    if (f.rows % f.height != 0)
        status = say(messages, STATUS_PARTIAL_GLYPH, PARTIAL_GLYPH_TEXT, nullptr);
    return status;
}

// The font is known good and held: only now is the output opened (and so
// emptied). A BDF or a PSF without glyphs is a file that no reader takes.
int draw(Stream *messages, Stream *font, const char *name, Font &f, Form form)
{
    if (const char *wrong = not_rows(f))
        return refuse(messages, font, report_of(STATUS_NOT_A_FONT, wrong));
    if ((form == FORM_BDF || form == FORM_PSF) && whole_glyphs(f) == 0)
        return refuse(messages, font, report_of(STATUS_NOT_A_FONT, NO_WHOLE_GLYPH_TEXT));
    f.descent = baseline_descent(f);
    if (const char *why = form_refusal(form, f))
        return refuse(messages, font, report_of(STATUS_NOT_A_FONT, why));
    int status;
    Stream *out = open_argument(messages, name, true, &status);
    if (!out)
        return refuse(messages, font, report_of(status, nullptr));
    return finish(messages, font, out, write_form(form, out, f, name), f, form);
}

int draw_font(Stream *messages, char **argv, Font &f)
{
    Form form = form_of(argv[2]);
    int status;
    Stream *font = open_argument(messages, argv[1], false, &status);
    if (!font)
        return status;
    unsigned char *rows;
    Report report = report_of(STATUS_DONE, nullptr);
    status = read_font(font, &rows, &f.rows, report);
    f.row_bytes = rows;
    status = status == STATUS_DONE ? draw(messages, font, argv[2], f, form) : refuse(messages, font, report);
    if (rows)
        block_free(rows);
    return status;
}

}  // namespace

// A drawing on standard output has the messages go to standard error.
int draw_main(int argc, char **argv)
{
    if (answered_help(argc, argv, "glyphdraw", USAGE_TEXT, HELP_TEXT))
        return STATUS_DONE;
    Stream *messages = messages_for(argc > 2 ? argv[2] : nullptr);
    Font f = {};
    if (!read_arguments(messages, argc, argv, &f) || !form_known(messages, argv[2]))
        return say(messages, STATUS_USAGE, USAGE_TEXT, nullptr);
    return draw_font(messages, argv, f);
}
