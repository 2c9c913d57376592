// glyphpick's sets of codes against real fonts (PCF, the BDF pcf2bdf makes
// of it, a console PSF), each output read by the user's next tool: FreeType
// for BDF, psfxtable for PSF, the compiler and a small program over
// NAME_codes for C, Pillow for the sheet; and the wrong sets refused.
#include "compiled.h"
#include "font_readers.h"
#include "run_tool.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> PICK = {PICK_COMMAND};
const std::string X11 = X11_FONTS, CONSOLE = CONSOLE_FONTS;

struct Source {
    const char *name;
    std::string unpack;  // writes the font to "$1"
    bool bdf;            // FreeType reads it; else psfxtable
};

struct SetCase {
    const char *name;
    std::string codes;             // the argument, or "@text" for the text below
    std::string text;              // the @ file's bytes
    std::set<uint32_t> asked;      // the set it means (empty: every code the font has)
};

// What the source has at each code, as its own reader sees it.
SeenFont seen_source(const Source &s, const Scratch &dir, int *height)
{
    std::string font = dir.path("source");
    if (std::system(("sh -c '" + s.unpack + "' sh " + font).c_str()) != 0)
        return SeenFont{"can't unpack", {}, {}};
    if (!s.bdf) {
        *height = static_cast<int>(psf_header(read_file(font)).height);
        return psfxtable_cells(font);
    }
    *height = 13;  // 6x13, its cell from 2 below the baseline
    return freetype_cells(font, 13, 0, -2);
}

// The codes an output holds, each glyph's rows checked against the source's.
std::set<uint32_t> codes_alike(const SeenFont &out, SeenFont &source, const char *form)
{
    std::set<uint32_t> codes;
    for (const auto &[code, rows] : out.glyphs) {
        codes.insert(code);
        EXPECT_EQ(rows, source.glyphs[code]) << form << ", code " << code;
    }
    return codes;
}

// Prints each glyph of the C form as `rows_line` does.
const std::string C_PROGRAM =
    "#include <stdio.h>\n#include \"out.h\"\n"
    "#ifdef HAS_CODES\n#define CODE(i) out_codes[i]\n#else\n#define CODE(i) (out_first + (i))\n#endif\n"
    "int main(void) {\n  for (unsigned i = 0; i < out_count; ++i) {\n"
    "    printf(\"%lx\", (unsigned long)CODE(i));\n"
    "    for (unsigned r = 0; r < out_height; ++r) printf(\" %02x\", out[i * out_height + r]);\n"
    "    printf(\"\\n\");\n  }\n  return 0;\n}\n";

std::set<uint32_t> span(uint32_t first, uint32_t last)
{
    std::set<uint32_t> codes;
    for (uint32_t c = first; c <= last; ++c)
        codes.insert(c);
    return codes;
}

std::set<uint32_t> joined(std::set<uint32_t> a, const std::set<uint32_t> &b)
{
    a.insert(b.begin(), b.end());
    return a;
}

