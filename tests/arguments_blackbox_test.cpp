// The conventions a command-line user expects, across glyphdraw, glyphcheck,
// glyphpick and glyphshow, against every build: help and version as the first
// argument, a wrong number named with what was typed, codes as the tools
// print them, and an input meant for another tool told what it is.
#include "run_tool.h"
#include "scratch.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> DRAW = {DRAW_COMMAND}, CHECK = {CHECK_COMMAND}, PICK = {PICK_COMMAND},
                               SHOW = {SHOW_COMMAND};
const std::string DRAW_USAGE = "usage>glyphdraw font.bin drawing.txt [height [first]]" LINE_END;
const std::string CHECK_USAGE = "usage>glyphcheck source.txt [height]" LINE_END;
const std::string PICK_USAGE = "usage>glyphpick font.bdf|font.psf|font.pcf[.gz] output [first [last]]" LINE_END;
const std::string SHOW_USAGE = "usage>glyphshow font text [output [height [first]]]" LINE_END;

std::string height(const std::string &typed)
{
    return "height: \"" + typed + "\" is not a number from 1 to 255." LINE_END;
}

std::string code(const std::string &which, const std::string &typed)
{
    return which + ": \"" + typed + "\" is not a code from 0 to 0x10FFFF." LINE_END;
}

struct ArgumentCase {
    const char *name;
    const std::vector<std::string> *tool;
    std::vector<std::string> args;
    int status;
    std::string output;  // "help:" and the usage line: that line, then the help's lines
};

// A BDF of one glyph, "A" at U+0041, 6 by 1.
const std::string BDF = "STARTFONT 2.1\nFONTBOUNDINGBOX 6 1 0 0\nCHARS 1\nSTARTCHAR A\nENCODING 65\n"
                        "BBX 6 1 0 0\nBITMAP\nFC\nENDCHAR\nENDFONT\n";

TEST(Arguments, HelpVersionAndNumbersAcrossTheTools)
{
    const std::vector<ArgumentCase> cases = {
        {"glyphdraw --help", &DRAW, {"--help"}, 0, "help:" + DRAW_USAGE},
        {"glyphcheck -h", &CHECK, {"-h"}, 0, "help:" + CHECK_USAGE},
        {"glyphpick --help, more ignored", &PICK, {"--help", "missing.bdf"}, 0, "help:" + PICK_USAGE},
        {"glyphdraw --version", &DRAW, {"--version"}, 0, "glyphdraw 1.2.0" LINE_END},
        {"glyphcheck --version", &CHECK, {"--version"}, 0, "glyphcheck 1.2.0" LINE_END},
        {"glyphpick --version", &PICK, {"--version"}, 0, "glyphpick 1.2.0" LINE_END},
        {"glyphshow -h", &SHOW, {"-h"}, 0, "help:" + SHOW_USAGE},
        {"glyphshow --version", &SHOW, {"--version"}, 0, "glyphshow 1.2.0" LINE_END},
        {"--help later is a file", &CHECK, {"font.bin", "--help"}, 1, height("--help") + CHECK_USAGE},
        {"--help as a drawing to check", &CHECK, {"--Help"}, 2, "can't open input file --Help: no such file." LINE_END},
        {"height with a unit", &DRAW, {"font.bin", "out.txt", "12px"}, 1, height("12px") + DRAW_USAGE},
        {"height 0", &CHECK, {"font.bin", "0"}, 1, height("0") + CHECK_USAGE},
        {"height 256", &DRAW, {"font.bin", "out.txt", "256"}, 1, height("256") + DRAW_USAGE},
        {"height in hex", &DRAW, {"font.bin", "out.txt", "0x1", "U+0041"}, 0, ""},
        {"first past U+10FFFF", &DRAW, {"font.bin", "out.txt", "1", "0x110000"}, 1,
         code("first", "0x110000") + DRAW_USAGE},
        {"first of seven digits", &PICK, {"font.bdf", "out.bin", "U+0000041"}, 1, code("first", "U+0000041") + PICK_USAGE},
        {"last not a number", &PICK, {"font.bdf", "out.bin", "0", "A"}, 1, code("last", "A") + PICK_USAGE},
        {"last below first", &PICK, {"font.bdf", "out.bin", "0x7E", "0x20"}, 1,
         "last: \"0x20\" is below first (\"0x7E\")." LINE_END + PICK_USAGE},
        {"codes as U+ and u+", &PICK, {"font.bdf", "out.bin", "U+0041", "u+41"}, 0, ""},
    };
    Scratch dir;
    write_file(dir.path("font.bin"), "\x3f");
    write_file(dir.path("font.bdf"), BDF);
    for (const ArgumentCase &c : cases) {
        SCOPED_TRACE(c.name);
        ToolRun r = run_tool(*c.tool, c.args, dir.root());
        EXPECT_EQ(r.status, c.status);
        if (c.output.rfind("help:", 0) == 0) {
            std::string usage = c.output.substr(5);
            EXPECT_EQ(r.output.substr(0, usage.size()), usage);
            EXPECT_GT(r.output.size(), usage.size() + 200) << r.output;  // the lines on what it does
            EXPECT_NE(r.output.find("More: man "), std::string::npos);
        } else {
            EXPECT_EQ(r.output, c.output);
        }
        EXPECT_EQ(read_file(dir.path("font.bin")), "\x3f");
    }
    EXPECT_EQ(read_file(dir.path("out.bin")), "\x3f");  // U+0041 to U+0041, picked
}

