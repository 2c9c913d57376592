// What a picked font's outputs say of it, read by the tools users go on
// to: the codes of an 8-bit registry in Unicode, another registry's kept as
// its own (never called Unicode's), DEFAULT_CHAR only where the space is,
// and a console font's baseline the whole font's, whatever range is picked.
#include "font_readers.h"
#include "run_tool.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> PICK = {PICK_COMMAND};

// A BDF of a 6 by 2 cell in the registry, a glyph of one row of ink at
// each code.
std::string bdf_in(const std::string &registry, const std::string &encoding, const std::vector<int> &codes)
{
    std::string bdf = "STARTFONT 2.1\nFONT -x-y-Medium-R-Normal--2-20-72-72-C-60-" + registry + "-" + encoding +
                      "\nFONTBOUNDINGBOX 6 2 0 0\nSTARTPROPERTIES 2\nCHARSET_REGISTRY \"" + registry +
                      "\"\nCHARSET_ENCODING \"" + encoding + "\"\nENDPROPERTIES\nCHARS " +
                      std::to_string(codes.size()) + "\n";
    for (int code : codes)
        bdf += "STARTCHAR c" + std::to_string(code) + "\nENCODING " + std::to_string(code) +
               "\nBBX 6 2 0 0\nBITMAP\nFC\n00\nENDCHAR\n";
    return bdf + "ENDFONT\n";
}

struct Registry {
    const char *name;
    std::string font;
    std::vector<std::string> range;
    std::string said;            // glyphpick's lines
    std::string registry;        // of the BDF written, as FreeType reads it
    std::vector<uint32_t> codes; // the codes FreeType finds in it
    long default_char;           // FreeType's: the space where the output holds it, else none
};

TEST(Registries, CodesAreUnicodesOrSaidToBeTheFontsOwn)
{
    const std::vector<Registry> cases = {
        {"Windows-1251: 0xC0 is U+0410, 0x98 has no character", bdf_in("microsoft", "cp1251", {0x41, 0x98, 0xC0}),
         {"0x410", "0x410"}, "microsoft-cp1251 has no character for the codes of 1 glyphs: left out." LINE_END,
         "ISO10646-1", {0x410}, -1},
        {"TIS 620: 0xA1 is U+0E01, 0xDB has no character", bdf_in("TIS620", "0", {0xA1, 0xDB, 0xDF}),
         {"0xE01", "0xE3F"}, "TIS620-0 has no character for the codes of 1 glyphs: left out." LINE_END
         "U+0E02 to U+0E3E are not in the font: left out." LINE_END, "ISO10646-1", {0xE01, 0xE3F}, -1},
        {"a registry no table translates keeps its own", bdf_in("GOST19768.74", "1", {0x41, 0xC4}),
         {"0x41", "0xC4"}, "codes are GOST19768.74-1, not Unicode: taken as they stand." LINE_END
         "0x42 to 0xC3 are not in the font: left out." LINE_END, "GOST19768.74-1", {0x41, 0xC4}, -1},
        {"Unicode's own, with a space", bdf_in("ISO10646", "1", {0x20, 0x21}), {"0x20", "0x21"}, "", "ISO10646-1",
         {0x20, 0x21}, 0x20},
    };
    for (const Registry &c : cases) {
        SCOPED_TRACE(c.name);
        Scratch dir;
        write_file(dir.path("font.bdf"), c.font);
        std::vector<std::string> args = {"font.bdf", "out.bdf"};
        args.insert(args.end(), c.range.begin(), c.range.end());
        ToolRun r = run_tool(PICK, args, dir.root());
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.output, c.said);
        SeenFont seen = freetype_cells(dir.path("out.bdf"), 2, 0, 0);
        ASSERT_EQ(seen.error, "");
        EXPECT_EQ(seen.registry, c.registry);
        EXPECT_EQ(seen.default_char, c.default_char);
        std::vector<uint32_t> codes;
        for (const auto &[code, rows] : seen.glyphs)
            if (rows != std::string(2, '\0'))
                codes.push_back(code);
        EXPECT_EQ(codes, c.codes);
        std::string bdf = read_file(dir.path("out.bdf"));
        EXPECT_NE(bdf.find("-C-60-" + c.registry + "\n"), std::string::npos) << "the FONT name's last fields";
        if (c.registry == "ISO10646-1")
            continue;
        // Its codes are never called Unicode's, in a drawing or in C.
        for (const auto &[form, shown] : std::vector<std::pair<std::string, std::string>>{{"out.txt", "0xC4\n******\n"},
                                                                                        {"out.h", "/* 0xC4 */"}}) {
            args[1] = form;
            ASSERT_EQ(run_tool(PICK, args, dir.root()).status, 0);
            std::string text = read_file(dir.path(form));
            EXPECT_NE(text.find(shown), std::string::npos) << form;
            EXPECT_EQ(text.find("U+"), std::string::npos) << form;
        }
        // Its PSF has no Unicode table: each glyph at its code.
        args[1] = "out.psf";
        ASSERT_EQ(run_tool(PICK, args, dir.root()).status, 0);
        std::string psf = read_file(dir.path("out.psf"));
        PsfHeader h = psf_header(psf);
        EXPECT_EQ(le32(psf, 12), 0u) << "a Unicode table";
        ASSERT_EQ(h.count, 256u);
        EXPECT_EQ(psf.substr(32 + 0xC4 * 2, 2), std::string("\xFC\0", 2));
        EXPECT_EQ(psf.size(), 32u + 256 * 2);
    }
}

