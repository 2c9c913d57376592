// The display libraries' forms, compiled against the structures as the
// libraries declare them and drawn as their drawing code places glyphs:
// Adafruit GFX's drawChar for a custom font (each set bit of a glyph's box
// at cursor + offset), column pages as an SSD1306 driver shifts them out
// (bit 0 a page's top row), LVGL's lookup and label drawing under 8.3 and
// 9.2. Each glyph drawn equals the font's rows.
#include "compiled.h"
#include "run_tool.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

const std::vector<std::string> DRAW = {DRAW_COMMAND};
const std::vector<std::string> PICK = {PICK_COMMAND};
const std::string X11 = X11_FONTS, CONSOLE = CONSOLE_FONTS;

// GFX's two structures, as gfxfont.h declares them; the program draws each
// glyph of the table with drawChar's rule into a cell whose baseline is
// the cursor, and prints its code and rows.
const std::string GFX_PROGRAM =
    "#include <stdio.h>\n#include <stdint.h>\n"
    "typedef struct { uint16_t bitmapOffset; uint8_t width, height, xAdvance; int8_t xOffset, yOffset; } GFXglyph;\n"
    "typedef struct { uint8_t *bitmap; GFXglyph *glyph; uint16_t first, last; uint8_t yAdvance; } GFXfont;\n"
    "#include \"out.gfx.h\"\n"
    "int main(void) {\n"
    "  unsigned c; int baseline = CELL_HEIGHT - 1 - DESCENT;\n"
    "  if (out.yAdvance != CELL_HEIGHT) return 1;\n"
    "  for (c = out.first; c <= out.last; ++c) {\n"
    "    const GFXglyph *g = &out.glyph[c - out.first]; unsigned char rows[255] = {0};\n"
    "    unsigned bo = g->bitmapOffset, bits = 0, bit = 0; int xx, yy, r;\n"
    "    if (g->xAdvance != 6) return 2;\n"
    "    for (yy = 0; yy < g->height; ++yy) for (xx = 0; xx < g->width; ++xx) {\n"
    "      if (!(bit++ & 7)) bits = out.bitmap[bo++];\n"
    "      if (bits & 0x80) { int y = baseline + g->yOffset + yy, x = g->xOffset + xx;\n"
    "        if (y < 0 || y >= CELL_HEIGHT || x < 0 || x >= 6) return 3;\n"
    "        rows[y] |= (unsigned char)(0x20 >> x); }\n"
    "      bits <<= 1; }\n"
    "    printf(\"%x\", c);\n    for (r = 0; r < CELL_HEIGHT; ++r) printf(\" %02x\", rows[r]);\n    printf(\"\\n\");\n"
    "  }\n  return 0;\n}\n";

// Column pages back into rows: page p's byte x, bit b is row 8 p + b.
const std::string COLS_PROGRAM =
    "#include <stdio.h>\n#include \"out.cols.h\"\n"
    "int main(void) {\n  unsigned i; int p, x, b;\n"
    "  if (out_width != 6 || out_pages != (out_height + 7) / 8) return 1;\n"
    "  for (i = 0; i < out_count; ++i) {\n    unsigned char rows[256] = {0};\n"
    "    for (p = 0; p < out_pages; ++p) for (x = 0; x < 6; ++x) for (b = 0; b < 8; ++b)\n"
    "      if (out[(i * out_pages + p) * 6 + x] >> b & 1) rows[p * 8 + b] |= (unsigned char)(0x20 >> x);\n"
    "    for (b = out_height; b < out_pages * 8; ++b) if (rows[b]) return 2;\n"
    "#ifdef HAS_CODES\n    printf(\"%lx\", out_codes[i]);\n#else\n    printf(\"%x\", out_first + i);\n#endif\n"
    "    for (b = 0; b < out_height; ++b) printf(\" %02x\", rows[b]);\n    printf(\"\\n\");\n  }\n  return 0;\n}\n";

struct DisplayFont {
    const char *name;
    const std::vector<std::string> *tool;
    std::vector<std::string> args;  // after the font and the output
    std::string font;               // "bdf", "psf", or a glyph-row font's bytes
};

