#include "forms.h"
#include "../rows/row.h"

namespace {

enum : DWORD {
    CONSOLE_GLYPHS = 256,      // the Linux console takes 256 or 512 glyphs
};

// What the console can load: 256 glyphs, or 512 past 256; more stay whole.
DWORD padded_count(DWORD glyphs)
{
    if (glyphs <= CONSOLE_GLYPHS)
        return CONSOLE_GLYPHS;
    return glyphs <= 2 * CONSOLE_GLYPHS ? 2 * CONSOLE_GLYPHS : glyphs;
}

void put_le32(Out &out, DWORD value)
{
    for (int i = 0; i < 4; ++i)
        put_byte(out, static_cast<unsigned char>(value >> (8 * i)));
}

void put_header(Out &out, const Font &font, DWORD count)
{
    const DWORD fields[] = {PSF2_MAGIC, 0, PSF2_HEADER_SIZE, PSF2_HAS_TABLE,
                            count, font.height, font.height, ROW_CELLS};
    for (DWORD field : fields)
        put_le32(out, field);
}

void put_utf8(Out &out, DWORD code)
{
    if (code < 0x80) {
        put_byte(out, static_cast<unsigned char>(code));
        return;
    }
    int continuations = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    const unsigned char lead[] = {0, 0xC0, 0xE0, 0xF0};
    put_byte(out, static_cast<unsigned char>(lead[continuations] | code >> (6 * continuations)));
    while (continuations-- > 0)
        put_byte(out, static_cast<unsigned char>(0x80 | ((code >> (6 * continuations)) & 0x3F)));
}

}  // namespace

// PSF version 2 with a Unicode table: each glyph's code in UTF-8; the blank
// glyphs that pad the font for the console have none.
void write_psf(Out &out, const Font &font, const char *)
{
    DWORD glyphs = coded_glyphs(font), count = padded_count(glyphs);
    put_header(out, font, count);
    // The measures in locals: a byte put in the buffer could, for all the
    // compiler knows, change the font's.
    const unsigned char *rows = font.row_bytes;
    DWORD inked = glyphs * font.height, total = count * font.height;
    for (DWORD i = 0; i < total; ++i)
        put_byte(out, i < inked ? static_cast<unsigned char>(rows[i] << WIDE_ROW_SHIFT) : 0);
    for (DWORD glyph = 0; glyph < count; ++glyph) {
        if (glyph < glyphs)
            put_utf8(out, font.first + glyph);
        put_byte(out, PSF2_SEPARATOR);
    }
}