// A text's characters are Unicode's: a font of a registry no table
// translates takes no @file, and says why; nothing is written.
TEST(Registries, AForeignFontTakesNoTextFile)
{
    Scratch dir;
    write_file(dir.path("font.bdf"), bdf_in("GOST19768.74", "1", {0x41, 0xC4}));
    write_file(dir.path("text"), "A");
    write_file(dir.path("out.bdf"), "old");
    ToolRun r = run_tool(PICK, {"font.bdf", "out.bdf", "@text"}, dir.root());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.output, "codes are GOST19768.74-1, not Unicode: a text file's characters can't name them." LINE_END);
    EXPECT_EQ(read_file(dir.path("out.bdf")), "old");
}

// A console font has no baseline of its own: the BDF made of it takes it
// from the whole font's digits and capitals, not from the range picked.
TEST(Registries, APsfsBaselineIsTheWholeFonts)
{
    Scratch dir;
    const std::string font = CONSOLE_FONTS "/CyrSlav-Terminus12x6.psf.gz";
    for (const auto &range : std::vector<std::vector<std::string>>{{"0x410", "0x44F"}, {"0x20", "0x7E"}, {"0x30", "0x39"}}) {
        SCOPED_TRACE(range[0]);
        ASSERT_EQ(run_tool(PICK, {font, "out.bdf", range[0], range[1]}, dir.root()).status, 0);
        SeenFont seen = freetype_cells(dir.path("out.bdf"), 12, 0, -2);
        ASSERT_EQ(seen.error, "");
        EXPECT_EQ(seen.descent, 2);
    }
    // Through a pipe, where the glyphs are held until the table comes.
    ASSERT_EQ(std::system(("zcat " + font + " | " + std::string(PICK_COMMAND) + " - '" + dir.path("piped.bdf") +
                           "' 0x410 0x44F > /dev/null 2>&1").c_str()), 0);
    EXPECT_EQ(freetype_cells(dir.path("piped.bdf"), 12, 0, -2).descent, 2);
}

// A notice longer than a BDF line keeps is cut, once, to what the reader
// keeps, and said; the BDF written then reads back as it was written.
TEST(Registries, ALongNoticeReadsBackAsWritten)
{
    Scratch dir;
    std::string font = bdf_in("ISO10646", "1", {0x41});
    font.insert(font.find("ENDPROPERTIES"), "COPYRIGHT \"" + std::string(1500, 'x') + "\"\n");
    font.replace(font.find("STARTPROPERTIES 2"), 17, "STARTPROPERTIES 3");
    write_file(dir.path("font.bdf"), font);
    ToolRun once = run_tool(PICK, {"font.bdf", "once.bdf", "0x41", "0x41"}, dir.root());
    EXPECT_EQ(once.status, 0);
    EXPECT_EQ(once.output, "a notice of the font's is longer than a BDF line keeps: cut to 1014 bytes." LINE_END);
    ToolRun twice = run_tool(PICK, {"once.bdf", "twice.bdf", "0x41", "0x41"}, dir.root());
    EXPECT_EQ(twice.status, 0);
    EXPECT_EQ(twice.output, "");
    EXPECT_EQ(freetype_cells(dir.path("once.bdf"), 2, 0, 0).copyright, std::string(1012, 'x'));
    EXPECT_EQ(freetype_cells(dir.path("twice.bdf"), 2, 0, 0).copyright, std::string(1012, 'x'));
}

}  // namespace