// What a program drew, a line a code: each line's rows must be the font
// file's at that code (every code of its span, blank where the font or the
// set has none), or blank outside the span. With an advance, a number
// follows the code. The codes drawn, with their advances.
std::map<uint32_t, int> drawn_codes(const Scratch &dir, const std::string &bin, uint32_t first, int height, bool advance)
{
    std::map<uint32_t, int> codes;
    std::istringstream lines(read_file(dir.path("drawn")));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string hex, rows, row;
        int adv_w = 0;
        words >> hex;
        if (advance)
            words >> adv_w;
        while (words >> row)
            rows += static_cast<char>(std::stoul(row, nullptr, 16));
        uint32_t code = std::stoul(hex, nullptr, 16);
        size_t at = static_cast<size_t>(code - first) * height;
        EXPECT_EQ(rows, code >= first && at < bin.size() ? bin.substr(at, height) : std::string(height, '\0')) << "code " << hex;
        codes[code] = adv_w;
    }
    return codes;
}

// The font's codes: its BDF's, which holds just the glyphs it has.
std::set<uint32_t> bdf_codes(const std::string &bdf)
{
    std::set<uint32_t> codes;
    std::istringstream lines(bdf);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("ENCODING ", 0) == 0)
            codes.insert(std::stoul(line.substr(9)));
    return codes;
}

// LVGL's font structures as 8.3 and as 9.2 declare them (the fields and
// their types; a version's others beside), and each version's lookup of a
// code's glyph: the first map whose range holds the code decides, 8.x
// taking the code just past a range for the range's (its check is `>`).
const std::string LVGL_COMMON =
    "#ifndef LVGL_H\n#define LVGL_H\n#include <stdbool.h>\n#include <stdint.h>\n#include <stddef.h>\n"
    "typedef struct { uint32_t bitmap_index : 20; uint32_t adv_w : 12; uint8_t box_w; uint8_t box_h; int8_t ofs_x; int8_t ofs_y; }"
    " lv_font_fmt_txt_glyph_dsc_t;\n"
    "typedef enum { LV_FONT_FMT_TXT_CMAP_FORMAT0_FULL, LV_FONT_FMT_TXT_CMAP_SPARSE_FULL, LV_FONT_FMT_TXT_CMAP_FORMAT0_TINY,"
    " LV_FONT_FMT_TXT_CMAP_SPARSE_TINY } lv_font_fmt_txt_cmap_type_t;\n"
    "typedef struct { uint32_t range_start; uint16_t range_length; uint16_t glyph_id_start; const uint16_t *unicode_list;"
    " const void *glyph_id_ofs_list; uint16_t list_length; lv_font_fmt_txt_cmap_type_t type; } lv_font_fmt_txt_cmap_t;\n";
const std::string LVGL_8 = LVGL_COMMON +
    "typedef int16_t lv_coord_t;\n"
    "typedef struct { uint16_t adv_w; uint16_t box_w; uint16_t box_h; int16_t ofs_x; int16_t ofs_y; uint8_t bpp; } lv_font_glyph_dsc_t;\n"
    "typedef struct _lv_font_t { bool (*get_glyph_dsc)(const struct _lv_font_t *, lv_font_glyph_dsc_t *, uint32_t, uint32_t);\n"
    "  const uint8_t *(*get_glyph_bitmap)(const struct _lv_font_t *, uint32_t); lv_coord_t line_height; lv_coord_t base_line;\n"
    "  uint8_t subpx : 2; int8_t underline_position; int8_t underline_thickness; const void *dsc;\n"
    "  const struct _lv_font_t *fallback; void *user_data; } lv_font_t;\n"
    "typedef struct { uint32_t last_letter; uint32_t last_glyph_id; } lv_font_fmt_txt_glyph_cache_t;\n"
    "typedef struct { const uint8_t *glyph_bitmap; const lv_font_fmt_txt_glyph_dsc_t *glyph_dsc; const lv_font_fmt_txt_cmap_t *cmaps;\n"
    "  const void *kern_dsc; uint16_t kern_scale; uint16_t cmap_num : 9; uint16_t bpp : 4; uint16_t kern_classes : 1;\n"
    "  uint16_t bitmap_format : 2; lv_font_fmt_txt_glyph_cache_t *cache; } lv_font_fmt_txt_dsc_t;\n"
    "bool lv_font_get_glyph_dsc_fmt_txt(const lv_font_t *, lv_font_glyph_dsc_t *, uint32_t, uint32_t);\n"
    "const uint8_t *lv_font_get_bitmap_fmt_txt(const lv_font_t *, uint32_t);\n"
    "const uint8_t *lv_font_get_bitmap_fmt_txt(const lv_font_t *f, uint32_t c) { (void)f; (void)c; return NULL; }\n"
    "#define PAST_RANGE(rcp, length) ((rcp) > (length))\n"
    "bool lv_font_get_glyph_dsc_fmt_txt(const lv_font_t *f, lv_font_glyph_dsc_t *d, uint32_t c, uint32_t n)"
    " { (void)f; (void)d; (void)c; (void)n; return false; }\n#endif\n";
