#include "ink_box.h"
#include "../rows/row.h"

// LVGL's own font structures (lv_font_t over lv_font_fmt_txt_dsc_t), 1 bit
// a pixel, uncompressed, naming only the fields every version from 8.0 to
// 9.x has. Glyph id 0 is LVGL's reserved empty glyph. A run of codes is a
// FORMAT0_TINY map, scattered codes a SPARSE_TINY one; maps ascend and
// never overlap. LVGL 8.x takes the code just past a map's range for the
// map's (its check is `>`): an empty descriptor follows each FORMAT0 run,
// and no map begins there, which a run of codes never does anyway (the code
// after a run is no code of the font, or the run would be longer).
namespace {

enum : DWORD {
    ADVANCE = ROW_CELLS * 16,  // adv_w: the cell's width, in sixteenths
    RUN_LEAST = 8,             // codes a run needs to be a map of its own
    MOST_MAPS = 511,           // cmap_num is 9 bits
    MOST_RANGE = 0xFFFF,       // range_length and a sparse list's offsets are 16 bits
    MOST_GLYPH_ID = 0xFFFF,    // glyph ids are 16 bits
    MOST_BITMAP = 0xFFFFF,     // bitmap_index is 20 bits
};

// LVGL places a box's top row at (line_height - base_line) - box_h - ofs_y
// from the line's top.
int ofs_y(const Font &font, const Box &b)
{
    return b.width ? static_cast<int>(font.height - font.descent) - b.height - b.top : 0;
}

// How many codes from glyph g on are one run.
DWORD run_from(const Font &font, DWORD g, DWORD glyphs)
{
    DWORD n = 1;
    while (g + n < glyphs && code_of(font, g + n) == code_of(font, g) + n && n < MOST_RANGE)
        ++n;
    return n;
}

// A map: FORMAT0 for a run of RUN_LEAST codes or more, else the scattered
// codes from g on until a long run or a code past 16 bits of offset.
struct Map {
    DWORD first_glyph, glyphs;
    bool run;
};

Map next_map(const Font &font, DWORD g, DWORD glyphs)
{
    DWORD run = run_from(font, g, glyphs);
    if (run >= RUN_LEAST)
        return {g, run, true};
    DWORD n = 0, start = code_of(font, g);
    while (g + n < glyphs && code_of(font, g + n) - start < MOST_RANGE) {
        DWORD next_run = run_from(font, g + n, glyphs);
        if (next_run >= RUN_LEAST)
            break;
        n += next_run;
    }
    return {g, n, false};
}

void put_descriptor(Out &out, DWORD index, DWORD advance, const Box &b, int y)
{
    put_text(out, "    {.bitmap_index = ");
    put_number(out, index, DECIMAL, 1);
    put_text(out, ", .adv_w = ");
    put_number(out, advance, DECIMAL, 1);
    put_text(out, ", .box_w = ");
    put_number(out, static_cast<DWORD>(b.width), DECIMAL, 1);
    put_text(out, ", .box_h = ");
    put_number(out, static_cast<DWORD>(b.height), DECIMAL, 1);
    put_text(out, ", .ofs_x = ");
    put_signed(out, b.width ? b.left : 0);
    put_text(out, ", .ofs_y = ");
    put_signed(out, y);
    put_text(out, "},");
}

const char OPENING[] =
    "#ifdef LV_LVGL_H_INCLUDE_SIMPLE\n#include \"lvgl.h\"\n#else\n#include \"lvgl/lvgl.h\"\n#endif\n\n"
    "static const uint8_t \0_glyph_bitmap[] = {";

void put_bitmaps(Out &out, const Font &font, const char *name, DWORD glyphs)
{
    put_named(out, OPENING, 1, nullptr, put_c_stem, name);
    DWORD total = 0;
    for (DWORD g = 0; g < glyphs; ++g) {
        const unsigned char *rows = font.row_bytes + g * font.height;
        Box b = box_of(rows, font.height);
        put_box_bits(out, rows, b);
        total += box_bytes(b);
    }
    put_text(out, total ? "\n};\n\n" : "\n    0x00\n};\n\n");  // C has no empty arrays
}

void put_descriptors(Out &out, const Font &font, const char *name, DWORD glyphs)
{
    put_named(out, "static const lv_font_fmt_txt_glyph_dsc_t \0_glyph_dsc[] = {\n", 1, nullptr, put_c_stem, name);
    const Box none = {0, 0, 0, 0};
    put_descriptor(out, 0, 0, none, 0);
    put_text(out, " /* glyph id 0: LVGL's reserved empty glyph */\n");
    DWORD index = 0;
    for (DWORD g = 0; g < glyphs;) {
        Map m = next_map(font, g, glyphs);
        for (DWORD i = 0; i < m.glyphs; ++i, ++g) {
            Box b = box_of(font.row_bytes + g * font.height, font.height);
            put_descriptor(out, index, ADVANCE, b, ofs_y(font, b));
            put_c_label(out, code_of(font, g), false);
            index += box_bytes(b);
        }
        if (m.run) {
            put_descriptor(out, index, 0, none, 0);
            put_text(out, " /* the code past the run: blank under LVGL 8.x's lookup */\n");
        }
    }
    put_text(out, "};\n\n");
}

// A sparse map's codes, as offsets from its first.
void put_lists(Out &out, const Font &font, const char *name, DWORD glyphs)
{
    DWORD number = 0;
    for (DWORD g = 0; g < glyphs; ++number) {
        Map m = next_map(font, g, glyphs);
        g += m.glyphs;
        if (m.run)
            continue;
        put_text(out, "static const uint16_t ");
        put_c_stem(out, name);
        put_text(out, "_unicode_list_");
        put_number(out, number, DECIMAL, 1);
        put_text(out, "[] = {");
        for (DWORD i = 0; i < m.glyphs; ++i) {
            put_text(out, i % 12 ? " 0x" : "\n    0x");
            put_number(out, code_of(font, m.first_glyph + i) - code_of(font, m.first_glyph), HEX, 2);
            put_byte(out, ',');
        }
        put_text(out, "\n};\n\n");
    }
}

void put_maps(Out &out, const Font &font, const char *name, DWORD glyphs)
{
    put_named(out, "static const lv_font_fmt_txt_cmap_t \0_cmaps[] = {\n", 1, nullptr, put_c_stem, name);
    DWORD id = 1, number = 0;
    for (DWORD g = 0; g < glyphs; ++number) {
        Map m = next_map(font, g, glyphs);
        DWORD first = code_of(font, g), last = code_of(font, g + m.glyphs - 1);
        put_text(out, "    {.range_start = ");
        put_number(out, first, DECIMAL, 1);
        put_text(out, ", .range_length = ");
        put_number(out, last - first + 1, DECIMAL, 1);
        put_text(out, ", .glyph_id_start = ");
        put_number(out, id, DECIMAL, 1);
        if (m.run) {
            put_text(out, ", .unicode_list = NULL, .glyph_id_ofs_list = NULL, .list_length = 0, "
                          ".type = LV_FONT_FMT_TXT_CMAP_FORMAT0_TINY},\n");
        } else {
            put_text(out, ", .unicode_list = ");
            put_c_stem(out, name);
            put_text(out, "_unicode_list_");
            put_number(out, number, DECIMAL, 1);
            put_text(out, ", .glyph_id_ofs_list = NULL, .list_length = ");
            put_number(out, m.glyphs, DECIMAL, 1);
            put_text(out, ", .type = LV_FONT_FMT_TXT_CMAP_SPARSE_TINY},\n");
        }
        id += m.glyphs + m.run;
        g += m.glyphs;
    }
    put_text(out, "};\n\n");
}

DWORD map_count(const Font &font, DWORD glyphs)
{
    DWORD n = 0;
    for (DWORD g = 0; g < glyphs; ++n)
        g += next_map(font, g, glyphs).glyphs;
    return n;
}

}  // namespace