// An input meant for another tool: one line says what it is, status 7, the
// output untouched.
TEST(Arguments, AnInputForAnotherToolIsToldWhatItIs)
{
    const std::string png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), gzip("\x1f\x8b\x08\0\0\0\0\0", 8);
    const std::string psf = std::string("\x72\xb5\x4a\x86\0\0\0\0\x20\0\0\0\0\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\0\0\x06\0\0\0", 32) + "\xfc";
    const std::string drawing = "U+0041 A\n******\n*....*\n", bare_drawing = "******\n*....*\n";
    const std::vector<std::tuple<const std::vector<std::string> *, std::string, std::string>> cases = {
        {&DRAW, BDF, "input file is a BDF font, not a glyph-row font: glyphpick reads it."},
        {&DRAW, psf, "input file is a PSF font, not a glyph-row font: glyphpick reads it."},
        {&DRAW, drawing, "input file is a drawing, not a glyph-row font: glyphrow converts it."},
        {&DRAW, bare_drawing, "input file is a drawing, not a glyph-row font: glyphrow converts it."},
        {&DRAW, png, "input file is a PNG image, not a font."},
        {&DRAW, gzip, "input file is gzip-compressed, not a glyph-row font: glyphpick reads it."},
        {&DRAW, "\x3f\x40", "input file is not a glyph-row font: a byte is above 63."},
        {&PICK, drawing, "input file is a drawing, not a BDF, PSF or PCF font: glyphrow converts it."},
        {&PICK, bare_drawing, "input file is a drawing, not a BDF, PSF or PCF font: glyphrow converts it."},
        {&PICK, std::string("\0\x3f\x21\0", 4), "input file is a glyph-row font, not a BDF, PSF or PCF font: glyphdraw reads it."},
        {&PICK, png, "input file is a PNG image, not a font."},
        {&PICK, "hello\n", "input file is not a BDF, PSF or PCF font."},
        {&PICK, "", "input file is not a BDF, PSF or PCF font."},
    };
    Scratch dir;
    for (const auto &[tool, input, message] : cases) {
        SCOPED_TRACE(message + " from " + (*tool)[tool->size() - 1]);
        write_file(dir.path("input"), input);
        write_file(dir.path("out.txt"), "old");
        ToolRun r = run_tool(*tool, {"input", "out.txt"}, dir.root());
        EXPECT_EQ(r.status, 7);
        EXPECT_EQ(r.output, message + LINE_END);
        EXPECT_EQ(read_file(dir.path("out.txt")), "old");
    }
}

}  // namespace
