#include "forms.h"
#include "../rows/row.h"

namespace {

const char LOWER_HEX[] = "0123456789abcdef";
const char EMPTY_NAME[] = "font";

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

void put_decimal(Out &out, DWORD value)
{
    put_number(out, value, DECIMAL, 1);
}

// "    0x0e, /* ..***. */": the byte, and a drawing of it.
void put_row(Out &out, int byte)
{
    char cells[ROW_CELLS];
    draw_row(byte, cells);
    put_text(out, "    0x");
    put_byte(out, static_cast<unsigned char>(LOWER_HEX[byte >> 4]));
    put_byte(out, static_cast<unsigned char>(LOWER_HEX[byte & 15]));
    put_text(out, ", /* ");
    put_bytes(out, cells, ROW_CELLS);
    put_text(out, " */\n");
}

void put_label(Out &out, DWORD code)
{
    char label[LABEL_SIZE];
    put_text(out, "    /* ");
    put_bytes(out, label, static_cast<DWORD>(make_label(label, code) - label));
    put_text(out, " */\n");
}

// The array's first line: "[static ]const unsigned char NAME[C * H] = {".
// C has no empty arrays: a font without glyphs holds one zero byte.
void put_array_head(Out &out, const char *name, bool header, DWORD glyphs, DWORD height)
{
    if (!header) {
        // Declared extern first, so that C++ gives the array external
        // linkage too (a const object would otherwise be internal).
        put_text(out, "extern const unsigned char ");
        put_c_name(out, name);
        put_text(out, "[];\n");
    }
    put_text(out, header ? "static const unsigned char " : "const unsigned char ");
    put_c_name(out, name);
    put_byte(out, '[');
    put_decimal(out, glyphs);
    put_text(out, " * ");
    put_decimal(out, height);
    put_text(out, glyphs ? "] = {\n" : " + 1] = {\n    0 /* no glyphs */\n");
}

void put_constant(Out &out, const char *name, const char *field, DWORD value, const char *after)
{
    put_c_name(out, name);
    put_text(out, field);
    put_decimal(out, value);
    put_text(out, after);
}

}  // namespace

// The font file's bytes as a C array, a comment with its label before each
// glyph and one drawing each row, and its measures in an enum (constants
// that C can size arrays with). A header is for the one file that includes
// it; a source file is compiled on its own.
bool write_c(Stream *stream, const Font &font, const char *name, bool header)
{
    Out out;
    out_begin(out, stream);
    DWORD glyphs = whole_glyphs(font);
    put_text(out, "/* A font of one byte a row, cell 1 in bit 5, glyph i of code first + i. */\n");
    put_array_head(out, name, header, glyphs, font.height);
    for (DWORD i = 0; i < glyphs * font.height; ++i) {
        if (i % font.height == 0)
            put_label(out, font.first + i / font.height);
        put_row(out, font.row_bytes[i]);
    }
    put_text(out, "};\nenum { ");
    put_constant(out, name, "_height = ", font.height, ", ");
    put_constant(out, name, "_first = ", font.first, ", ");
    put_constant(out, name, "_count = ", glyphs, " };\n");
    return out_end(out);
}