const std::string LVGL_9 = LVGL_COMMON +
    "typedef struct _lv_draw_buf_t lv_draw_buf_t;\ntypedef struct _lv_font_t lv_font_t;\n"
    "typedef struct { const lv_font_t *resolved_font; uint16_t adv_w; uint16_t box_w; uint16_t box_h; int16_t ofs_x; int16_t ofs_y;\n"
    "  uint8_t format; uint8_t is_placeholder : 1; union { uint32_t index; const void *src; } gid; void *entry; } lv_font_glyph_dsc_t;\n"
    "struct _lv_font_t { bool (*get_glyph_dsc)(const lv_font_t *, lv_font_glyph_dsc_t *, uint32_t, uint32_t);\n"
    "  const void *(*get_glyph_bitmap)(lv_font_glyph_dsc_t *, lv_draw_buf_t *);\n"
    "  void (*release_glyph)(const lv_font_t *, lv_font_glyph_dsc_t *); int32_t line_height; int32_t base_line;\n"
    "  uint8_t subpx : 2; uint8_t kerning : 1; uint8_t static_bitmap : 1; int8_t underline_position; int8_t underline_thickness;\n"
    "  const void *dsc; const lv_font_t *fallback; void *user_data; };\n"
    "typedef struct { const uint8_t *glyph_bitmap; const lv_font_fmt_txt_glyph_dsc_t *glyph_dsc; const lv_font_fmt_txt_cmap_t *cmaps;\n"
    "  const void *kern_dsc; uint16_t kern_scale; uint16_t cmap_num : 9; uint16_t bpp : 4; uint16_t kern_classes : 1;\n"
    "  uint16_t bitmap_format : 2; uint8_t stride; } lv_font_fmt_txt_dsc_t;\n"
    "bool lv_font_get_glyph_dsc_fmt_txt(const lv_font_t *, lv_font_glyph_dsc_t *, uint32_t, uint32_t);\n"
    "const void *lv_font_get_bitmap_fmt_txt(lv_font_glyph_dsc_t *, lv_draw_buf_t *);\n"
    "const void *lv_font_get_bitmap_fmt_txt(lv_font_glyph_dsc_t *g, lv_draw_buf_t *b) { (void)g; (void)b; return NULL; }\n"
    "#define PAST_RANGE(rcp, length) ((rcp) >= (length))\n"
    "bool lv_font_get_glyph_dsc_fmt_txt(const lv_font_t *f, lv_font_glyph_dsc_t *d, uint32_t c, uint32_t n)"
    " { (void)f; (void)d; (void)c; (void)n; return false; }\n#endif\n";

