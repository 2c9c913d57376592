#include "forms.h"
#include "../rows/row.h"

namespace {

// Where each glyph sits: a position's glyph + 1, or 0 for a blank one.
using Layout = unsigned short[CONSOLE_MOST];

// The console's layout in `positions` (256 or 512): a glyph whose code is
// below the count at its code, the others in the free positions from the
// lowest, in code order, never at 32, which the console fills erased cells
// with and so holds the space or nothing. False when they don't fit.
bool lay_out(const Font &font, DWORD glyphs, DWORD positions, Layout at)
{
    DWORD low = 0;
    bool has_space = false;
    for (DWORD g = 0; g < glyphs; ++g) {
        low += code_of(font, g) < positions;
        has_space = has_space || code_of(font, g) == SPACE_CODE;
    }
    if (glyphs - low > positions - low - !has_space)
        return false;
    for (DWORD p = 0; p < positions; ++p)
        at[p] = 0;
    for (DWORD g = 0; g < glyphs; ++g)
        if (code_of(font, g) < positions)
            at[code_of(font, g)] = static_cast<unsigned short>(g + 1);
    DWORD free = 0;
    for (DWORD g = 0; g < glyphs; ++g) {
        if (code_of(font, g) < positions)
            continue;
        while (at[free] || free == SPACE_CODE)
            ++free;
        at[free] = static_cast<unsigned short>(g + 1);
    }
    return true;
}

// The positions of the console's layout, filled in; 0 where the glyphs
// don't fit it, and go in code order, one a position.
DWORD layout_of(const Font &font, Layout at)
{
    if (font.registry)
        return 0;
    for (DWORD positions = CONSOLE_GLYPHS; positions <= CONSOLE_MOST; positions *= 2)
        if (lay_out(font, coded_glyphs(font), positions, at))
            return positions;
    return 0;
}

void put_le32(Out &out, DWORD value)
{
    for (int i = 0; i < 4; ++i)
        put_byte(out, static_cast<unsigned char>(value >> (8 * i)));
}

void put_header(Out &out, const Font &font, DWORD count)
{
    const DWORD fields[] = {PSF2_MAGIC, 0, PSF2_HEADER_SIZE, font.registry ? 0u : static_cast<DWORD>(PSF2_HAS_TABLE),
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

bool psf_laid_out(const Font &font)
{
    if (font.registry)
        return !coded_glyphs(font) || code_of(font, coded_glyphs(font) - 1) < CONSOLE_MOST;
    Layout at;
    return layout_of(font, at) != 0;
}

// Codes of another registry have no place in a Unicode table: each glyph
// at its code's position, as a console font without a table has them, in
// 256 or 512 positions or as many as the codes reach.
void write_positioned(Out &out, const Font &font)
{
    DWORD glyphs = coded_glyphs(font), end = glyphs ? code_of(font, glyphs - 1) + 1 : 0;
    DWORD count = end <= CONSOLE_GLYPHS ? static_cast<DWORD>(CONSOLE_GLYPHS) : end <= CONSOLE_MOST ? static_cast<DWORD>(CONSOLE_MOST) : end;
    put_header(out, font, count);
    DWORD g = 0;
    for (DWORD p = 0; p < count; ++p) {
        while (g < glyphs && code_of(font, g) < p)
            ++g;
        const unsigned char *row = g < glyphs && code_of(font, g) == p ? font.row_bytes + g * font.height : nullptr;
        for (DWORD r = 0; r < font.height; ++r)
            put_byte(out, row ? static_cast<unsigned char>(row[r] << WIDE_ROW_SHIFT) : 0);
    }
}

// PSF version 2 with a Unicode table: each glyph's code in UTF-8, blank
// positions with none.
void write_psf(Out &out, const Font &font, const char *)
{
    if (font.registry)
        return write_positioned(out, font);
    Layout at;
    DWORD count = layout_of(font, at);
    bool laid_out = count != 0;
    if (!laid_out)
        count = coded_glyphs(font);
    put_header(out, font, count);
    // The measures in locals: a byte put in the buffer could, for all the
    // compiler knows, change the font's.
    const unsigned char *rows = font.row_bytes;
    DWORD height = font.height;
    for (DWORD p = 0; p < count; ++p) {
        DWORD glyph = laid_out ? at[p] : p + 1;
        const unsigned char *row = rows + (glyph - 1) * height;
        for (DWORD r = 0; r < height; ++r)
            put_byte(out, glyph ? static_cast<unsigned char>(row[r] << WIDE_ROW_SHIFT) : 0);
    }
    for (DWORD p = 0; p < count; ++p) {
        DWORD glyph = laid_out ? at[p] : p + 1;
        if (glyph)
            put_utf8(out, code_of(font, glyph - 1));
        put_byte(out, PSF2_SEPARATOR);
    }
}
