// glyphdraw's contract over many fonts, native tools only: the drawing of
// any font file of rows converts back to the same bytes; and an outside
// checker accepts the sheet.
#include "run_tool.h"
#include "scratch.h"

#include <gtest/gtest.h>
#include <random>

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

}  // namespace
