// An input that is plainly another tool's, given to glyphrow or glyphcheck
// (arguments swapped, the wrong file): refused from its first block with
// one line, status 7, and the output neither made nor changed. Anything
// else, however odd, is a drawing still.
#include "run_tool.h"
#include "scratch.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> GLYPHROW = {TOOL_COMMAND};
const std::vector<std::string> GLYPHCHECK = {CHECK_COMMAND};
const std::string PICK_READS = ", not a drawing: glyphpick reads it." LINE_END;

struct Refused {
    const char *name;
    std::string input;
    std::string said;  // "" for a drawing, which glyphrow converts
};

std::string rows_font()
{
    std::string rows;
    for (int i = 0; i < 600; ++i)  // past the first block
        rows += static_cast<char>(i % 64);
    return rows;
}

TEST(Refused, AnotherToolsInputIsToldAndTheOutputKept)
{
    const std::vector<Refused> cases = {
        {"BDF", "STARTFONT 2.1\nFONT x\n", "input file is a BDF font" + PICK_READS},
        {"PSF 1", std::string("\x36\x04\x00\x08", 4) + std::string(2048, '\0'), "input file is a PSF font" + PICK_READS},
        {"PSF 2", std::string("\x72\xb5\x4a\x86\x00\x00\x00\x00", 8), "input file is a PSF font" + PICK_READS},
        {"PCF", std::string("\x01" "fcp\x09\x00\x00\x00", 8), "input file is a PCF font" + PICK_READS},
        {"gzip", std::string("\x1f\x8b\x08\x00", 4), "input file is gzip-compressed" + PICK_READS},
        {"PNG", std::string("\x89PNG\r\n\x1a\n", 8), "input file is a PNG image, not a drawing." LINE_END},
        {"glyph-row font", rows_font(),
         "input file is a glyph-row font, not a drawing: glyphdraw reads it." LINE_END},
        {"a short glyph-row font", std::string("\x3f\x21\x21\x00\x1e", 5),
         "input file is a glyph-row font, not a drawing: glyphdraw reads it." LINE_END},
        // Drawings, however odd: converted as ever.
        {"a stray zero byte among rows", std::string("******\n\0\n*....*\n", 16), ""},
        {"rows behind labels", "A 0x41\n*....*\n", ""},
        {"row bytes without a control byte", "\x3f\x21 ", ""},
        {"text that begins STARTFONT late", "\n******\nSTARTFONT\n", ""},
        {"an empty file", "", ""},
    };
    for (const Refused &c : cases) {
        SCOPED_TRACE(c.name);
        Scratch dir;
        write_file(dir.path("in"), c.input);
        write_file(dir.path("font.bin"), "precious");
        ToolRun row = run_tool(GLYPHROW, {"in", "font.bin"}, dir.root());
        ToolRun check = run_tool(GLYPHCHECK, {"in"}, dir.root());
        if (c.said.empty()) {
            EXPECT_EQ(row.status, 0);
            EXPECT_NE(read_file(dir.path("font.bin")), "precious");
            EXPECT_EQ(check.output.find("not a drawing"), std::string::npos);
            continue;
        }
        EXPECT_EQ(row.status, 7);
        EXPECT_EQ(row.output, c.said);
        EXPECT_EQ(read_file(dir.path("font.bin")), "precious");
        EXPECT_EQ(check.status, 7);
        EXPECT_EQ(check.output, c.said);
        // A new output is not made either.
        row = run_tool(GLYPHROW, {"in", "new.bin"}, dir.root());
        EXPECT_EQ(row.status, 7);
        EXPECT_FALSE(file_exists(dir.path("new.bin")));
    }
}

}  // namespace