// The lookup, and a label's drawing of each code from 0 to LAST + 2: its
// box's top row at (line_height - base_line) - box_h - ofs_y.
const std::string LVGL_PROGRAM =
    "#include \"lvgl.h\"\n#include <stdio.h>\n"
    "#include \"out.lvgl.c\"\n"
    "static uint32_t glyph_id(const lv_font_fmt_txt_dsc_t *fd, uint32_t letter) {\n"
    "  uint16_t i;\n  for (i = 0; i < fd->cmap_num; i++) {\n"
    "    const lv_font_fmt_txt_cmap_t *m = &fd->cmaps[i]; uint32_t rcp = letter - m->range_start; uint16_t k;\n"
    "    if (PAST_RANGE(rcp, m->range_length)) continue;\n"
    "    if (m->type == LV_FONT_FMT_TXT_CMAP_FORMAT0_TINY) return m->glyph_id_start + rcp;\n"
    "    for (k = 0; k < m->list_length; k++) if (m->unicode_list[k] == rcp) return m->glyph_id_start + k;\n"
    "    return 0;\n  }\n  return 0;\n}\n"
    "int main(void) {\n"
    "  const lv_font_fmt_txt_dsc_t *fd = (const lv_font_fmt_txt_dsc_t *)out.dsc; uint32_t c; int r;\n"
    "  if (fd->bpp != 1 || out.line_height != CELL_HEIGHT) return 1;\n"
    "  for (c = 0; c <= LAST + 2; c++) {\n"
    "    uint32_t gid = glyph_id(fd, c); unsigned char rows[256] = {0}; const lv_font_fmt_txt_glyph_dsc_t *g;\n"
    "    uint32_t bit = 0; int x, y, top;\n"
    "    if (!gid) continue;\n    g = &fd->glyph_dsc[gid];\n"
    "    top = (out.line_height - out.base_line) - g->box_h - g->ofs_y;\n"
    "    for (y = 0; y < g->box_h; y++) for (x = 0; x < g->box_w; x++, bit++)\n"
    "      if (fd->glyph_bitmap[g->bitmap_index + bit / 8] >> (7 - bit % 8) & 1) {\n"
    "        if (top + y < 0 || top + y >= CELL_HEIGHT || g->ofs_x + x < 0 || g->ofs_x + x >= 6) return 2;\n"
    "        rows[top + y] |= (unsigned char)(0x20 >> (g->ofs_x + x)); }\n"
    "    printf(\"%lx %d\", (unsigned long)c, (int)g->adv_w);\n"
    "    for (r = 0; r < CELL_HEIGHT; r++) printf(\" %02x\", rows[r]);\n    printf(\"\\n\");\n  }\n  return 0;\n}\n";

TEST(Display, EachFormDrawsTheFontsGlyphs)
{
    std::string rows8;  // a glyph-row font of 8 rows, ink to its bottom row: descent 0
    for (int g = 0; g < 10; ++g)
        for (int r = 0; r < 8; ++r)
            rows8 += static_cast<char>((g * 7 + r * 13) % 64 | (r == 7 ? 0x21 : 0));
    const std::vector<DisplayFont> fonts = {
        {"a glyph-row font of 8 rows, descent 0", &DRAW, {"8", "0x30"}, rows8},
        {"a BDF, 13 rows, descent 2", &PICK, {"0x20", "0x7E"}, "bdf"},
        {"a console PSF, 12 rows, past 0xFF", &PICK, {"0x20", "0x17F"}, "psf"},
        {"a set of runs and scattered codes", &PICK, {"0x41-0x43,0x61,0xB0-0xB1,0x400-0x45F,0x2592"}, "bdf"},
    };
    for (const DisplayFont &f : fonts) {
        SCOPED_TRACE(f.name);
        Scratch dir;
        if (f.font == "bdf")
            ASSERT_EQ(std::system(("pcf2bdf -o '" + dir.path("font") + "' " + X11 + "/6x13.pcf.gz").c_str()), 0);
        else if (f.font == "psf")
            ASSERT_EQ(std::system(("zcat " + CONSOLE + "/Lat15-Terminus12x6.psf.gz > '" + dir.path("font") + "'").c_str()), 0);
        else
            write_file(dir.path("font"), f.font);
        for (const char *out : {"out.bin", "out.txt", "out.bdf", "out.gfx.h", "out.cols.h", "out.cols.c", "out.lvgl.c"}) {
            std::vector<std::string> args = {"font", out};
            args.insert(args.end(), f.args.begin(), f.args.end());
            ASSERT_LE(run_tool(*f.tool, args, dir.root()).status, 8) << out;
        }
        std::string bin = read_file(dir.path("out.bin")), gfx = read_file(dir.path("out.gfx.h"));
        uint32_t first = std::stoul(read_file(dir.path("out.txt")).substr(2), nullptr, 16);
        int height = std::stoi(gfx.substr(gfx.find("cell 6x") + 7));
        int descent = std::stoi(gfx.substr(gfx.find("descent ") + 8));
        std::set<uint32_t> codes = bdf_codes(read_file(dir.path("out.bdf")));
        ASSERT_FALSE(codes.empty());
        std::string cell = " -DCELL_HEIGHT=" + std::to_string(height) + " -DDESCENT=" + std::to_string(descent);
        // GFX: a table without gaps from the first code to the last.
        for (const std::string &compiler : c_and_cxx()) {
            ASSERT_EQ(compile_run(dir, compiler, " -pedantic" + cell, GFX_PROGRAM), 0) << compiler;
            std::map<uint32_t, int> drawn = drawn_codes(dir, bin, first, height, false);
            ASSERT_FALSE(drawn.empty());
            EXPECT_EQ(drawn.rbegin()->first - drawn.begin()->first + 1, drawn.size()) << compiler;
            for (uint32_t code : codes)
                EXPECT_EQ(drawn.count(code), 1u) << compiler << ", code " << code;
        }
        // Column pages, as C89 too; the .c form on its own.
        bool listed = read_file(dir.path("out.cols.h")).find("out_codes[") != std::string::npos;
        std::vector<std::string> compilers = c_and_cxx();
        compilers.push_back(std::string(C_COMPILER) + " -std=c89");
        for (const std::string &compiler : compilers) {
            ASSERT_EQ(compile_run(dir, compiler, listed ? " -pedantic -DHAS_CODES" : " -pedantic", COLS_PROGRAM), 0) << compiler;
            std::map<uint32_t, int> drawn = drawn_codes(dir, bin, first, height, false);
            for (uint32_t code : codes)
                EXPECT_EQ(drawn.count(code), 1u) << compiler << ", code " << code;
        }
        EXPECT_EQ(std::system((std::string(C_COMPILER) + " -std=c89 -pedantic -Wall -Werror -c '" + dir.path("out.cols.c") +
                               "' -o '" + dir.path("out.o") + "'").c_str()), 0);
        // LVGL: every code of the font draws its glyph, 6 pixels on, under
        // 8.x's lookup and 9.x's; no other code draws ink.
        for (const std::string &version : {LVGL_8, LVGL_9}) {
            write_file(dir.path("lvgl.h"), version);
            std::string flags = " -Wno-unused-function -DLV_LVGL_H_INCLUDE_SIMPLE" + cell + " -DLAST=" + std::to_string(*codes.rbegin());
            ASSERT_EQ(compile_run(dir, std::string(C_COMPILER) + " -std=c99", flags, LVGL_PROGRAM), 0) << (version == LVGL_8 ? "8.3" : "9.2");
            std::map<uint32_t, int> drawn = drawn_codes(dir, bin, first, height, true);
            for (uint32_t code : codes)
                EXPECT_EQ(drawn.count(code) ? drawn[code] : -1, 96) << (version == LVGL_8 ? "8.3" : "9.2") << ", code " << code;
        }
    }
}

