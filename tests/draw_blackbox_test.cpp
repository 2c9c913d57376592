// glyphdraw as a user runs it, against every build (DRAW_COMMAND names it,
// TOOL_COMMAND the glyphrow of the same build): statuses with their exact
// messages, drawings left alone, the round trip and the glyph sheet.
#include "png_reader.h"
#include "run_tool.h"
#include "scratch.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> DRAW = {DRAW_COMMAND};
const std::vector<std::string> GLYPHROW = {TOOL_COMMAND};
const std::string SAMPLE_FONT = SAMPLE_DIR "/sample-font.bin";
const std::string SAMPLE_SHEET = SAMPLE_DIR "/sample-font.png";



class DrawTool : public ::testing::Test {
protected:
    Scratch dir;
    ToolRun draw(const std::vector<std::string> &args) { return run_tool(DRAW, args, dir.root()); }
};

struct StatusCase {
    const char *name;
    std::vector<std::string> args;
    int status;
    std::string output;
    std::string drawing;        // the file to look at afterwards
    std::string drawing_bytes;  // "-" when it must not exist
};

TEST_F(DrawTool, StatusesMessagesAndDrawingsLeftAlone)
{
    const std::string USAGE = "usage>glyphdraw font.bin drawing.txt [height [first]]" LINE_END;
    const std::string NOT_A_FONT = "input file is not a glyph-row font: a byte is above 63." LINE_END;
    const std::string ONE_GLYPH = "U+0041 A\n******\n*....*\n";
    const std::string NO_WHOLE_GLYPH = "input file holds no whole glyph: no BDF or PSF is written." LINE_END;
    auto FORM_NOT_KNOWN = [](const std::string &suffix) {
        return "output form not known: " + suffix + " (the forms: .txt .png .bdf .psf .h .c .bin .gfx.h .cols.h .cols.c .lvgl.c)." LINE_END;
    };
    const std::vector<StatusCase> cases = {
        {"no argument", {}, 1, USAGE, "old.txt", "old"},
        {"missing font", {"none.bin", "old.txt"}, 2, "can't open input file none.bin: no such file." LINE_END, "old.txt", "old"},
        {"missing font, no drawing made", {"none.bin", "new.png"}, 2, "can't open input file none.bin: no such file." LINE_END, "new.png", "-"},
        {"same file both ways", {"font.bin", "font.bin"}, 3, "can't open output file font.bin: in use." LINE_END, "font.bin", "\x3f\x21"},
        {"drawing can't be written", {"font.bin", "/dev/full", "2"}, 4, "can't write output file." LINE_END, "", ""},
        {"font can't be read", {"/proc/self/mem", "new.txt"}, 5, "can't read input file." LINE_END, "new.txt", "-"},
        {"not a font", {"text.txt", "old.txt"}, 7, NOT_A_FONT, "old.txt", "old"},
        {"not a font, no sheet made", {"text.txt", "new.png"}, 7, NOT_A_FONT, "new.png", "-"},
        {"ends inside a glyph", {"font.bin", "new.txt", "3", "65"}, 8,
         "input file ends inside a glyph: check the height." LINE_END, "new.txt", ONE_GLYPH},
        {"whole glyphs", {"font.bin", "old.txt", "2", "0x41"}, 0, "", "old.txt", ONE_GLYPH},
        {"not a font, BDF untouched", {"text.txt", "old.bdf"}, 7, NOT_A_FONT, "old.bdf", "old"},
        {"code past U+10FFFF left out", {"font.bin", "new.psf", "1", "0x10FFFF"}, 8,
         "glyphs past U+10FFFF left out (this form has no codes for them): 1." LINE_END, "", ""},
        {"code past U+10FFFF left out of C", {"font.bin", "new.c", "1", "0x10FFFF"}, 8,
         "glyphs past U+10FFFF left out (this form has no codes for them): 1." LINE_END, "", ""},
        {"a drawing keeps a glyph past U+10FFFF, its label no code", {"font.bin", "new.txt", "1", "0x10FFFF"}, 0,
         "", "new.txt", "U+10FFFF\n******\nno code\n*....*\n"},
        {"a C array holds whole glyphs", {"font.bin", "new.h", "3"}, 8,
         "input file ends inside a glyph: check the height." LINE_END, "", ""},
        {"an output form not known", {"font.bin", "new.ttf"}, 1, FORM_NOT_KNOWN(".ttf") + USAGE, "new.ttf", "-"},
        {"a name ending in a dot", {"font.bin", "old."}, 1, FORM_NOT_KNOWN(".") + USAGE, "old.", "-"},
        {"a hidden name is a drawing", {"font.bin", ".bdf", "2", "0x41"}, 0, "", ".bdf", ONE_GLYPH},
        {".TXT is a drawing", {"font.bin", "new.TXT", "2", "0x41"}, 0, "", "new.TXT", ONE_GLYPH},
        {"no whole glyph, no BDF", {"font.bin", "old.bdf", "3"}, 7, NO_WHOLE_GLYPH, "old.bdf", "old"},
        {"an empty font, no PSF", {"empty.bin", "none.psf"}, 7, NO_WHOLE_GLYPH, "none.psf", "-"},
    };
    for (const StatusCase &c : cases) {
        SCOPED_TRACE(c.name);
        write_file(dir.path("font.bin"), "\x3f\x21");
        write_file(dir.path("text.txt"), "U+0041 A\nnotes\n");  // "U" is 0x55; no rows, so no drawing
        write_file(dir.path("old.txt"), "old");
        write_file(dir.path("old.bdf"), "old");
        write_file(dir.path("empty.bin"), "");
        ToolRun r = draw(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.output, c.output);
        if (c.drawing_bytes == "-")
            EXPECT_FALSE(file_exists(dir.path(c.drawing)));
        else if (!c.drawing.empty())
            EXPECT_EQ(read_file(dir.path(c.drawing)), c.drawing_bytes);
        EXPECT_EQ(read_file(dir.path("font.bin")), "\x3f\x21");
    }
}