// What LVGL's structures can't hold, said before anything is written.
const char *lvgl_refusal(const Font &font)
{
    DWORD glyphs = coded_glyphs(font), bytes = 0, ids = 1 + map_count(font, glyphs) + glyphs;
    if (!glyphs)
        return "input file holds no whole glyph: no LVGL font is written.";
    if (font.registry)
        return "an LVGL font's codes are Unicode's: a font of another registry's is not written.";
    for (DWORD g = 0; g < glyphs; ++g) {
        Box b = box_of(font.row_bytes + g * font.height, font.height);
        int y = ofs_y(font, b);
        if (y < OFFSET_LEAST || y > OFFSET_MOST)
            return "a glyph's box is too far from the base line for LVGL's 8-bit offsets: nothing is written.";
        bytes += box_bytes(b);
    }
    if (bytes > MOST_BITMAP)
        return "LVGL's bitmap index is 20 bits: a bitmap past 1 MiB is not written.";
    if (ids > MOST_GLYPH_ID + 1 || map_count(font, glyphs) > MOST_MAPS)
        return "LVGL's glyph ids are 16 bits and its maps 511 at most: this font's codes don't fit.";
    return nullptr;
}

void write_lvgl(Out &out, const Font &font, const char *name)
{
    DWORD glyphs = coded_glyphs(font);
    put_c_notice(out, font.copyright);
    put_c_notice(out, font.notice);
    put_text(out, "/* ");
    put_c_name(out, name);
    put_text(out, ": an LVGL font (8.0 to 9.x), 1 bit a pixel, cell 6x");
    put_number(out, font.height, DECIMAL, 1);
    put_text(out, ", base line ");
    put_number(out, font.descent, DECIMAL, 1);
    put_text(out, " */\n");
    put_bitmaps(out, font, name, glyphs);
    put_descriptors(out, font, name, glyphs);
    put_lists(out, font, name, glyphs);
    put_maps(out, font, name, glyphs);
    const DWORD values[] = {map_count(font, glyphs), font.height, font.descent};
    put_named(out,
              "static const lv_font_fmt_txt_dsc_t \0_dsc = {.glyph_bitmap = \0_glyph_bitmap, .glyph_dsc = \0_glyph_dsc,\n"
              "    .cmaps = \0_cmaps, .cmap_num = \1, .bpp = 1};\n\n",
              4, values, put_c_stem, name);
    put_text(out, "const lv_font_t ");
    put_c_name(out, name);
    put_format(out, " = {.get_glyph_dsc = lv_font_get_glyph_dsc_fmt_txt, .get_glyph_bitmap = lv_font_get_bitmap_fmt_txt,\n"
                    "    .line_height = \2, .base_line = \3, .dsc = &", values);
    put_c_stem(out, name);
    put_text(out, "_dsc};\n");
}
