#include "ink_box.h"
#include "../rows/row.h"

// Adafruit GFX's GFXfont: each glyph's bitmap the box of its ink, row after
// row, the most significant bit first, no padding between rows, each glyph
// from a new byte; a table from the first code to the last without a gap
// (a code the font lacks, or a glyph without ink, is an empty glyph); the
// cursor's y is the baseline row, H - 1 - D of a cell of H rows with a
// descent of D, so a glyph's box is placed by offsets from it.
namespace {

enum : DWORD {
    GFX_MOST_CODE = 0xFFFF,      // first and last are 16 bits
    GFX_MOST_BITMAP = 0xFFFF,    // and so is a glyph's offset in the bitmap
    GFX_BYTE_CODES = 0xFF,       // what Adafruit_GFX itself draws
};

const char OPENING[] =
    " */\n#ifndef PROGMEM\n#define PROGMEM\n#endif\n"
    "#if defined(__has_include)\n#if __has_include(<Adafruit_GFX.h>)\n#include <Adafruit_GFX.h>\n#endif\n#endif\n\n"
    "const uint8_t \0_bitmaps[] PROGMEM = {";
const char GLYPHS_OPENING[] = "};\n\nconst GFXglyph \0_glyphs[] PROGMEM = {\n";
// After the font's own name and its stem: \1 the first code, \2 the last,
// \3 the cell's height.
const char FONT_FIELDS[] = "_glyphs, \1, \2, \3};\n";

// The baseline's row from the top of the cell.
int baseline(const Font &font)
{
    return static_cast<int>(font.height) - 1 - static_cast<int>(font.descent);
}

// The codes the table runs over: the first glyph's to the last's.
DWORD table_first(const Font &font)
{
    return code_of(font, 0);
}

DWORD table_last(const Font &font)
{
    return code_of(font, coded_glyphs(font) - 1);
}

// The glyph's rows at a code of the table, or null where the font has none.
const unsigned char *glyph_of(const Font &font, DWORD code, DWORD *cursor)
{
    if (font.codes)
        return rows_of_code(font, code, cursor);
    return font.row_bytes + (code - font.first) * font.height;
}

// "    {0, 5, 7, 6, 0, -9}, /* U+0041 A */"
void put_glyph(Out &out, const Font &font, DWORD code, DWORD offset, const Box &b)
{
    put_text(out, "    {");
    put_number(out, offset, DECIMAL, 1);
    put_text(out, ", ");
    put_number(out, static_cast<DWORD>(b.width), DECIMAL, 1);
    put_text(out, ", ");
    put_number(out, static_cast<DWORD>(b.height), DECIMAL, 1);
    put_text(out, ", 6, ");
    put_signed(out, b.width ? b.left : 0);
    put_text(out, ", ");
    put_signed(out, b.width ? b.top - baseline(font) : 0);
    put_text(out, "},");
    char label[LABEL_SIZE];
    put_text(out, " /* ");
    put_bytes(out, label, static_cast<DWORD>(make_label(label, code, font.registry) - label));
    put_text(out, " */\n");
}

}  // namespace

// What a GFX table can't hold: codes past 16 bits, a bitmap past 16-bit
// offsets, a glyph's box whose offsets don't fit 8 signed bits.
const char *gfx_refusal(const Font &font)
{
    if (!coded_glyphs(font))
        return "input file holds no whole glyph: no GFX font is written.";
    if (table_last(font) > GFX_MOST_CODE)
        return "GFX codes are 16 bits: a font with codes past U+FFFF is not written.";
    DWORD bytes = 0, cursor = 0;
    for (DWORD code = table_first(font); code <= table_last(font); ++code) {
        Box b = box_of(glyph_of(font, code, &cursor), font.height);
        int y = b.top - baseline(font);
        if (b.width && (y < OFFSET_LEAST || y > OFFSET_MOST))
            return "a glyph's box is too far from the baseline for GFX's 8-bit offsets: nothing is written.";
        bytes += box_bytes(b);
    }
    if (bytes > GFX_MOST_BITMAP)
        return "GFX bitmap offsets are 16 bits: a bitmap past 64 KiB is not written.";
    return nullptr;
}

bool gfx_past_bytes(const Font &font)
{
    return coded_glyphs(font) && table_last(font) > GFX_BYTE_CODES;
}

void write_gfx(Out &out, const Font &font, const char *name)
{
    const DWORD values[] = {table_first(font), table_last(font), font.height};
    put_c_notice(out, font.copyright);
    put_c_notice(out, font.notice);
    put_text(out, "/* ");
    put_c_name(out, name);
    put_text(out, ": a GFXfont for Adafruit GFX, TFT_eSPI or LovyanGFX, cell 6x");
    put_number(out, font.height, DECIMAL, 1);
    put_text(out, ", descent ");
    put_number(out, font.descent, DECIMAL, 1);
    put_named(out, OPENING, 1, values, put_c_stem, name);
    DWORD cursor = 0, total = 0;
    for (DWORD code = values[0]; code <= values[1]; ++code) {
        const unsigned char *rows = glyph_of(font, code, &cursor);
        Box b = box_of(rows, font.height);
        put_box_bits(out, rows, b);
        total += box_bytes(b);
    }
    put_text(out, total ? "\n" : "\n    0x00\n");  // C has no empty arrays
    put_named(out, GLYPHS_OPENING, 1, values, put_c_stem, name);
    cursor = 0;
    DWORD offset = 0;
    for (DWORD code = values[0]; code <= values[1]; ++code) {
        Box b = box_of(glyph_of(font, code, &cursor), font.height);
        put_glyph(out, font, code, offset, b);
        offset += box_bytes(b);
    }
    put_text(out, "};\n\nconst GFXfont ");
    put_c_name(out, name);
    put_text(out, " PROGMEM = {(uint8_t *)");
    put_c_stem(out, name);
    put_text(out, "_bitmaps, (GFXglyph *)");
    put_c_stem(out, name);
    put_format(out, FONT_FIELDS, values);
}
