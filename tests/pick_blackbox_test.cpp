// glyphpick as a user runs it, against every build (PICK_COMMAND names it):
// statuses with their exact messages, what a real font file holds (line
// ends, tabs, long lines, quoted properties), malformed fonts refused by
// line with the output left as it was, and the losses said.
#include "run_tool.h"
#include "scratch.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const std::vector<std::string> PICK = {PICK_COMMAND};
const std::string USAGE = "usage>glyphpick font.bdf|font.psf|font.pcf[.gz] output [first [last]]" LINE_END;

// A small BDF of a cell 6 by 2 whose origin is its bottom: "A" (ink in every
// cell of its first row) and a space with an empty box.
const std::string BDF =
    "STARTFONT 2.1\n"
    "COMMENT ENDFONT and STARTCHAR in a comment\n"
    "FONT -x-y-Medium-R-Normal--2-20-72-72-C-60-ISO10646-1\n"
    "SIZE 2 72 72\n"
    "FONTBOUNDINGBOX 6 2 0 0\n"
    "STARTPROPERTIES 2\n"
    "FAMILY_NAME \"ENDPROPERTIES, then STARTCHAR BITMAP\"\n"
    "CHARSET_REGISTRY \"ISO10646\"\n"
    "ENDPROPERTIES\n"
    "CHARS 2\n"
    "STARTCHAR A\n"
    "ENCODING 65\n"
    "SWIDTH 500 0\n"
    "DWIDTH 6 0\n"
    "BBX 6 2 0 0\n"
    "BITMAP\n"
    "FC\n"
    "84\n"
    "ENDCHAR\n"
    "STARTCHAR space\n"
    "ENCODING 32\n"
    "BBX 0 0 0 0\n"
    "BITMAP\n"
    "ENDCHAR\n"
    "ENDFONT\n";
const std::string PICKED = std::string("\0\0\x3f\x21", 4);  // U+0020 and U+0041, 2 rows each

std::string replaced(std::string text, const std::string &from, const std::string &to)
{
    size_t at = text.find(from);
    return at == std::string::npos ? "no " + from : text.replace(at, from.size(), to);
}