TEST(Sets, EachOutputHoldsTheSetsGlyphsTheFontHas)
{
    const std::vector<Source> sources = {
        {"PCF", "cp " + X11 + "/6x13.pcf.gz \"$1\"", true},
        {"BDF", "pcf2bdf -o \"$1\" " + X11 + "/6x13.pcf.gz", true},
        {"PSF", "zcat " + CONSOLE + "/Lat15-Terminus12x6.psf.gz > \"$1\"", false},
    };
    const std::vector<SetCase> cases = {
        {"items in any order, overlapping", "U+0400-U+045F,0xB0,0x20-0x7E,0x41", "",
         joined(joined(span(0x20, 0x7E), {0xB0}), span(0x400, 0x45F))},
        {"a UTF-8 text with a byte order mark and CR LF", "@text", "\xEF\xBB\xBFTemp 21.5\xC2\xB0" "C\r\n\xC5\x81\xC3\xB3" "d\xC5\xBA\r\n",
         {'T', 'e', 'm', 'p', ' ', '2', '1', '.', '5', 0xB0, 'C', 0x141, 0xF3, 'd', 0x17A}},
        {"a Latin-1 text; a backslash and an n are two characters", "@text", "\xB0\xE9\\n", {0xB0, 0xE9, '\\', 'n'}},
        {"all", "all", "", {}},
    };
    for (const Source &s : sources) {
        Scratch dir;
        int height = 0;
        SeenFont source = seen_source(s, dir, &height);
        ASSERT_EQ(source.error, "") << s.name;
        for (const SetCase &c : cases) {
            SCOPED_TRACE(std::string(s.name) + ", " + c.name);
            write_file(dir.path("text"), c.text);
            std::set<uint32_t> expected;
            for (const auto &[code, rows] : source.glyphs)
                if (c.asked.empty() || c.asked.count(code))
                    expected.insert(code);
            ASSERT_FALSE(expected.empty());
            // BDF, as FreeType reads it: the set's glyphs the font has, no other.
            ASSERT_LE(run_tool(PICK, {"source", "out.bdf", c.codes}, dir.root()).status, 8);
            SeenFont bdf = freetype_cells(dir.path("out.bdf"), height, 0, -static_cast<int>(bdf_descent(dir.path("out.bdf"))));
            ASSERT_EQ(bdf.error, "");
            EXPECT_EQ(codes_alike(bdf, source, "BDF"), expected);
            // PSF, as psfxtable lists it; it reads no font past the console's
            // 512 glyphs, and such a one is said as it is written.
            ToolRun psf_run = run_tool(PICK, {"source", "out.psf", c.codes}, dir.root());
            ASSERT_LE(psf_run.status, 8);
            if (expected.size() > 512) {
                EXPECT_NE(psf_run.output.find("the console loads at most 512 glyphs; this PSF holds " +
                                              std::to_string(expected.size()) + "."), std::string::npos);
                EXPECT_EQ(psf_header(read_file(dir.path("out.psf"))).count, expected.size());
            } else {
                SeenFont psf = psfxtable_cells(dir.path("out.psf"));
                ASSERT_EQ(psf.error, "");
                EXPECT_EQ(codes_alike(psf, source, "PSF"), expected);
            }
            // C, compiled as C and C++ with a program that prints each code
            // and its rows; the .c form compiled on its own (its arrays with
            // external linkage) in both languages.
            ASSERT_LE(run_tool(PICK, {"source", "out.h", c.codes}, dir.root()).status, 8);
            bool listed = read_file(dir.path("out.h")).find("out_codes[") != std::string::npos;
            std::string wanted;
            for (uint32_t code : expected)
                wanted += rows_line(code, source.glyphs[code]);
            for (const std::string &compiler : c_and_cxx()) {
                ASSERT_EQ(compile_run(dir, compiler, listed ? " -pedantic -DHAS_CODES" : " -pedantic", C_PROGRAM), 0) << compiler;
                EXPECT_EQ(read_file(dir.path("drawn")), wanted) << compiler;
            }
            ASSERT_LE(run_tool(PICK, {"source", "out.c", c.codes}, dir.root()).status, 8);
            for (const std::string &compiler : c_and_cxx())
                EXPECT_EQ(std::system((compiler + " -Wall -Wextra -pedantic -Werror -c '" + dir.path("out.c") + "' -o '" +
                                       dir.path("out.o") + "'").c_str()), 0) << compiler;
        }
    }
}

// The sheet of a set leaves out the lines of 16 that hold none of it, so
// that every glyph of a font reaching U+FFFD is an image Pillow opens with
// its default limits.
TEST(Sets, ASetsSheetHoldsOnlyItsLines)
{
    Scratch dir;
    ASSERT_EQ(run_tool(PICK, {X11 + "/6x13.pcf.gz", "all.png", "all"}, dir.root()).status, 0);
    std::string pixels = dir.path("pixels");
    ASSERT_EQ(std::system(("/usr/bin/python3 " SOURCE_DIR "/tests/png_pixels.py '" + dir.path("all.png") + "' '" +
                           pixels + "'").c_str()), 0);
    unsigned width = 0, image_height = 0;
    std::sscanf(read_file(pixels).c_str(), "%u %u", &width, &image_height);
    SeenFont font = freetype_cells(X11 + "/6x13.pcf.gz", 13, 0, -2);
    std::set<uint32_t> lines;
    for (const auto &[code, rows] : font.glyphs)
        lines.insert((code - font.glyphs.begin()->first) / 16);
    EXPECT_EQ(image_height, lines.size() * (4 + 13 * 4) + 4);
    EXPECT_LT(static_cast<double>(width) * image_height, 89478485.0);
}

struct WrongSet {
    std::string codes;
    int status;
    std::string said;
};

TEST(Sets, AWrongSetIsAUsageErrorNamingIt)
{
    const std::string USAGE = "usage>glyphpick font.bdf|font.psf|font.pcf[.gz] output [first [last]]" LINE_END;
    const std::string WHY = " is not a code, a range A-B, a list of them parted by commas, @file or all." LINE_END;
    const std::vector<WrongSet> cases = {
        {"0x20-", 1, "codes: \"0x20-\"" + WHY + USAGE},
        {"0x7E-0x20", 1, "codes: \"0x7E-0x20\"" + WHY + USAGE},
        {"0x41,,0x42", 1, "codes: \"0x41,,0x42\"" + WHY + USAGE},
        {"U+110000,0x41", 1, "codes: \"U+110000,0x41\"" + WHY + USAGE},
        {"@ends", 1, "codes: \"@ends\" holds no character." LINE_END + USAGE},
        {"@none", 2, "can't open input file none: no such file." LINE_END},
    };
    Scratch dir;
    write_file(dir.path("ends"), "\xEF\xBB\xBF\r\n\n");
    for (const WrongSet &c : cases) {
        SCOPED_TRACE(c.codes);
        write_file(dir.path("out.bin"), "old");
        ToolRun r = run_tool(PICK, {X11 + "/6x13.pcf.gz", "out.bin", c.codes}, dir.root());
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.output, c.said);
        EXPECT_EQ(read_file(dir.path("out.bin")), "old");
    }
}

}  // namespace
