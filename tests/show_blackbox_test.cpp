// glyphshow as a user runs it, against every build (SHOW_COMMAND names
// it): a table of texts (UTF-8, Latin-1 bytes, line feeds, characters the
// font lacks, an empty text) against a glyph-row font and a BDF, the
// drawing on standard output and the messages on standard error.
#include "run_tool.h"
#include "scratch.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> SHOW = {SHOW_COMMAND};
const std::string USAGE = "usage>glyphshow font text [output [height [first]]]" LINE_END;

// A glyph-row font of height 2 from U+0041: "A" (a full row, then both
// edges), "B" (the left edge only, twice).
const std::string ROWS = "\x3f\x21\x20\x20";
// The same two glyphs as a BDF, at U+00C5 ("Å") and U+0042.
const std::string BDF = "STARTFONT 2.1\nFONTBOUNDINGBOX 6 2 0 0\nCHARS 2\nSTARTCHAR Aring\nENCODING 197\n"
                        "BBX 6 2 0 0\nBITMAP\nFC\n84\nENDCHAR\nSTARTCHAR B\nENCODING 66\nBBX 1 2 0 0\nBITMAP\n80\n80\n"
                        "ENDCHAR\nENDFONT\n";

// A PSF 2 of the same two glyphs, at U+0041 and U+0042 by its table.
std::string psf()
{
    std::string h = "\x72\xb5\x4a\x86";
    for (uint32_t field : {0u, 32u, 1u, 2u, 2u, 2u, 6u})
        for (int i = 0; i < 4; ++i)
            h += static_cast<char>(field >> (8 * i));
    return h + std::string("\xfc\x84\x80\x80", 4) + "A\xff" "B\xff";
}

struct ShowCase {
    const char *name;
    std::string font;  // "rows" or "bdf"
    std::vector<std::string> args;  // after the font
    int status;
    std::string drawing;   // on standard output, or in out.txt
    std::string messages;  // on standard error
};

// Runs the tool with standard error in the output, standard output in a
// file: the two are told apart.
ToolRun show(const Scratch &dir, const std::string &font, const std::vector<std::string> &args, std::string *drawing)
{
    std::string command = "\"$0\" \"$@\" 2>&1 >stdout.txt";
    std::vector<std::string> words = {"sh", "-c", command};
    words.insert(words.end(), SHOW.begin(), SHOW.end());
    words.push_back(font);
    words.insert(words.end(), args.begin(), args.end());
    ToolRun r = run_tool(words, {}, dir.root());
    *drawing = read_file(dir.path("stdout.txt"));
    return r;
}

TEST(ShowTool, TextsDrawnInEachKindOfFont)
{
    const std::string A = "######\n#    #\n", B = "#\n#\n", NL = LINE_END;
    const std::vector<ShowCase> cases = {
        {"two glyphs side by side", "rows", {"AB", "-", "2", "0x41"}, 0, "#######\n#    ##\n", ""},
        {"a line feed starts a line", "rows", {"A\nB", "-", "2", "U+0041"}, 0, A + B, ""},
        {"\\n starts a line, one at the end adds none", "rows", {"B\\nA\\n", "-", "2", "65"}, 0, B + A, ""},
        {"a missing character, said once", "rows", {"ACAC", "-", "2", "0x41"}, 0,
         "######      ######\n#    #      #    #\n", "U+0043 is not in the font: drawn blank." + NL},
        {"a shorter line filled out", "rows", {"B\nAA", "-", "2", "0x41"}, 0, "#\n#\n############\n#    ##    #\n", ""},
        {"UTF-8 in a BDF", "bdf", {"\xc3\x85" "B"}, 0, "#######\n#    ##\n", ""},
        {"a Latin-1 byte is its own code", "bdf", {"\xc5"}, 0, "######\n#    #\n", ""},
        {"a broken sequence: each byte its own", "bdf", {"\xc3" "B"}, 0, "      #\n      #\n",
         "U+00C3 is not in the font: drawn blank." + NL},
        {"to a drawing file", "bdf", {"B", "out.txt"}, 0, "", ""},
        {"a PSF, a character it lacks", "psf", {"BAZ"}, 0, "#     ######\n#     #    #\n",
         "U+005A is not in the font: drawn blank." + NL},
        {"an empty text", "rows", {""}, 1, "", "the text is empty: nothing to draw." + NL + USAGE},
        {"height for a BDF", "bdf", {"B", "-", "2"}, 1, "", "height and first are a glyph-row font's only." + NL + USAGE},
        {"an output form not known", "rows", {"A", "out.bdf"}, 1, "",
         "output form not known: .bdf (the forms: .txt .png, or none for the terminal)." + NL + USAGE},
        {"a missing font", "none", {"A"}, 2, "", "can't open input file none: no such file." + NL},
    };
    Scratch dir;
    write_file(dir.path("rows"), ROWS);
    write_file(dir.path("bdf"), BDF);
    write_file(dir.path("psf"), psf());
    for (const ShowCase &c : cases) {
        SCOPED_TRACE(c.name);
        std::string drawing;
        ToolRun r = show(dir, c.font, c.args, &drawing);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.output, c.messages);
        bool to_file = c.args.size() > 1 && c.args[1] == "out.txt";
        EXPECT_EQ(to_file ? read_file(dir.path("out.txt")) : native_line_ends(drawing), to_file ? B : c.drawing);
    }
}

}  // namespace
