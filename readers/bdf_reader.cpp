#include "readers.h"
#include "code_pages.h"
#include "../rows/row.h"
#include "../startup/startup.h"

namespace {

enum : DWORD {
    MAX_NUMBER = 0x0FFFFFFE,          // sums of four such stay within an int
    MAX_GLYPH_WIDTH = 4 * LINE_KEEP,  // every hex digit of a row must be kept
    MAX_WORDS = 6,
    NO_CODE = 0xFFFFFFFFu,
};

// The keywords that matter; every other line (COMMENT, SIZE, SWIDTH and the
// like, and properties but four) says nothing of where the glyphs' ink is,
// what their codes mean or whose they are.
enum Keyword {
    STARTFONT, FONTBOUNDINGBOX, STARTPROPERTIES, ENDPROPERTIES, CHARSET_REGISTRY, CHARSET_ENCODING,
    CHARS, STARTCHAR, ENCODING, BBX, BITMAP, ENDCHAR, ENDFONT, COPYRIGHT, NOTICE, OTHER,
};
const char *const KEYWORDS[] = {
    "STARTFONT", "FONTBOUNDINGBOX", "STARTPROPERTIES", "ENDPROPERTIES", "CHARSET_REGISTRY",
    "CHARSET_ENCODING", "CHARS", "STARTCHAR", "ENCODING", "BBX", "BITMAP", "ENDCHAR", "ENDFONT",
    "COPYRIGHT", "NOTICE",
};
static_assert(sizeof KEYWORDS / sizeof KEYWORDS[0] == OTHER, "a keyword's text for each Keyword");

enum Part { HEADER, PROPERTIES, GLYPH, ROWS, NO_PART };

// For each keyword, the part of the font in which its numbers count.
const unsigned char NUMBERED_IN[] = {
    NO_PART, HEADER, NO_PART, NO_PART, NO_PART, NO_PART, HEADER, NO_PART, GLYPH, GLYPH, NO_PART, NO_PART, NO_PART,
    NO_PART, NO_PART, NO_PART,
};
static_assert(sizeof NUMBERED_IN == OTHER + 1, "a part for each Keyword");

// The messages' values: \1 the line, \22 the glyph's code, \3 and \4
// what the message counts, \5 the line where the glyph began. Each
// follows "line N: "; a glyph's, which begin with a space, follow "line N:
// glyph U+0041", or "line N: the glyph at line M" before its code is known.
enum { LINE, CODE, COUNT, EXPECTED, GLYPH_LINE, VALUE_COUNT };
const char CELL_FIRST[] = "no FONTBOUNDINGBOX before the first glyph.";
const char NO_CELL[] = "the font has no FONTBOUNDINGBOX.";
const char CELL_AFTER_GLYPH[] = "a FONTBOUNDINGBOX after the first glyph.";
const char BAD_CELL[] = "the cell must be 1 to 255 rows high.";
const char BAD_NUMBER[] = "a number is missing or too large.";
const char NO_CHARS[] = "the font has no CHARS.";
const char WRONG_CHARS[] = "CHARS says \3, the font has \4 glyphs.";
const char NO_ENDFONT[] = "the font has no ENDFONT.";
const char NOT_A_FONT_TEXT[] = "input file is not a BDF, PSF or PCF font.";
const char AT_LINE[] = ":\1: ";
const char GLYPH_BY_CODE[] = ":\1: glyph \22";
const char GLYPH_BY_LINE[] = ":\1: the glyph at line \5";
const char NO_ENCODING_OR_BBX[] = " has no ENCODING or no BBX before its BITMAP.";
const char BAD_BBX[] = " has a BBX that doesn't fit.";
const char NO_BITMAP[] = " has no BITMAP.";
const char NO_ENDCHAR[] = " has no ENDCHAR.";
const char NOT_HEX[] = " has a row that is not \3 hex digits.";
const char WRONG_ROWS[] = " has \3 bitmap rows, its BBX says \4.";

// A box's numbers in the order FONTBOUNDINGBOX and BBX give them.
enum { WIDTH, HEIGHT, X, Y, BOX_NUMBERS };

// The values first: they are used most, and near the start of the record
// they are reached with the shortest instructions.
struct Reading {
    DWORD values[VALUE_COUNT];
    Part part;
    bool ended;  // ENDFONT was read, the font whole
    Report *report;
    Input *in;
    Picked *picked;
    char *text;  // the line: its first LINE_KEEP bytes, in the input's buffers
    DWORD length;  // of the text, its blanks included
    bool line_cut;  // the line went on past LINE_KEEP bytes
    char *words[MAX_WORDS];  // past the line's last word, empty ones
    DWORD seen;    // a bit a keyword: the numbers of the font's or the glyph's were read
    int number;    // CHARS's or ENCODING's
    DWORD chars, glyphs;
    int cell[BOX_NUMBERS];
    int box[BOX_NUMBERS];  // the glyph's
    unsigned char *rows;  // the picked glyph's rows, or null
    char encoding[REGISTRY_SIZE / 2];  // the registry is the picked glyphs' foreign
    const CodePage *page;  // the 8-bit encoding whose codes are turned into Unicode's, or null
};

DWORD bit(Keyword k)
{
    return 1u << k;
}

bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == CARRIAGE_RETURN;
}

