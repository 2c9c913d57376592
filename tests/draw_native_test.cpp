// glyphdraw's contract over many fonts, native tools only: the drawing of
// any font file of rows converts back to the same bytes; and an outside
// checker accepts the sheet.
#include "png_reader.h"
#include "run_tool.h"
#include "scratch.h"

#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace {

const std::vector<std::string> DRAW = {DRAW_COMMAND};
const std::vector<std::string> GLYPHROW = {TOOL_COMMAND};
const int FONTS = 2000;

TEST(DrawRoundTrip, RandomFontsConvertBackByteForByte)
{
    Scratch dir;
    std::mt19937 random(20261208);
    int mismatches = 0;
    for (int i = 0; i < FONTS; ++i) {
        std::string font(random() % 600, '\0');
        for (char &row : font)
            row = static_cast<char>(random() % 64);
        std::string height = std::to_string(1 + random() % (i % 2 ? 255 : 16));
        std::string first = i % 3 ? std::to_string(random() % 0x110000) : "0x10FFFF";
        write_file(dir.path("font.bin"), font);
        ToolRun drawn = run_tool(DRAW, {"font.bin", "drawing.txt", height, first}, dir.root());
        ASSERT_EQ(drawn.status, font.size() % std::stoul(height) ? 8 : 0) << "font " << i;
        ASSERT_EQ(run_tool(GLYPHROW, {"drawing.txt", "again.bin"}, dir.root()).status, 0);
        mismatches += read_file(dir.path("again.bin")) != font;
    }
    EXPECT_EQ(mismatches, 0) << "of " << FONTS << " fonts";
}

TEST(DrawSheet, PngcheckAcceptsTheSheet)
{
    Scratch dir;
    write_file(dir.path("sample.bin"), read_file(SAMPLE_DIR "/sample-font.bin"));
    write_file(dir.path("partial.bin"), "\x3f\x21\x1e");
    write_file(dir.path("empty.bin"), "");
    for (const char *font : {"sample.bin", "partial.bin", "empty.bin"}) {
        SCOPED_TRACE(font);
        EXPECT_LE(run_tool(DRAW, {font, "sheet.png"}, dir.root()).status, 8);
        std::string check = std::string(PNGCHECK) + " -q '" + dir.path("sheet.png") + "'";
        EXPECT_EQ(std::system(check.c_str()), 0) << check;
    }
}

// Pillow, a reader this project did not write, reads every sheet exactly:
// random fonts of every height class, from one glyph to thousands (the
// compressor's blocks, its window sliding), each pixel where the layout
// puts it.
TEST(DrawSheet, PillowReadsEverySheetExactly)
{
    Scratch dir;
    std::mt19937 random(20261209);
    for (int i = 0; i < 12; ++i) {
        int height = 1 + static_cast<int>(random() % (i % 3 ? 16 : 255));
        size_t glyphs = i == 0 ? 1 : 1 + random() % (i % 4 == 3 ? 6000 : 200);
        std::string font(glyphs * height - (i % 5 == 4 ? 1 : 0), '\0');
        for (char &row : font)
            row = static_cast<char>(i % 2 ? random() % 64 : (random() % 8 ? 0x3F : 0));
        SCOPED_TRACE("font " + std::to_string(i) + ", height " + std::to_string(height));
        write_file(dir.path("font.bin"), font);
        EXPECT_LE(run_tool(DRAW, {"font.bin", "sheet.png", std::to_string(height), "0x10FF00"}, dir.root()).status, 8);
        std::string pixels = dir.path("pixels");
        ASSERT_EQ(std::system(("/usr/bin/python3 " SOURCE_DIR "/tests/png_pixels.py '" + dir.path("sheet.png") + "' '" +
                               pixels + "'").c_str()), 0);
        std::istringstream in(read_file(pixels));
        Png seen;
        in >> seen.width >> seen.height;
        in.get();
        for (uint32_t y = 0; y < seen.height; ++y) {
            std::vector<uint8_t> row(seen.width);
            in.read(reinterpret_cast<char *>(row.data()), seen.width);
            seen.rows.push_back(row);
        }
        ASSERT_TRUE(in) << "Pillow gave fewer pixels";
        EXPECT_EQ(sheet_errors(seen, font, height), "");
    }
}

}  // namespace