std::string every(std::string text, const std::string &from, const std::string &to)
{
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

// A PSF 2 of two glyphs 6 wide and 2 high, "A" and the space, with its
// table: "A" has U+0041 and the sequence A + combining ring (which gives
// no code), the space U+0020.
std::string psf(const std::string &table = "A\xfe" "A\xcc\x8a\xff \xff", uint32_t height = 2)
{
    std::string h = "\x72\xb5\x4a\x86";
    for (uint32_t field : {0u, 32u, 1u, 2u, height, height, 6u})
        for (int i = 0; i < 4; ++i)
            h += static_cast<char>(field >> (8 * i));
    return h + std::string("\xfc\x84\0\0", 4) + table;
}

// A PSF 1 of 256 glyphs 8 wide and 2 high with its table of UCS-2 codes:
// glyph 0 is "A" at U+0041 (its last two columns inked), the rest have none.
std::string psf1()
{
    std::string font = std::string("\x36\x04\x02\x02\xff\x87", 6) + std::string(255 * 2, '\0');
    font += std::string("\x41\x00\xff\xff", 4);
    for (int g = 1; g < 256; ++g)
        font += "\xff\xff";
    return font;
}

class PickTool : public ::testing::Test {
protected:
    Scratch dir;
    ToolRun pick(const std::vector<std::string> &args) { return run_tool(PICK, args, dir.root()); }
};

struct PickCase {
    const char *name;
    std::string font;
    std::vector<std::string> range;
    int status;
    std::string output;
    std::string picked;  // out.bin afterwards; "old" when untouched
};

TEST_F(PickTool, PicksWhatRealFilesHoldAndSaysEveryLoss)
{
    const std::string LACKS_21_TO_40 = "U+0021 to U+0040 are not in the font: left blank." LINE_END;
    const std::string blank(2 * 0x20, '\0');
    const std::vector<PickCase> cases = {
        {"BDF, space to A", BDF, {"32", "0x41"}, 0, LACKS_21_TO_40, PICKED.substr(0, 2) + blank + PICKED.substr(2)},
        {"CR LF line ends and tabs", every(every(BDF, "\n", "\r\n"), " ", "\t"), {"0x41", "0x41"}, 0, "", PICKED.substr(2)},
        {"a long comment", replaced(BDF, "COMMENT", "COMMENT " + std::string(100000, 'x')), {"0x41", "65"}, 0, "",
         PICKED.substr(2)},
        {"lower-case hex, longer rows", replaced(replaced(BDF, "FC\n", "fc00\n"), "84\n", "84ff\n"), {"65", "65"}, 0, "",
         PICKED.substr(2)},
        {"one missing code", BDF, {"0x42", "0x42"}, 0, "U+0042 is not in the font: left blank." LINE_END, std::string(2, '\0')},
        {"ink cut below the cell", replaced(BDF, "BBX 6 2 0 0", "BBX 6 2 0 -1"), {"65", "65"}, 8,
         "U+0041 loses ink outside the 6 by 2 cell." LINE_END, std::string("\0\x3f", 2)},
        {"ink cut right of the cell", replaced(replaced(BDF, "BBX 6 2 0 0", "BBX 7 2 0 0"), "FC\n", "FE\n"), {"65", "65"}, 8,
         "U+0041 loses ink outside the 6 by 2 cell." LINE_END, PICKED.substr(2)},
        {"not Unicode", replaced(BDF, "\"ISO10646\"", "\"JISX0201.1976\"\nCHARSET_ENCODING \"0\""), {"65", "65"}, 0,
         "codes are JISX0201.1976-0, not Unicode: taken as they stand." LINE_END, PICKED.substr(2)},
        {"KOI8-R's codes in Unicode, a control code left out",
         replaced(replaced(BDF, "\"ISO10646\"", "\"KOI8\"\nCHARSET_ENCODING \"R\""), "ENCODING 65", "ENCODING 163"),
         {"1", "0x451"}, 0, "U+0001 to U+001F are not in the font: left blank." LINE_END "U+0021 to U+0450 are not in the font: "
         "left blank." LINE_END, std::string(2 * 0x1F, '\0') + PICKED.substr(0, 2) + std::string(2 * 0x430, '\0') + PICKED.substr(2)},
        {"ISO8859-2's control codes left out", replaced(replaced(BDF, "\"ISO10646\"", "\"ISO8859\"\nCHARSET_ENCODING \"2\""),
         "ENCODING 32", "ENCODING 1"), {"65", "65"}, 0, "ISO8859-2 has no character for the codes of 1 glyphs: left out." LINE_END,
         PICKED.substr(2)},
        {"a row indented as wide as a line is kept", replaced(replaced(BDF, "BBX 6 2 0 0", "BBX 4096 2 0 0"), "FC\n84\n",
         std::string(10, ' ') + "FC" + std::string(1022, '0') + "\n\t84" + std::string(1022, 'F') + "\n"), {"65", "65"}, 8,
         "U+0041 loses ink outside the 6 by 2 cell." LINE_END, PICKED.substr(2)},
        {"the first glyph keeps a code", replaced(BDF, "ENCODING 32", "ENCODING 65"), {"65", "65"}, 0, "",
         PICKED.substr(2)},
        {"PSF, a sequence gives no code", psf(), {"32", "65"}, 0, LACKS_21_TO_40,
         PICKED.substr(0, 2) + blank + PICKED.substr(2)},
        {"PSF without a table: codes are indexes", replaced(psf(""), std::string("\x01\0\0\0\x02", 5),
         std::string("\0\0\0\0\x02", 5)), {"0", "1"}, 0, "", std::string("\x3f\x21\0\0", 4)},
        {"PSF 1 with its table, 8 wide", psf1(), {"65", "65"}, 8, "U+0041 loses ink outside the 6 by 2 cell." LINE_END,
         PICKED.substr(2)},
        {"a maker's notice a drawing can't carry", replaced(BDF, "FAMILY_NAME", "COPYRIGHT"), {"65", "65"}, 0,
         "the font's copyright notice is not carried into this form." LINE_END, PICKED.substr(2)},
        {"a set's font file: its span, the gaps blank", BDF, {"0x41,0x20"}, 0,
         "32 blank glyphs fill the gaps between the codes." LINE_END,
         PICKED.substr(0, 2) + std::string(64, '\0') + PICKED.substr(2)},
        {"a set's codes the font lacks", BDF, {"0x41-0x43,0x20"}, 0,
         "32 blank glyphs fill the gaps between the codes." LINE_END
         "U+0042 to U+0043 are not in the font: left blank." LINE_END,
         PICKED.substr(0, 2) + std::string(64, '\0') + PICKED.substr(2) + std::string(4, '\0')},
        {"default range, last at least first", BDF, {"0x41"}, 0, "U+0042 to U+007E are not in the font: left blank." LINE_END,
         PICKED.substr(2) + std::string(2 * (0x7E - 0x41), '\0')},
    };
    for (const PickCase &c : cases) {
        SCOPED_TRACE(c.name);
        write_file(dir.path("font"), c.font);
        std::vector<std::string> args = {"font", "out.bin"};
        args.insert(args.end(), c.range.begin(), c.range.end());
        ToolRun r = pick(args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.output, c.output);
        EXPECT_EQ(read_file(dir.path("out.bin")), c.picked);
    }
}

// Each malformed font: status 7, the line that is wrong, and the output
// left byte for byte as it was.
TEST_F(PickTool, MalformedFontsAreRefusedByLineAndTouchNothing)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"hello", "input file is not a BDF, PSF or PCF font."},
        {replaced(BDF, "STARTFONT 2.1", "STARTFONTS"), "input file is not a BDF, PSF or PCF font."},
        {replaced(BDF, "FONTBOUNDINGBOX 6 2 0 0\n", ""), "font.bdf:10: no FONTBOUNDINGBOX before the first glyph."},
        {replaced(BDF, "FONTBOUNDINGBOX 6 2", "FONTBOUNDINGBOX 6 256"), "font.bdf:5: the cell must be 1 to 255 rows high."},
        {replaced(BDF, "ENCODING 65", "ENCODING sixty-five"),
         "font.bdf:12: a number is missing or too large."},
        {replaced(BDF, "CHARS 2", "CHARS 4294967298"), "font.bdf:10: a number is missing or too large."},
        {replaced(BDF, "ENCODING 65\n", ""), "font.bdf:15: the glyph at line 11 has no ENCODING or no BBX before its BITMAP."},
        {replaced(BDF, "BBX 6 2 0 0\n", ""), "font.bdf:15: glyph U+0041 has no ENCODING or no BBX before its BITMAP."},
        {replaced(BDF, "BBX 6 2 0 0", "BBX 6 3 0 0"), "font.bdf:19: glyph U+0041 has 2 bitmap rows, its BBX says 3."},
        {replaced(BDF, "84\n", "84\n00\n"), "font.bdf:20: glyph U+0041 has 3 bitmap rows, its BBX says 2."},
        {replaced(BDF, "FC\n", "F\n"), "font.bdf:17: glyph U+0041 has a row that is not 2 hex digits."},
        {replaced(BDF, "84\n", "8G\n"), "font.bdf:18: glyph U+0041 has a row that is not 2 hex digits."},
        {replaced(BDF, "84\nENDCHAR\n", "84\n"), "font.bdf:19: glyph U+0041 has no ENDCHAR."},
        {replaced(BDF, "BITMAP\nFC", "FC"), "font.bdf:18: glyph U+0041 has no BITMAP."},
        {replaced(BDF, "CHARS 2", "CHARS 3"), "font.bdf:25: CHARS says 3, the font has 2 glyphs."},
        {replaced(BDF, "CHARS 2\n", ""), "font.bdf:24: the font has no CHARS."},
        {replaced(BDF, "ENDFONT\n", ""), "font.bdf:24: the font has no ENDFONT."},
        {"STARTFONT 2.1\nCHARS 0\nENDFONT\n", "font.bdf:3: the font has no FONTBOUNDINGBOX."},
        {replaced(BDF, "STARTCHAR space", "FONTBOUNDINGBOX 6 255 0 0\nSTARTCHAR space"),
         "font.bdf:20: a FONTBOUNDINGBOX after the first glyph."},
        {replaced(BDF, "STARTCHAR space", "FONTBOUNDINGBOX 6 1 0 0\nSTARTCHAR space"),
         "font.bdf:20: a FONTBOUNDINGBOX after the first glyph."},
        {psf().substr(0, 33), "input file is a PSF font whose glyphs run past its end."},
        {psf("A\xff"), "input file is a PSF font whose table runs past its end."},
        {psf("A\xff \xff!"), "input file is a PSF font with bytes after its table."},
        {psf("\x80\xff \xff"), "input file is a PSF font whose table is not UTF-8."},
        {psf("A\xff \xff", 256), "input file is a PSF font more than 255 rows high."},
        {replaced(psf(), std::string("\x02\0\0\0\x02\0\0\0\x06", 9), std::string("\x03\0\0\0\x02\0\0\0\x06", 9)),
         "input file is a PSF font whose sizes don't fit together."},
        {replaced(psf(), std::string("\x02\0\0\0\x02\0\0\0\x06\0\0\0", 12), std::string("\0\0\0\0\x02\0\0\0\xfa\xff\xff\xff", 12)),
         "input file is a PSF font whose sizes don't fit together."},  // a width whose row size would wrap to 0
    };
    for (const auto &[font, message] : cases) {
        SCOPED_TRACE(message);
        write_file(dir.path("font.bdf"), font);
        write_file(dir.path("old.psf"), "old");
        ToolRun r = pick({"font.bdf", "old.psf", "0", "0x41"});
        EXPECT_EQ(r.status, 7);
        EXPECT_EQ(r.output, message + "" LINE_END);
        EXPECT_EQ(read_file(dir.path("old.psf")), "old");
    }
}