int hex_value(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(c | 0x20);  // lower case
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// A line of any length: its first LINE_KEEP bytes from its first word on are
// kept (an indented row of the widest glyph still fits), the rest passed
// over; a carriage return before the line feed and blanks at the end go.
// Then its words, each ended in place; the words a line lacks are empty.
bool read_line(Reading &r)
{
    int c = input_byte(*r.in);
    if (c == STREAM_EOF)
        return false;
    DWORD length = 0;
    r.line_cut = false;
    for (; c != STREAM_EOF && c != LINE_FEED; c = input_byte(*r.in)) {
        if (length < LINE_KEEP && (length || !is_blank(static_cast<char>(c))))
            r.text[length++] = static_cast<char>(c);
        else if (length == LINE_KEEP)
            r.line_cut = true;
    }
    r.text[length] = 0;
    r.length = length;
    ++r.values[LINE];
    char *p = r.text;
    for (char *&word : r.words) {
        while (is_blank(*p))
            *p++ = 0;
        word = p;
        while (*p && !is_blank(*p))
            ++p;
    }
    return true;
}

// The line's first word as a keyword; a line without words is OTHER too.
// Most lines are a glyph's rows, which differ from every keyword at once.
Keyword keyword(const Reading &r)
{
    int k = 0;
    while (k < OTHER && !text_same(r.words[0], KEYWORDS[k]))
        ++k;
    return static_cast<Keyword>(k);
}

// The keyword's whole numbers, each within MAX_NUMBER either side of 0.
bool read_numbers(const Reading &r, Keyword k, int *numbers)
{
    DWORD count = k == FONTBOUNDINGBOX || k == BBX ? BOX_NUMBERS : 1;
    for (DWORD i = 1; i <= count; ++i) {
        const char *word = r.words[i];
        bool minus = *word == '-';
        DWORD n;
        if (!parse_number(word + minus, false, 0, MAX_NUMBER, &n))
            return false;
        numbers[i - 1] = minus ? -static_cast<int>(n) : static_cast<int>(n);
    }
    return true;
}

// A quoted value without its quotes, cut to fit.
void copy_value(const Reading &r, char *to)
{
    const char *from = r.words[1];
    from += *from == '"';
    DWORD n = 0;
    for (; from[n] && from[n] != '"' && n < REGISTRY_SIZE / 2 - 1; ++n)
        to[n] = from[n];
    to[n] = 0;
}

// The picked glyphs are made with the first glyph, the cell and the
// properties known by then.
// Each of the line's functions returns null, or what is wrong with the font.
const char *begin_glyphs(Reading &r)
{
    if (!(r.seen & bit(FONTBOUNDINGBOX)))
        return CELL_FIRST;
    if (r.picked->rows)
        return nullptr;
    r.page = choose_codes(*r.picked, r.encoding);
    if (!picked_begin(*r.picked, static_cast<DWORD>(r.cell[HEIGHT])))
        fault(*r.report, STATUS_NO_MEMORY, nullptr);
    return nullptr;
}

// The glyph's code in Unicode, or NO_CODE for one it doesn't have.
DWORD glyph_code(Reading &r)
{
    if (r.number < 0)
        return NO_CODE;
    return picked_code(*r.picked, r.page, static_cast<DWORD>(r.number));
}

// COPYRIGHT's or NOTICE's value as the line has it, its quotes kept (the
// blanks that split it into words come back as spaces), or null for none.
const char *copy_notice(Reading &r, char *to)
{
    DWORD n = 0;
    for (const char *from = r.words[1]; from < r.text + r.length; ++from)
        to[n++] = *from ? *from : ' ';
    while (n && to[n - 1] == ' ')
        --n;
    to[n] = 0;
    return n ? keep_notice(*r.picked, to, n, r.line_cut) : nullptr;
}

const char *end_font(Reading &r)
{
    r.values[COUNT] = r.chars;
    r.values[EXPECTED] = r.glyphs;
    if (!(r.seen & bit(CHARS)))
        return NO_CHARS;
    if (r.chars != r.glyphs)
        return WRONG_CHARS;
    if (!(r.seen & bit(FONTBOUNDINGBOX)))
        return NO_CELL;
    begin_glyphs(r);  // a font without glyphs gives blank ones
    int below = -r.cell[Y];
    r.picked->descent = below < 0 ? 0 : below > r.cell[HEIGHT] ? r.cell[HEIGHT] : below;
    r.ended = true;
    return nullptr;
}

// The glyphs' block is sized by the cell when the first glyph begins: a
// later box would place rows past it.
const char *header_line(Reading &r, Keyword k)
{
    if (k == FONTBOUNDINGBOX && r.picked->rows)
        return CELL_AFTER_GLYPH;
    if (k == FONTBOUNDINGBOX && (r.cell[HEIGHT] < 1 || r.cell[HEIGHT] > static_cast<int>(MAX_HEIGHT)))
        return BAD_CELL;
    if (k == STARTPROPERTIES)
        r.part = PROPERTIES;
    if (k == CHARS)
        r.chars = static_cast<DWORD>(r.number);
    if (k == ENDFONT)
        return end_font(r);
    if (k != STARTCHAR)
        return nullptr;
    r.part = GLYPH;
    r.seen &= ~(bit(ENCODING) | bit(BBX));
    r.values[GLYPH_LINE] = r.values[LINE];
    return begin_glyphs(r);
}

const char *property_line(Reading &r, Keyword k)
{
    if (k == ENDPROPERTIES)
        r.part = HEADER;
    if (k == CHARSET_REGISTRY)
        copy_value(r, r.picked->foreign);
    if (k == CHARSET_ENCODING)
        copy_value(r, r.encoding);
    if (k == COPYRIGHT)
        r.picked->copyright = copy_notice(r, r.picked->copyright_text);
    if (k == NOTICE)
        r.picked->notice = copy_notice(r, r.picked->notice_text);
    return nullptr;
}

const char *glyph_line(Reading &r, Keyword k)
{
    const int *b = r.box;
    const DWORD needed = bit(ENCODING) | bit(BBX);
    if (k == ENCODING)
        r.values[CODE] = glyph_code(r);
    if (k == BBX && (b[WIDTH] < 0 || b[HEIGHT] < 0 || b[WIDTH] > static_cast<int>(MAX_GLYPH_WIDTH)))
        return BAD_BBX;
    if (k == ENDCHAR)
        return NO_BITMAP;
    if (k != BITMAP)
        return nullptr;
    if ((r.seen & needed) != needed)
        return NO_ENCODING_OR_BBX;
    r.part = ROWS;
    r.values[COUNT] = 0;
    r.rows = r.values[CODE] == NO_CODE ? nullptr : picked_claim(*r.picked, r.values[CODE]);
    return nullptr;
}

// Bit 7 of a row's first byte is the glyph's leftmost pixel; the glyph is
// placed in the cell by its box's offsets against the cell's.
void place_row(Reading &r, const char *hex)
{
    const int *c = r.cell, *g = r.box;
    int row = (c[Y] + c[HEIGHT]) - (g[Y] + g[HEIGHT]) + static_cast<int>(r.values[COUNT]);
    for (int p = 0; p < g[WIDTH]; ++p)
        if (hex_value(hex[p / 4]) & (8 >> (p % 4)))
            place_ink(*r.picked, r.rows, row, g[X] - c[X] + p);
}

// A row must be hex digits alone, at least two for every 8 pixels of the
// glyph's width; ENDCHAR must come after as many rows as the box is high.
const char *row_line(Reading &r, Keyword k)
{
    r.values[EXPECTED] = static_cast<DWORD>(r.box[HEIGHT]);
    if (k == ENDCHAR) {
        if (r.values[COUNT] != r.values[EXPECTED])
            return WRONG_ROWS;
        r.part = HEADER;
        ++r.glyphs;
        return nullptr;
    }
    const char *row = r.words[1][0] ? "" : r.words[0];  // one word alone
    DWORD digits = 0;
    while (hex_value(row[digits]) >= 0)
        ++digits;
    DWORD needed = (static_cast<DWORD>(r.box[WIDTH]) + 7) / 8 * 2;
    if (row[digits] || digits < needed) {
        r.values[COUNT] = needed;
        return NOT_HEX;
    }
    if (r.rows && r.values[COUNT] < r.values[EXPECTED])
        place_row(r, row);
    ++r.values[COUNT];
    return nullptr;
}

const char *take_line(Reading &r)
{
    Keyword k = keyword(r);
    if (NUMBERED_IN[k] == r.part) {
        if (!read_numbers(r, k, k == FONTBOUNDINGBOX ? r.cell : k == BBX ? r.box : &r.number))
            return BAD_NUMBER;
        r.seen |= bit(k);
    }
    if (r.part >= GLYPH && (k == STARTCHAR || k == ENDFONT))
        return NO_ENDCHAR;
    switch (r.part) {
    case HEADER: return header_line(r, k);
    case PROPERTIES: return property_line(r, k);
    case GLYPH: return glyph_line(r, k);
    default: return row_line(r, k);
    }
}

// "font.bdf:9: ...", as compilers and linters name a line, so that editors
// and CI annotations find it; for a glyph "font.bdf:9: glyph U+0041 ...", or
// "font.bdf:9: the glyph at line 5 ..." before its code is known.
int malformed(Reading &r, const char *wrong)
{
    bool coded = (r.seen & bit(ENCODING)) && r.values[CODE] != NO_CODE;
    const char *lead = *wrong != ' ' ? AT_LINE : coded ? GLYPH_BY_CODE : GLYPH_BY_LINE;
    Report &report = *r.report;
    if (report.status != STATUS_DONE)
        return report.status;
    fault(report, STATUS_NOT_A_FONT, wrong, lead);
    report.name = r.in->name;
    static_assert(static_cast<DWORD>(VALUE_COUNT) <= static_cast<DWORD>(REPORT_VALUES), "a line's values fit a report");
    for (int i = 0; i < VALUE_COUNT; ++i)
        report.values[i] = r.values[i];
    return report.status;
}

}  // namespace

int read_bdf(Input &in, Picked &p, Report &report)
{
    Reading r;
    r.in = &in;
    r.picked = &p;
    r.report = &report;
    r.text = in.buffers->line;
    r.page = nullptr;
    r.part = HEADER;
    r.ended = false;
    r.seen = 0;
    r.chars = r.glyphs = r.values[LINE] = 0;
    p.foreign[0] = r.encoding[0] = 0;
    bool started = read_line(r) && keyword(r) == STARTFONT;
    while (started && !r.ended && report.status == STATUS_DONE && read_line(r)) {
        const char *wrong = take_line(r);
        if (wrong)
            return malformed(r, wrong);
    }
    if (report.status != STATUS_DONE || r.ended)
        return report.status;
    if (input_failed(in))
        return fault(report, STATUS_CANT_READ_INPUT, CANT_READ_INPUT_TEXT);
    if (!started)
        return fault(report, STATUS_NOT_A_FONT, NOT_A_FONT_TEXT);
    return malformed(r, r.part == HEADER || r.part == PROPERTIES ? NO_ENDFONT : NO_ENDCHAR);
}