TEST_F(DrawTool, SampleDrawingConvertsBackToTheSameBytes)
{
    write_file(dir.path("sample.bin"), read_file(SAMPLE_FONT));
    ASSERT_EQ(draw({"sample.bin", "sample.txt"}).status, 0);
    ASSERT_EQ(run_tool(GLYPHROW, {"sample.txt", "again.bin"}, dir.root()).status, 0);
    EXPECT_EQ(read_file(dir.path("again.bin")), read_file(SAMPLE_FONT));
}

struct SheetCase {
    const char *name;
    std::string font;
    int height;
};

TEST_F(DrawTool, SheetsShowExactlyTheInk)
{
    std::string all_rows;
    for (int byte = 0; byte < 64; ++byte)
        all_rows += static_cast<char>(byte);
    const std::vector<SheetCase> cases = {
        {"the sample", read_file(SAMPLE_FONT), 8},
        {"every row, 17 glyphs with a partial last", all_rows + all_rows + "\x3f", 8},
        {"height 1", all_rows, 1},
        {"one partial glyph", "\x21\x1e", 255},
        {"empty font", "", 8},
    };
    for (const SheetCase &c : cases) {
        SCOPED_TRACE(c.name);
        write_file(dir.path("font.bin"), c.font);
        int status = draw({"font.bin", "sheet.Png", std::to_string(c.height)}).status;
        EXPECT_EQ(status, c.font.size() % c.height ? 8 : 0);
        EXPECT_EQ(sheet_errors(read_png(read_file(dir.path("sheet.Png"))), c.font, c.height), "");
    }
}

TEST_F(DrawTool, SampleSheetIsTheCommittedOne)
{
    write_file(dir.path("sample.bin"), read_file(SAMPLE_FONT));
    ASSERT_EQ(draw({"sample.bin", "sample.png"}).status, 0);
    EXPECT_EQ(read_file(dir.path("sample.png")), read_file(SAMPLE_SHEET));
}

}  // namespace