TEST_F(PickTool, StatusesAndMessages)
{
    const std::vector<PickCase> cases = {
        {"no argument", BDF, {}, 1, USAGE, "old"},
        {"an output form not known", BDF, {"font", "a.b/out.TTF"}, 1,
         "output form not known: .TTF (the forms: .txt .png .bdf .psf .h .c .bin .gfx.h .cols.h .cols.c .lvgl.c)." LINE_END + USAGE, "old"},
        {"missing font", BDF, {"none", "out.bin"}, 2, "can't open input file none: no such file." LINE_END, "old"},
        {"output is the font", BDF, {"font", "font"}, 3, "can't open output file font: in use." LINE_END, "old"},
        {"output can't be written", BDF, {"font", "/dev/full", "65", "65"}, 4, "can't write output file." LINE_END, "old"},
        {"font can't be read", BDF, {"/proc/self/mem", "out.bin"}, 5, "can't read input file." LINE_END, "old"},
    };
    for (const PickCase &c : cases) {
        SCOPED_TRACE(c.name);
        write_file(dir.path("font"), c.font);
        write_file(dir.path("out.bin"), "old");
        ToolRun r = pick(c.range);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.output, c.output);
        EXPECT_EQ(read_file(dir.path("out.bin")), c.picked);
        EXPECT_EQ(read_file(dir.path("font")), c.font);
    }
    // A billion glyphs of one byte (a sparse file): their lists would need
    // more bytes than a 32-bit size counts, which is no memory, not a wrap.
    std::string header = psf().substr(0, 32);
    for (int i = 0; i < 4; ++i)
        header[16 + i] = "\0\0\0\x40"[i], header[20 + i] = header[24 + i] = "\1\0\0\0"[i];
    write_file(dir.path("font"), header);
    ASSERT_EQ(truncate(dir.path("font").c_str(), 32 + (1L << 30) + 1), 0);
    write_file(dir.path("out.bin"), "old");
    ToolRun r = pick({"font", "out.bin"});
    EXPECT_EQ(r.status, 6);
    EXPECT_EQ(r.output, "not enough memory." LINE_END);
    EXPECT_EQ(read_file(dir.path("out.bin")), "old");
}

}  // namespace
