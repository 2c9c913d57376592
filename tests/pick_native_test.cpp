// glyphpick on real fonts that Debian ships, checked against readers this
// project did not write (FreeType for BDF, psfxtable and the header's
// offsets for PSF), and the round trip through glyphdraw's BDF and PSF.
#include "font_readers.h"
#include "run_tool.h"

#include <cstring>
#include <dirent.h>
#include <gtest/gtest.h>
#include <random>
#include <regex>

namespace {

const std::vector<std::string> PICK = {PICK_COMMAND};
const std::vector<std::string> DRAW = {DRAW_COMMAND};

struct RealFont {
    const char *name;
    std::string unpack;  // a shell command that writes the font to "$1"
    bool bdf;
};

// The font's cell as its FONTBOUNDINGBOX line says: height, x, y.
std::vector<int> bounding_box(const std::string &bdf)
{
    std::smatch m;
    std::string text = bdf.substr(0, 4096);
    if (!std::regex_search(text, m, std::regex("FONTBOUNDINGBOX +(-?\\d+) +(-?\\d+) +(-?\\d+) +(-?\\d+)")))
        return {0, 0, 0};
    return {std::stoi(m[2]), std::stoi(m[3]), std::stoi(m[4])};
}

TEST(PickRealFonts, EveryPickedGlyphIsTheSourcesBitmapInItsCell)
{
    const std::vector<RealFont> fonts = {
        {"X11 misc-fixed 6x13, pcf2bdf", "pcf2bdf -o \"$1\" " X11_FONTS "/6x13.pcf.gz", true},
        {"X11 misc-fixed 8x13, 8 wide", "pcf2bdf -o \"$1\" " X11_FONTS "/8x13.pcf.gz", true},
        {"Terminus 12x6 console font", "zcat " CONSOLE_FONTS "/Lat15-Terminus12x6.psf.gz > \"$1\"", false},
        {"Fixed16 console font, 8 wide", "zcat " CONSOLE_FONTS "/Lat15-Fixed16.psf.gz > \"$1\"", false},
    };
    for (const RealFont &f : fonts) {
        SCOPED_TRACE(f.name);
        Scratch dir;
        std::string font = dir.path("font");
        ASSERT_EQ(std::system(("sh -c '" + f.unpack + "' sh " + font).c_str()), 0);
        std::vector<int> box = bounding_box(read_file(font));
        SeenFont seen = f.bdf ? freetype_cells(font, box[0], box[1], box[2]) : psfxtable_cells(font);
        ASSERT_EQ(seen.error, "");
        int height = f.bdf ? box[0] : static_cast<int>(psf_header(read_file(font)).height);
        const uint32_t first = 0, last = 0x24F;
        ToolRun r = run_tool(PICK, {font, "picked.bin", "0", "0x24F"}, dir.root());
        std::string expected;
        std::set<uint32_t> cut;
        for (uint32_t code = first; code <= last; ++code) {
            expected += seen.glyphs.count(code) ? seen.glyphs[code] : std::string(height, '\0');
            if (seen.cut.count(code))
                cut.insert(code);
        }
        EXPECT_EQ(r.status, cut.empty() ? 0 : 8);
        EXPECT_EQ(read_file(dir.path("picked.bin")), expected);
        // A run of glyphs that lose ink is one line, as a run of missing codes is.
        std::set<uint32_t> said_cut;
        std::istringstream lines(r.output);
        const std::regex said("U\\+([0-9A-F]+)(?: to U\\+([0-9A-F]+) lose| loses) ink outside the 6 by " +
                              std::to_string(height) + " cell\\.");
        std::smatch m;
        std::vector<uint32_t> run_ends;
        for (std::string line; std::getline(lines, line);) {
            if (!std::regex_match(line, m, said))
                continue;
            uint32_t end = std::stoul(m[m[2].matched ? 2 : 1], nullptr, 16);
            for (uint32_t code = std::stoul(m[1], nullptr, 16); code <= end; ++code)
                EXPECT_TRUE(said_cut.insert(code).second) << "said twice: " << code;
            run_ends.push_back(end);
        }
        EXPECT_EQ(said_cut, cut);
        for (uint32_t end : run_ends)
            EXPECT_EQ(cut.count(end + 1), 0u) << "a run that goes on after " << end;
    }
}

// A PSF through a pipe (which can't be rewound for the table after the
// glyphs) gives what the same font gives as a file, with its table or
// without, version 1 or 2.
TEST(PickRealFonts, PsfFromAPipeIsPickedAsFromAFile)
{
    Scratch dir;
    ASSERT_EQ(run_tool(DRAW, {SAMPLE_DIR "/sample-font.bin", "sample.psf"}, dir.root()).status, 0);
    const std::vector<std::string> fonts = {
        "zcat " CONSOLE_FONTS "/Lat15-Terminus12x6.psf.gz", "zcat " CONSOLE_FONTS "/Lat15-Fixed16.psf.gz",
        "cat sample.psf", "head -c 4000 sample.psf", "cat " SAMPLE_DIR "/sample-font.bin",
        // a header that claims 2^30 glyphs of a byte, with a table: none is held before it is read
        "printf '\\162\\265\\112\\206\\0\\0\\0\\0\\40\\0\\0\\0\\1\\0\\0\\0\\0\\0\\0\\100\\1\\0\\0\\0\\1\\0\\0\\0\\6\\0\\0\\0'"};
    for (const std::string &font : fonts) {
        SCOPED_TRACE(font);
        ASSERT_EQ(std::system(("cd '" + dir.root() + "' && " + font + " > font").c_str()), 0);
        ToolRun file = run_tool(PICK, {"font", "file.bin", "0", "0x24F"}, dir.root());
        ToolRun pipe = run_tool({"sh", "-c", font + " | \"$0\" /dev/stdin pipe.bin 0 0x24F", PICK_COMMAND}, {}, dir.root());
        EXPECT_EQ(pipe.status, file.status);
        EXPECT_EQ(pipe.output, file.output);
        EXPECT_EQ(read_file(dir.path("pipe.bin")), read_file(dir.path("file.bin")));
    }
}

// The maker's COPYRIGHT and NOTICE, as FreeType reads them from the BDF,
// pngcheck from the sheet's text chunks and the compiler from C (a "/*" or
// "*/" inside harmless); forms without a place for them say so.
TEST(PickNotices, CarriedIntoBdfPngAndCAndSaidWhereDropped)
{
    Scratch dir;
    ASSERT_EQ(run_tool(DRAW, {SAMPLE_DIR "/sample-font.bin", "sample.bdf"}, dir.root()).status, 0);
    const std::string copyright = "\"(c) 2026 \"\"Maker\"\" /* a */ */ end\"", notice = "\"Share and enjoy.\"";
    std::string bdf = read_file(dir.path("sample.bdf"));
    bdf.replace(bdf.find("STARTPROPERTIES 8\n"), 18,
                "STARTPROPERTIES 10\nCOPYRIGHT " + copyright + "\nNOTICE " + notice + "\n");
    write_file(dir.path("font.bdf"), bdf);
    for (const char *form : {"out.bdf", "out.png", "out.h", "out.c", "out.txt", "out.psf", "out.bin"}) {
        SCOPED_TRACE(form);
        ToolRun r = run_tool(PICK, {"font.bdf", form}, dir.root());
        EXPECT_EQ(r.status, 0);
        bool carried = std::string(".bdf.png.h.c").find(std::strchr(form, '.')) != std::string::npos;
        EXPECT_EQ(r.output, carried ? "" : "the font's copyright notice is not carried into this form." LINE_END);
    }
    FT_Library library;
    FT_Face face;
    BDF_PropertyRec copyright_property, notice_property;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    ASSERT_EQ(FT_New_Face(library, dir.path("out.bdf").c_str(), 0, &face), 0);
    ASSERT_EQ(FT_Get_BDF_Property(face, "COPYRIGHT", &copyright_property), 0);
    ASSERT_EQ(FT_Get_BDF_Property(face, "NOTICE", &notice_property), 0);
    EXPECT_STREQ(copyright_property.u.atom, "(c) 2026 \"\"Maker\"\" /* a */ */ end");  // FreeType keeps BDF's quoting
    EXPECT_STREQ(notice_property.u.atom, "Share and enjoy.");
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    std::string text = dir.path("text");
    ASSERT_EQ(std::system((PNGCHECK " -t '" + dir.path("out.png") + "' > '" + text + "'").c_str()), 0);
    EXPECT_NE(read_file(text).find("Copyright:\n    (c) 2026 \"Maker\" /* a */ */ end\n"), std::string::npos);
    EXPECT_NE(read_file(text).find("Disclaimer:\n    Share and enjoy.\n"), std::string::npos);
    write_file(dir.path("use.c"), "#include \"out.h\"\nint main(void) { return out[0]; }\n");
    for (const std::string &source : {"use.c", "out.c"})
        EXPECT_EQ(std::system((C_COMPILER " -std=c99 -Wall -Wextra -pedantic -Werror -c '" + dir.path(source) +
                               "' -I'" + dir.root() + "' -o '" + dir.path("x.o") + "'").c_str()), 0) << source;
    const std::string comments = "/* (c) 2026 \"Maker\" / * a * / * / end */\n/* Share and enjoy. */\nstatic ";
    EXPECT_EQ(read_file(dir.path("out.h")).substr(0, comments.size()), comments);
}

// FontForge's validation flags no glyph name of a BDF that glyphdraw or
// glyphpick writes: uni0041 in the BMP, u1F600 past it, char55296 for a
// surrogate or a code of another registry.
TEST(PickNotices, FontForgeTakesEveryGlyphName)
{
    Scratch dir;
    write_file(dir.path("font.bin"), std::string(3 * 8, '\x21'));
    std::vector<std::string> made;
    for (const char *first : {"0x20", "0xFFFE", "0xD7FF", "0x10FFFD"}) {
        std::string name = std::string("from-") + first + ".bdf";
        ASSERT_EQ(run_tool(DRAW, {"font.bin", name, "8", first}, dir.root()).status, 0);
        made.push_back(dir.path(name));
    }
    std::string bdf = read_file(made[0]);
    bdf.replace(bdf.find("\"ISO10646\""), 10, "\"JISX0201.1976\"");
    bdf.replace(bdf.find("\"1\""), 3, "\"0\"");
    write_file(dir.path("jis.bdf"), bdf);
    ASSERT_EQ(run_tool(PICK, {"jis.bdf", "picked.bdf", "0x20", "0x22"}, dir.root()).status, 0);
    made.push_back(dir.path("picked.bdf"));
    std::string names;
    for (const std::string &path : made)
        names += " '" + path + "'";
    EXPECT_NE(read_file(made[2]).find("STARTCHAR char55296\n"), std::string::npos);
    EXPECT_NE(read_file(made[3]).find("STARTCHAR u10FFFD\n"), std::string::npos);
    EXPECT_NE(read_file(dir.path("picked.bdf")).find("STARTCHAR char33\n"), std::string::npos);
    EXPECT_EQ(std::system(("/usr/bin/python3 " SOURCE_DIR "/tests/bdf_glyph_names.py" + names).c_str()), 0);
}

// Every 8-bit variant of X11's small misc-fixed fonts (ISO8859-n, KOI8-R):
// each of its graphic codes is picked at its Unicode code, as the C
// library translates it, and holds the glyph that FreeType renders there
// from the same size's ISO10646-1 font, in the variant's cell; the codes
// below 0x20 are left out and said.
TEST(PickRealFonts, EightBitFontsArePickedAtTheirUnicodeCodes)
{
    std::smatch m;
    std::vector<std::string> variants;
    for (const std::string &name : package_files("xfonts-base", ".pcf.gz"))
        if (std::regex_match(name, m, std::regex("(4x6|5x7|5x8|6x9|6x10|6x12|6x13)-(ISO8859-[0-9]+|KOI8-R)\\.pcf\\.gz")))
            variants.push_back(name);
    ASSERT_GE(variants.size(), 90u);
    Scratch dir;
    for (const std::string &name : variants) {
        SCOPED_TRACE(name);
        std::regex_match(name, m, std::regex("([0-9x]+)-(.*)\\.pcf\\.gz"));
        std::string size = m[1], encoding = m[2];
        std::string variant = dir.path("variant.bdf");
        ASSERT_EQ(std::system(("pcf2bdf -o '" + variant + "' " X11_FONTS "/" + name).c_str()), 0);
        std::vector<int> box = bounding_box(read_file(variant));
        SeenFont unicode = freetype_cells(X11_FONTS "/" + size + ".pcf.gz", box[0], box[1], box[2]);
        SeenFont own = freetype_cells(variant, box[0], box[1], box[2]);  // the variant's own codes
        ASSERT_EQ(unicode.error + own.error, "");
        ToolRun r = run_tool(PICK, {variant, "picked.bin", "0", "0x25FF"}, dir.root());
        ASSERT_LE(r.status, 8) << r.output;
        std::string picked = read_file(dir.path("picked.bin"));
        ASSERT_EQ(picked.size(), 0x2600u * box[0]);
        int left_out = 0;
        for (const auto &[code, rows] : own.glyphs) {
            uint32_t u = code >= 0x20 && code != 0x7F ? unicode_of(encoding, code) : 0;
            left_out += u == 0;
            if (u == 0)
                continue;
            ASSERT_LT(u, 0x2600u) << code;
            EXPECT_EQ(picked.substr(u * box[0], box[0]), unicode.glyphs[u]) << "code " << code << ", U+" << std::hex << u;
        }
        std::string said = encoding + " has no character for the codes of " + std::to_string(left_out) + " glyphs";
        EXPECT_EQ(r.output.find(said) != std::string::npos, left_out != 0) << r.output.substr(0, 200);
        EXPECT_EQ(r.output.find("not Unicode"), std::string::npos);
    }
}

// A font file through glyphdraw to BDF and to PSF and back through
// glyphpick to a font file: the same bytes, at several heights and first
// codes.
TEST(PickRoundTrip, GlyphdrawsBdfAndPsfPickBackToTheSameFontFile)
{
    Scratch dir;
    std::mt19937 random(20261209);
    for (int i = 0; i < 60; ++i) {
        int height = 1 + static_cast<int>(random() % (i % 2 ? 32 : 255));
        uint32_t glyphs = 1 + random() % 300;
        uint32_t first = i % 3 ? random() % (0x110000 - glyphs) : 0x110000 - glyphs;
        std::string font(glyphs * height, '\0');
        for (char &row : font)
            row = static_cast<char>(random() % 64);
        write_file(dir.path("font.bin"), font);
        for (const char *form : {"font.bdf", "font.psf"}) {
            SCOPED_TRACE(std::string(form) + ", font " + std::to_string(i));
            std::vector<std::string> layout = {std::to_string(height), std::to_string(first)};
            ASSERT_EQ(run_tool(DRAW, {"font.bin", form, layout[0], layout[1]}, dir.root()).status, 0);
            ToolRun r = run_tool(PICK, {form, "again.bin", layout[1], std::to_string(first + glyphs - 1)}, dir.root());
            ASSERT_EQ(r.status, 0) << r.output;
            ASSERT_EQ(read_file(dir.path("again.bin")), font);
        }
    }
}

}  // namespace
