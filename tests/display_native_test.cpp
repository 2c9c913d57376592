// The display libraries' forms, compiled against the structures as the
// libraries declare them and drawn as their drawing code places glyphs:
// Adafruit GFX's drawChar for a custom font (each set bit of a glyph's box
// at cursor + offset), and column pages as an SSD1306 driver shifts them
// out (bit 0 a page's top row). Each glyph drawn equals the font's rows.
#include "run_tool.h"
#include "scratch.h"

#include <gtest/gtest.h>

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
    std::string font;               // a file written to "font" first, or "" for a font named in args
};

// The font file of the same run: every code from the first, blank where
// the font or the set has none. Its rows at a code, as the program prints.
std::string rows_line(const std::string &bin, uint32_t first, uint32_t code, int height)
{
    char text[16];
    std::snprintf(text, sizeof text, "%x", code);
    std::string line = text;
    for (int r = 0; r < height; ++r) {
        std::snprintf(text, sizeof text, " %02x", static_cast<unsigned char>(bin[(code - first) * height + r]));
        line += text;
    }
    return line + "\n";
}

int compile_run(const Scratch &dir, const std::string &compiler, const std::string &defines, const std::string &program)
{
    write_file(dir.path("use.c"), program);
    return std::system((compiler + " -Wall -Wextra -pedantic -Werror" + defines + " -I'" + dir.root() + "' '" +
                        dir.path("use.c") + "' -o '" + dir.path("use") + "' && '" + dir.path("use") + "' > '" +
                        dir.path("drawn") + "'").c_str());
}

TEST(Display, EachFormDrawsTheFontsGlyphs)
{
    std::string rows8;  // a glyph-row font of 8 rows, ink to its bottom row: descent 0
    for (int g = 0; g < 10; ++g)
        for (int r = 0; r < 8; ++r)
            rows8 += static_cast<char>((g * 7 + r * 13) % 64 | (r == 7 ? 0x21 : 0));
    const std::vector<DisplayFont> fonts = {
        {"a glyph-row font of 8 rows, descent 0", &DRAW, {"8", "0x30"}, rows8},
        {"a BDF, 13 rows, descent 2", &PICK, {"0x20", "0x7E"}, "bdf"},
        {"a console PSF, 12 rows", &PICK, {"0x20", "0x7E"}, "psf"},
        {"a set with gaps", &PICK, {"0x41-0x43,0x61,0xB0"}, "bdf"},
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
        auto run = [&](const std::string &out) {
            std::vector<std::string> args = {"font", out};
            args.insert(args.end(), f.args.begin(), f.args.end());
            return run_tool(*f.tool, args, dir.root());
        };
        ASSERT_LE(run("out.bin").status, 8);
        ASSERT_LE(run("out.txt").status, 8);
        std::string bin = read_file(dir.path("out.bin")), drawing = read_file(dir.path("out.txt"));
        uint32_t first = std::stoul(drawing.substr(2), nullptr, 16);
        ASSERT_LE(run("out.gfx.h").status, 8);
        ASSERT_LE(run("out.cols.h").status, 8);
        std::string gfx = read_file(dir.path("out.gfx.h"));
        int height = std::stoi(gfx.substr(gfx.find("cell 6x") + 7));
        int descent = std::stoi(gfx.substr(gfx.find("descent ") + 8));
        // Every code of the GFX table, drawn with drawChar's rule.
        std::string defines = " -DCELL_HEIGHT=" + std::to_string(height) + " -DDESCENT=" + std::to_string(descent);
        for (const std::string compiler : {std::string(C_COMPILER) + " -std=c99", std::string(CXX_COMPILER) + " -x c++ -std=c++17"}) {
            ASSERT_EQ(compile_run(dir, compiler, defines, GFX_PROGRAM), 0) << compiler;
            std::string drawn = read_file(dir.path("drawn")), wanted;
            uint32_t last = first + static_cast<uint32_t>(bin.size() / height) - 1;
            for (uint32_t code = first; code <= last; ++code)
                wanted += rows_line(bin, first, code, height);
            EXPECT_EQ(drawn, wanted) << compiler;
        }
        // Column pages, as C89, C99 and C++.
        bool codes = read_file(dir.path("out.cols.h")).find("out_codes[") != std::string::npos;
        for (const std::string compiler : {std::string(C_COMPILER) + " -std=c89", std::string(C_COMPILER) + " -std=c99",
                                           std::string(CXX_COMPILER) + " -x c++ -std=c++17"}) {
            ASSERT_EQ(compile_run(dir, compiler, codes ? " -DHAS_CODES" : "", COLS_PROGRAM), 0) << compiler;
            std::string drawn = read_file(dir.path("drawn")), wanted;
            std::istringstream lines(drawn);
            for (std::string line; std::getline(lines, line);)
                wanted += rows_line(bin, first, std::stoul(line, nullptr, 16), height);
            EXPECT_EQ(drawn, wanted) << compiler;
            EXPECT_FALSE(drawn.empty());
        }
        ASSERT_LE(run("out.cols.c").status, 8);
        EXPECT_EQ(std::system((std::string(C_COMPILER) + " -std=c89 -pedantic -Wall -Werror -c '" + dir.path("out.cols.c") +
                               "' -o '" + dir.path("out.o") + "'").c_str()), 0);
    }
}

struct Refusal {
    const char *name;
    std::string font;
    std::vector<std::string> args;
    std::string said;
};

// What GFX can't hold is refused with one line, nothing written.
TEST(Display, WhatGfxCantHoldIsRefused)
{
    std::string tall;  // 700 glyphs of 255 rows, ink in the lower half: a bitmap past 64 KiB
    for (int g = 0; g < 700; ++g)
        for (int r = 0; r < 255; ++r)
            tall += static_cast<char>(r >= 130 ? 0x3F : 0);
    const std::vector<Refusal> cases = {
        {"codes past U+FFFF", "\x3f", {"1", "0x10000"}, "GFX codes are 16 bits: a font with codes past U+FFFF is not written."},
        {"a box too far above the baseline", std::string(254, '\0') + "\x3f" + std::string(254, '\x3f') + "\x3f", {"255"},
         "a glyph's box is too far from the baseline for GFX's 8-bit offsets: nothing is written."},
        {"a bitmap past 64 KiB", tall, {"255"}, "GFX bitmap offsets are 16 bits: a bitmap past 64 KiB is not written."},
    };
    for (const Refusal &c : cases) {
        SCOPED_TRACE(c.name);
        Scratch dir;
        write_file(dir.path("font.bin"), c.font);
        std::vector<std::string> args = {"font.bin", "out.gfx.h"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        ToolRun r = run_tool(DRAW, args, dir.root());
        EXPECT_EQ(r.status, 7);
        EXPECT_EQ(r.output, c.said + LINE_END);
        EXPECT_FALSE(file_exists(dir.path("out.gfx.h")));
    }
}

}  // namespace
