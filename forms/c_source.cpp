#include "forms.h"
#include "../rows/row.h"

namespace {

const char LOWER_HEX[] = "0123456789abcdef";
const char EMPTY_NAME[] = "font";
// Texts around the C name, in pieces (see put_named). \1 is the glyph
// count, \2 the height, \3 the first code. A source file declares the array extern first, so that C++
// gives it external linkage too (a const object would otherwise be
// internal).
const char HEADER_OPENING[] = "static const unsigned char \0[\1 * \2";
const char SOURCE_OPENING[] = "extern const unsigned char \0[];\nconst unsigned char \0[\1 * \2";
const char CLOSING[] = "};\nenum { \0_height = \2, \0_first = \3, \0_count = \1 };\n";

bool is_letter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

// The output's base name as a C name: what a name can't hold becomes "_",
// and a leading digit gets one before it.
void put_c_name(Out &out, const char *name)
{
    const char *start, *end;
    base_name(name, &start, &end);
    if (start == end)
        put_text(out, EMPTY_NAME);
    else if (is_digit(*start))
        put_byte(out, '_');
    for (const char *p = start; p < end; ++p)
        put_byte(out, is_letter(*p) || is_digit(*p) ? static_cast<unsigned char>(*p) : '_');
}

// "    0x0e, /* ..***. */": the byte, and a drawing of it.
void put_row(Out &out, int byte)
{
    char line[] = "    0x00, /* ...... */\n";
    line[6] = LOWER_HEX[byte >> 4];
    line[7] = LOWER_HEX[byte & 15];
    draw_row(byte, line + 12);
    put_bytes(out, line, sizeof line - 1);
}

void put_label(Out &out, DWORD code)
{
    char label[LABEL_SIZE];
    put_text(out, "    /* ");
    put_bytes(out, label, static_cast<DWORD>(make_label(label, code) - label));
    put_text(out, " */\n");
}

// The font file's bytes as a C array, a comment with its label before each
// glyph and one drawing each row, and its measures in an enum (constants
// that C can size arrays with). A header is for the one file that includes
// it; a source file is compiled on its own. C has no empty arrays: a font
// without glyphs holds one zero byte.
void write_c(Out &out, const Font &font, const char *name, bool header)
{
    DWORD glyphs = whole_glyphs(font);
    const DWORD values[] = {glyphs, font.height, font.first};
    put_named(out, header ? HEADER_OPENING : SOURCE_OPENING, header ? 1 : 2, values, put_c_name, name);
    put_text(out, glyphs ? "] = {\n" : " + 1] = {\n    0 /* no glyphs */\n");
    for (DWORD i = 0; i < glyphs * font.height; ++i) {
        if (i % font.height == 0)
            put_label(out, font.first + i / font.height);
        put_row(out, font.row_bytes[i]);
    }
    put_named(out, CLOSING, 3, values, put_c_name, name);
}

}  // namespace

void write_c_header(Out &out, const Font &font, const char *name)
{
    write_c(out, font, name, true);
}

void write_c_source(Out &out, const Font &font, const char *name)
{
    write_c(out, font, name, false);
}
