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
const std::vector<std::string> SHOW = {SHOW_COMMAND};
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
        EXPECT_EQ(sheet_errors(seen, font, height, 0x10FF00), "");
    }
}

// glyphshow's image, as Pillow reads it, is its drawing: each character's
// cells squares of 4 by 4 pixels, ink black and blank white (a short line
// filled out blank), in a grey margin of 4; UTF-8 and lines of text, from
// a font as Debian ships it and from the sample.
TEST(ShowImage, PillowReadsTheImageAsTheDrawingShows)
{
    Scratch dir;
    const std::vector<std::vector<std::string>> runs = {
        {SAMPLE_DIR "/sample-font.bin", "Hello, world!"},
        {X11_FONTS "/6x13.pcf.gz", "Temp 21.5\xc2\xb0" "C\n\xc5\x81\xc3\xb3" "d\xc5\xba"},
    };
    for (const std::vector<std::string> &run : runs) {
        SCOPED_TRACE(run[1]);
        ToolRun drawn = run_tool(SHOW, {run[0], run[1]}, dir.root());
        ASSERT_EQ(drawn.status, 0) << drawn.output;
        ASSERT_EQ(run_tool(SHOW, {run[0], run[1], "text.png"}, dir.root()).status, 0);
        std::string pixels = dir.path("pixels");
        ASSERT_EQ(std::system(("/usr/bin/python3 " SOURCE_DIR "/tests/png_pixels.py '" + dir.path("text.png") + "' '" +
                               pixels + "'").c_str()), 0);
        std::istringstream in(read_file(pixels)), lines(drawn.output);
        size_t width, height;
        in >> width >> height;
        in.get();
        std::string image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<std::string> rows;
        for (std::string line; std::getline(lines, line);)
            rows.push_back(line);
        ASSERT_EQ(height, 8 + 4 * rows.size());
        ASSERT_EQ(image.size(), width * height);
        int wrong = 0;
        for (size_t y = 0; y < height; ++y)
            for (size_t x = 0; x < width; ++x) {
                bool margin = x < 4 || y < 4 || x >= width - 4 || y >= height - 4;
                size_t row = (y - 4) / 4, cell = (x - 4) / 4;
                bool ink = !margin && cell < rows[row].size() && rows[row][cell] == '#';
                uint8_t want = margin ? 170 : ink ? 0 : 255;
                wrong += static_cast<uint8_t>(image[y * width + x]) != want;
            }
        EXPECT_EQ(wrong, 0);
    }
}

}  // namespace