struct Refusal {
    const char *name;
    std::string output;
    std::string font;
    std::vector<std::string> args;
    std::string said;
};

// What GFX or LVGL can't hold is refused with one line, nothing written.
TEST(Display, WhatGfxOrLvglCantHoldIsRefused)
{
    std::string tall;  // 700 glyphs of 255 rows, ink in the lower half: a bitmap past 64 KiB
    for (int g = 0; g < 700; ++g)
        for (int r = 0; r < 255; ++r)
            tall += static_cast<char>(r >= 130 ? 0x3F : 0);
    const std::vector<Refusal> cases = {
        {"codes past U+FFFF", "out.gfx.h", "\x3f", {"1", "0x10000"},
         "GFX codes are 16 bits: a font with codes past U+FFFF is not written."},
        {"a box too far above the baseline", "out.gfx.h", std::string(254, '\0') + "\x3f" + std::string(254, '\x3f') + "\x3f",
         {"255"}, "a glyph's box is too far from the baseline for GFX's 8-bit offsets: nothing is written."},
        {"a bitmap past 64 KiB", "out.gfx.h", tall, {"255"},
         "GFX bitmap offsets are 16 bits: a bitmap past 64 KiB is not written."},
        {"LVGL: a box too far above the base line", "out.lvgl.c",
         "\x3f" + std::string(254, '\0') + std::string(254, '\0') + "\x3f", {"255"},
         "a glyph's box is too far from the base line for LVGL's 8-bit offsets: nothing is written."},
    };
    for (const Refusal &c : cases) {
        SCOPED_TRACE(c.name);
        Scratch dir;
        write_file(dir.path("font.bin"), c.font);
        std::vector<std::string> args = {"font.bin", c.output};
        args.insert(args.end(), c.args.begin(), c.args.end());
        ToolRun r = run_tool(DRAW, args, dir.root());
        EXPECT_EQ(r.status, 7);
        EXPECT_EQ(r.output, c.said + LINE_END);
        EXPECT_FALSE(file_exists(dir.path(c.output)));
    }
}

}  // namespace
