#include "show.h"
#include "../forms/png.h"
#include "../forms/forms.h"
#include "../platform/block.h"
#include "../readers/readers.h"
#include "../rows/row.h"
#include "../startup/startup.h"

namespace {

const char USAGE_TEXT[] = "usage>glyphshow font text [output [height [first]]]";
const char HELP_TEXT[] =
    "Draws a text in a font: on the terminal (no output, or -), as a drawing (.txt) or as\n"
    "an image (.png), each character its glyph's cell, 6 wide, lines of text below each\n"
    "other; a character the font lacks is drawn blank and said.\n"
    "  font    any font glyphpick reads (BDF, PSF, PCF, gzip-compressed or not), or a\n"
    "          glyph-row font file, whose height (default 8) and first code (default\n"
    "          0x20) follow the output, as glyphdraw reads them\n"
    "  text    UTF-8 (other bytes Latin-1); a line feed or \\n starts a new line\n"
    "More: man glyphshow, or README.md beside the exe.\n";
const char NOT_FOR_FONT_TEXT[] = "height and first are a glyph-row font's only.";
const char SHOW_FORMS_TEXT[] = " (the forms: .txt .png, or none for the terminal).\n";

// The drawing may go to standard output: every message goes to standard
// error (help and version, which are the output asked for, excepted). (A
// function, not a pointer constant: a pointer to a global is data the exe
// would have to carry and relocate.)
inline Stream *messages()
{
    return &stderr_stream;
}
const char MISSING_TEXT[] = "\21 is not in the font: drawn blank.";
const char INK_CUT_TEXT[] = "\21 loses ink outside the 6 by \2 cell.";
const char EMPTY_TEXT_TEXT[] = "the text is empty: nothing to draw.";
const char TOO_MANY_PIXELS_TEXT[] = "the image would be \1 by \2 pixels, past 100 million: nothing is written.";

enum : DWORD {
    LINE_BREAK = 0xFFFFFFFFu,  // in the text's codes
    CELL_PIXELS = 4,           // a cell is a square of 4 by 4 pixels
    MARGIN_PIXELS = 4,
    GLYPH_PIXELS = ROW_CELLS * CELL_PIXELS,
    MOST_PIXELS = 100000000,
};

enum : char { INK_CHARACTER = '#', BLANK_CHARACTER = ' ' };

enum Output { TERMINAL, DRAWING, IMAGE, NO_OUTPUT };

// The output's kind by its suffix, as the other tools tell it; anything
// else has been said.
Output output_of(int argc, char **argv)
{
    if (argc < 4 || text_same(argv[3], "-"))
        return TERMINAL;
    Form form = form_of(argv[3]);
    if (form == FORM_DRAWING)
        return DRAWING;
    if (form == FORM_SHEET)
        return IMAGE;
    say_form_not_known(messages(), argv[3], SHOW_FORMS_TEXT);
    return NO_OUTPUT;
}

// The text's codes, LINE_BREAK for a line feed or the two characters "\n";
// one at the very end adds no line. Returns the count.
DWORD decode_text(const char *text, DWORD *codes)
{
    DWORD n = 0;
    const unsigned char *at = reinterpret_cast<const unsigned char *>(text), *end = at + text_length(text);
    while (at < end) {
        bool escaped = at[0] == '\\' && at[1] == 'n';
        DWORD code = escaped ? LINE_BREAK : next_text_code(at, end);
        at += escaped ? 2 : 0;
        codes[n++] = code == LINE_FEED ? LINE_BREAK : code;
    }
    if (n && codes[n - 1] == LINE_BREAK)
        --n;
    return n;
}

// The text laid out: its lines, each as many cells as its codes, the
// longest giving the width.
struct Layout {
    const DWORD *codes;
    DWORD count, lines, columns;
};

void measure(Layout &t)
{
    t.lines = 1;
    t.columns = 0;
    for (DWORD i = 0, column = 0; i < t.count; ++i) {
        column = t.codes[i] == LINE_BREAK ? 0 : column + 1;
        t.lines += t.codes[i] == LINE_BREAK;
        t.columns = column > t.columns ? column : t.columns;
    }
}

// The font as glyphs by code: a glyph-row font's rows, or the picked ones.
struct Glyphs {
    const unsigned char *rows;
    DWORD height, first, glyphs;  // a glyph-row font: glyph i has the code first + i
    Picked *picked;               // or the picked glyphs
};

// The rows of the code's glyph, or null where the font lacks it.
const unsigned char *glyph_rows(const Glyphs &g, DWORD code)
{
    if (g.picked) {
        const Picked &p = *g.picked;
        DWORD i = picked_index(p, code);
        return i != NOT_PICKED && (p.state[i] & FOUND) ? p.rows + i * p.height : nullptr;
    }
    return code >= g.first && code - g.first < g.glyphs ? g.rows + (code - g.first) * g.height : nullptr;
}

// A line a character the font lacks, and one a glyph that lost ink, each
// once, in the order of its first appearance. STATUS_INK_CUT for a cut.
int say_losses(const Glyphs &g, const Layout &t)
{
    int status = STATUS_DONE;
    for (DWORD i = 0; i < t.count; ++i) {
        DWORD code = t.codes[i], j = 0;
        while (j < i && t.codes[j] != code)
            ++j;
        if (code == LINE_BREAK || j < i)
            continue;
        const DWORD values[] = {code, g.height};
        if (!glyph_rows(g, code)) {
            say(messages(), STATUS_DONE, MISSING_TEXT, values);
        } else if (g.picked && (g.picked->state[picked_index(*g.picked, code)] & CUT)) {
            status = say(messages(), STATUS_INK_CUT, INK_CUT_TEXT, values);
        }
    }
    return status;
}

// Cell `c` of row r of text line l: ink, blank, or past the line's end.
bool inked(const Glyphs &g, const DWORD *line, DWORD length, DWORD c, DWORD r)
{
    const unsigned char *rows = c / ROW_CELLS < length ? glyph_rows(g, line[c / ROW_CELLS]) : nullptr;
    return rows && (rows[r] & (0x20 >> (c % ROW_CELLS)));
}

// The text line starting at codes[at]: its codes and length; at moves on.
const DWORD *next_line(const Layout &t, DWORD &at, DWORD *length)
{
    const DWORD *line = t.codes + at;
    DWORD n = 0;
    while (at + n < t.count && t.codes[at + n] != LINE_BREAK)
        ++n;
    at += n + 1;
    *length = n;
    return line;
}

// "#" for ink and a space for blank, a line per row of cells, trailing
// spaces left off.
void write_drawing_of(Out &out, const Glyphs &g, const Layout &t)
{
    for (DWORD l = 0, at = 0; l < t.lines; ++l) {
        DWORD length;
        const DWORD *line = next_line(t, at, &length);
        for (DWORD r = 0; r < g.height; ++r) {
            DWORD end = length * ROW_CELLS;
            while (end > 0 && !inked(g, line, length, end - 1, r))
                --end;
            for (DWORD c = 0; c < end; ++c)
                put_byte(out, inked(g, line, length, c, r) ? INK_CHARACTER : BLANK_CHARACTER);
            put_byte(out, LINE_FEED);
        }
    }
}

void put_margin(Png &png, unsigned char *pixels, DWORD width)
{
    for (DWORD x = 0; x < width; ++x)
        pixels[x] = PNG_LIGHT;
    for (DWORD i = 0; i < MARGIN_PIXELS; ++i)
        png_row(png, pixels);
}

// Each cell a square of 4 by 4 pixels, ink black, blank white (a short
// line filled out with blank cells), in a grey margin of 4 pixels.
void write_image(Out &out, const Glyphs &g, const Layout &t, unsigned char *pixels)
{
    DWORD width = 2 * MARGIN_PIXELS + t.columns * GLYPH_PIXELS;
    Font none = {};
    Png png;
    if (!png_begin(png, out, width, 2 * MARGIN_PIXELS + t.lines * g.height * CELL_PIXELS, none))
        return;
    put_margin(png, pixels, width);
    for (DWORD l = 0, at = 0; l < t.lines && !out.failed; ++l) {
        DWORD length;
        const DWORD *line = next_line(t, at, &length);
        for (DWORD r = 0; r < g.height; ++r) {
            for (DWORD x = MARGIN_PIXELS; x < width - MARGIN_PIXELS; ++x)
                pixels[x] = inked(g, line, length, (x - MARGIN_PIXELS) / CELL_PIXELS, r) ? PNG_BLACK : PNG_WHITE;
            for (DWORD k = 0; k < CELL_PIXELS; ++k)
                png_row(png, pixels);
        }
    }
    put_margin(png, pixels, width);
    png_end(png);
}

// An image past MOST_PIXELS is refused before anything is written: it
// would take minutes to make and no viewer opens it.
bool image_too_large(const Glyphs &g, const Layout &t)
{
    DWORD width = 2 * MARGIN_PIXELS + t.columns * GLYPH_PIXELS;
    DWORD height = 2 * MARGIN_PIXELS + t.lines * g.height * CELL_PIXELS;
    if (height <= MOST_PIXELS / width)
        return false;
    const DWORD values[] = {width, height};
    say(messages(), STATUS_USAGE, TOO_MANY_PIXELS_TEXT, values);
    return true;
}

// The text drawn where the output asks; a failed write is status 4.
int show(const Glyphs &g, const Layout &t, Output kind, const char *name)
{
    if (kind == IMAGE && image_too_large(g, t))
        return STATUS_USAGE;
    unsigned char *pixels = nullptr;
    if (kind == IMAGE && !(pixels = static_cast<unsigned char *>(block_alloc(2 * MARGIN_PIXELS + t.columns * GLYPH_PIXELS))))
        return STATUS_NO_MEMORY;
    int status = STATUS_DONE;
    Stream *stream = kind == TERMINAL ? &stdout_stream : open_argument(messages(), name, true, &status);
    if (!stream) {
        block_free(pixels);
        return status;
    }
    Out out;
    out_begin(out, stream);
    if (kind == IMAGE)
        write_image(out, g, t, pixels);
    else
        write_drawing_of(out, g, t);
    bool written = out_end(out);
    if (pixels)
        block_free(pixels);
    if ((kind != TERMINAL && close_argument(stream) != 0) || !written)
        return say(messages(), STATUS_CANT_WRITE_OUTPUT, CANT_WRITE_OUTPUT_TEXT, nullptr);
    return say_losses(g, t);
}

// The codes the text needs, as the picked set: memory and time follow the
// characters it has, never the span of their codes. False for want of
// memory.
bool set_of(const Layout &t, Picked &p)
{
    picked_begin_range(p, 0, 0);
    unsigned char *map = code_map_begin();
    if (!map)
        return false;
    for (DWORD i = 0; i < t.count; ++i)
        if (t.codes[i] != LINE_BREAK)
            code_map_set(map, t.codes[i]);
    bool made = picked_begin_set(p, map);
    block_free(map);
    return made;
}

// A glyph-row font: its rows, read whole, as glyphdraw reads them.
int read_row_font(Input &in, Glyphs &g, unsigned char **held, Report &report)
{
    DWORD size;
    int status = input_hold(in, held, &size, report);
    g.glyphs = status == STATUS_DONE ? size / g.height : 0;
    g.rows = *held;
    return status;
}

// A glyph-row font's height and first code follow the output; no other
// font takes them.
int read_font_arguments(int argc, char **argv, bool rows, Glyphs &g)
{
    if (argc <= 4)
        return STATUS_DONE;
    if (!rows)
        say(messages(), STATUS_USAGE, NOT_FOR_FONT_TEXT, nullptr);
    else if (read_argument(messages(), "height", argv[4], HEIGHT_NUMBER, 1, MAX_HEIGHT, &g.height) &&
             (argc <= 5 || read_argument(messages(), "first", argv[5], CODE_NUMBER, 0, MAX_CODE, &g.first)))
        return STATUS_DONE;
    return say(messages(), STATUS_USAGE, USAGE_TEXT, nullptr);
}

// The font read, a glyph-row font or any other, while the font is held.
int read_glyphs(int argc, char **argv, Input &in, Glyphs &g, Picked &p, unsigned char **held)
{
    bool rows = in.end && !input_failed(in) && input_kind(in.block, in.end) == INPUT_ROW_FONT;
    int status = read_font_arguments(argc, argv, rows, g);
    if (status != STATUS_DONE)
        return status;
    Report report = report_of(STATUS_DONE, nullptr);
    status = rows ? read_row_font(in, g, held, report) : read_picked(in, p, report);
    say_report(messages(), report);
    if (!rows) {
        g.picked = &p;
        g.height = p.height;
    }
    return status;
}

int show_font(int argc, char **argv, Layout &t, Output kind)
{
    int status;
    Stream *font = open_argument(messages(), argv[1], false, &status);
    if (!font)
        return status;
    Picked p;
    if (!set_of(t, p)) {
        close_argument(font);
        picked_end(p);
        return STATUS_NO_MEMORY;
    }
    Glyphs g;  // set field by field: an aggregate's initial values would be data in the exe
    g.rows = nullptr;
    g.height = DEFAULT_HEIGHT;
    g.first = DEFAULT_FIRST;
    g.glyphs = 0;
    g.picked = nullptr;
    unsigned char *held = nullptr;
    Input in;
    status = input_begin(in, argv[1], font) ? read_glyphs(argc, argv, in, g, p, &held) : STATUS_NO_MEMORY;
    input_end(in);
    // The font is still held while the output is opened: the same file
    // can't be both.
    if (status == STATUS_DONE)
        status = show(g, t, kind, argc > 3 ? argv[3] : nullptr);
    close_argument(font);
    if (held)
        block_free(held);
    picked_end(p);
    return status;
}

}  // namespace

int show_main(int argc, char **argv)
{
    if (answered_help(argc, argv, "glyphshow", USAGE_TEXT, HELP_TEXT))
        return STATUS_DONE;
    if (argc >= 3 && !argv[2][0])
        say(messages(), STATUS_USAGE, EMPTY_TEXT_TEXT, nullptr);
    Output kind = argc < 3 || !argv[2][0] ? NO_OUTPUT : output_of(argc, argv);
    if (kind == NO_OUTPUT)
        return say(messages(), STATUS_USAGE, USAGE_TEXT, nullptr);
    DWORD *codes = static_cast<DWORD *>(block_alloc((text_length(argv[2]) + 1) * sizeof(DWORD)));
    if (!codes)
        return STATUS_NO_MEMORY;
    Layout t = {codes, decode_text(argv[2], codes), 0, 0};
    measure(t);
    int status = show_font(argc, argv, t, kind);
    block_free(codes);
    return status;
}
