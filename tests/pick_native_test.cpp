// glyphpick on real fonts that Debian ships, checked against readers this
// project did not write (FreeType for BDF, psfxtable and the header's
// offsets for PSF), and the round trip through glyphdraw's BDF and PSF.
#include "font_readers.h"
#include "run_tool.h"

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
        {"X11 misc-fixed 6x10 in KOI8-R", "pcf2bdf -o \"$1\" " X11_FONTS "/6x10-KOI8-R.pcf.gz", true},
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
        std::set<uint32_t> said_cut;
        std::istringstream lines(r.output);
        for (std::string line; std::getline(lines, line);)
            if (line.find(" loses ink outside the 6 by " + std::to_string(height) + " cell.") != std::string::npos)
                said_cut.insert(std::stoul(line.substr(2), nullptr, 16));
        EXPECT_EQ(said_cut, cut);
        EXPECT_EQ(r.output.find("not Unicode") != std::string::npos, std::string(f.name).find("KOI8") != std::string::npos);
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
