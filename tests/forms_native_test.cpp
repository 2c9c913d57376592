// glyphdraw's BDF, PSF and C, each proven by a reader this project did not
// write: bdftopcf and FreeType, psfxtable, the C and C++ compilers. Every
// form must hold exactly the font file's whole glyphs at their codes.
#include "font_readers.h"
#include "run_tool.h"

#include <gtest/gtest.h>
#include <random>
#include <regex>

namespace {

const std::vector<std::string> DRAW = {DRAW_COMMAND};
const std::string SAMPLE_FONT = SAMPLE_DIR "/sample-font.bin";

struct FontCase {
    const char *name;
    std::string rows;
    int height;
    uint32_t first;
};

// Random fonts of several heights, first codes and glyph counts (the PSF
// is padded to 256 glyphs, to 512, or not at all), and the sample.
std::vector<FontCase> font_cases()
{
    std::mt19937 random(20261209);
    auto rows = [&](size_t n) {
        std::string r(n, '\0');
        for (char &c : r)
            c = static_cast<char>(random() % 64);
        return r;
    };
    return {
        {"the sample", read_file(SAMPLE_FONT), 8, 0x20},
        {"height 1 from 0, 300 glyphs", rows(300), 1, 0},
        {"height 13 from U+00A0, 600 glyphs", rows(13 * 600), 13, 0xA0},
        {"height 64, 3 glyphs up to U+10FFFF", rows(64 * 3), 64, 0x10FFFD},  // psfxtable takes 64 KiB at most
        {"height 16 past U+FFFF", rows(16 * 40), 16, 0x1F600},
    };
}

std::string glyph_rows(const FontCase &c, size_t glyph)
{
    return c.rows.substr(glyph * c.height, c.height);
}

class Forms : public ::testing::Test {
protected:
    Scratch dir;
    int draw(const FontCase &c, const std::string &out)
    {
        write_file(dir.path("font.bin"), c.rows);
        return run_tool(DRAW, {"font.bin", out, std::to_string(c.height), std::to_string(c.first)}, dir.root()).status;
    }
};

TEST_F(Forms, BdftopcfAndFreeTypeReadEveryGlyphExactly)
{
    for (const FontCase &c : font_cases()) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(draw(c, "font.bdf"), 0);
        std::string command = "bdftopcf -o '" + dir.path("font.pcf") + "' '" + dir.path("font.bdf") + "' 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0);
        long descent = freetype_cells(dir.path("font.bdf"), c.height, 0, 0).descent;
        SeenFont seen = freetype_cells(dir.path("font.bdf"), c.height, 0, -static_cast<int>(descent));
        ASSERT_EQ(seen.error, "");
        EXPECT_TRUE(seen.unicode);
        ASSERT_EQ(seen.glyphs.size(), c.rows.size() / c.height);
        for (size_t g = 0; g < seen.glyphs.size(); ++g)
            ASSERT_EQ(seen.glyphs[c.first + g], glyph_rows(c, g)) << "glyph " << g;
    }
}

struct DescentCase {
    const char *name;
    int height;
    std::map<char, int> lowest_ink;  // a glyph's code and its one row of ink
    long descent;
};

// The baseline is the most common lowest ink row of the digits and
// capitals the font holds; a tie goes to the lower row.
TEST_F(Forms, DescentIsBelowTheCommonestBaseline)
{
    const std::vector<DescentCase> cases = {
        {"no digits or capitals", 8, {{'a', 7}, {'g', 7}}, 0},
        {"capitals agree, a digit differs", 12, {{'A', 9}, {'B', 9}, {'7', 11}, {'j', 11}}, 2},
        {"a tie goes to the lower row", 8, {{'A', 5}, {'Z', 7}}, 0},
        {"digits alone", 10, {{'0', 6}, {'9', 6}, {'/', 9}}, 3},
        {"blank capitals don't count", 8, {{'A', -1}, {'B', -1}, {'C', 4}}, 3},
    };
    for (const DescentCase &d : cases) {
        SCOPED_TRACE(d.name);
        FontCase c = {d.name, std::string(d.height * 95, '\0'), d.height, 0x20};
        for (const auto &[code, row] : d.lowest_ink)
            if (row >= 0)
                c.rows[(code - 0x20) * d.height + row] = 0x3F;
        ASSERT_EQ(draw(c, "font.bdf"), 0);
        SeenFont seen = freetype_cells(dir.path("font.bdf"), d.height, 0, -static_cast<int>(d.descent));
        EXPECT_EQ(seen.descent, d.descent);
        for (const auto &[code, row] : d.lowest_ink)
            EXPECT_EQ(seen.glyphs[code], glyph_rows(c, code - 0x20));  // placed by that descent
    }
    FontCase sample = font_cases()[0];
    ASSERT_EQ(draw(sample, "sample.bdf"), 0);
    EXPECT_EQ(freetype_cells(dir.path("sample.bdf"), 8, 0, -1).descent, 1);  // g, j, p, q, y below
}

// The console's layout, as setfont loads it: 256 or 512 positions, a glyph
// whose code is below the count at its code, position 32 the space or
// blank (the console fills erased cells with it), every glyph at the
// position its table entry gives; past 512, code order and a line said.
TEST_F(Forms, PsfIsLaidOutForTheConsoleAndPsfxtableFindsEveryGlyph)
{
    std::vector<FontCase> cases = font_cases();
    cases.push_back({"512 from U+0021, no space", std::string(512, '\x01'), 1, 0x21});
    for (const FontCase &c : cases) {
        SCOPED_TRACE(c.name);
        write_file(dir.path("font.bin"), c.rows);
        ToolRun r = run_tool(DRAW, {"font.bin", "font.psf", std::to_string(c.height), std::to_string(c.first)},
                             dir.root());
        ASSERT_EQ(r.status, 0);
        std::vector<std::string> entries;
        SeenFont seen = psfxtable_cells(dir.path("font.psf"), &entries);
        ASSERT_EQ(seen.error, "");
        size_t glyphs = c.rows.size() / c.height;
        bool space = c.first <= 32 && 32 < c.first + glyphs;
        bool laid_out = glyphs + !space <= 512;
        size_t positions = glyphs + !space <= 256 ? 256 : laid_out ? 512 : glyphs;
        EXPECT_EQ(psf_header(read_file(dir.path("font.psf"))).count, positions);
        EXPECT_EQ(r.output, laid_out ? "" : "the console loads at most 512 glyphs; this PSF holds " +
                                                std::to_string(glyphs) + "." LINE_END);
        ASSERT_EQ(entries.size(), positions);
        ASSERT_EQ(seen.glyphs.size(), glyphs);
        for (size_t g = 0; g < glyphs; ++g)
            ASSERT_EQ(seen.glyphs[c.first + g], glyph_rows(c, g)) << "glyph " << g;
        if (!laid_out)
            continue;
        EXPECT_EQ(entries[32], space ? "U+0020" : "");
        for (size_t code = c.first; code < c.first + glyphs && code < positions; ++code)
            EXPECT_EQ(std::stoul(entries[code].substr(2), nullptr, 16), code);
    }
}

// Compiles the program with the written form and runs it; its output is
// what the array holds.
std::string compiled_bytes(const Scratch &dir, const std::string &compile)
{
    std::string program = dir.path("program");
    if (std::system((compile + " -o '" + program + "' 2>&1").c_str()) != 0)
        return "did not compile";
    std::system(("'" + program + "' > '" + program + ".out'").c_str());
    return read_file(program + ".out");
}

TEST_F(Forms, CompilersGiveTheFontFileBackAsCAndCpp)
{
    const std::string strict = " -Wall -Wextra -pedantic -Werror ";
    write_file(dir.path("include.c"),
               "#include <stdio.h>\n#include \"2font.h\"\n"
               "int main(void) { return fwrite(font_2font, 1, font_2font_count * font_2font_height, stdout) == 0; }\n");
    write_file(dir.path("extern.c"),
               "#include <stdio.h>\nextern const unsigned char my_font[];\n"
               "int main(void) { return fwrite(my_font, 1, SIZE, stdout) == 0; }\n");
    for (const FontCase &c : font_cases()) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(draw(c, "2font.h"), 0);
        ASSERT_EQ(draw(c, "my-font.c"), 0);
        std::string in = " '" + dir.path("include.c") + "' -I'" + dir.root() + "'";
        std::string size = " -DSIZE=" + std::to_string(c.rows.size());
        std::string apart = " '" + dir.path("extern.c") + "' '" + dir.path("my-font.c") + "'" + size;
        EXPECT_EQ(compiled_bytes(dir, C_COMPILER " -std=c99" + strict + in), c.rows);
        EXPECT_EQ(compiled_bytes(dir, CXX_COMPILER " -x c++ -std=c++17" + strict + in), c.rows);
        EXPECT_EQ(compiled_bytes(dir, C_COMPILER " -std=c99" + strict + apart), c.rows);
        EXPECT_EQ(compiled_bytes(dir, CXX_COMPILER " -x c++ -std=c++17" + strict + apart), c.rows);
    }
}

// Every row of C output is its byte and a drawing of that byte's six
// cells between "/* " and " */", as a reader of the header sees them.
TEST_F(Forms, EachCRowsCommentDrawsItsByte)
{
    const FontCase sample = font_cases()[0];
    for (const char *name : {"font.h", "font.c"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(draw(sample, name), 0);
        std::istringstream lines(read_file(dir.path(name)));
        size_t rows = 0;
        const std::regex row("    0x([0-9a-f]{2}), /\\* ([.*]{6}) \\*/");
        std::smatch m;
        for (std::string line; std::getline(lines, line);) {
            if (line.find("    0x") != 0)
                continue;
            ASSERT_TRUE(std::regex_match(line, m, row)) << line;
            int drawn = 0;
            for (char cell : m[2].str())
                drawn = drawn << 1 | (cell == '*');
            ASSERT_EQ(std::stoi(m[1], nullptr, 16), drawn) << line;
            ++rows;
        }
        EXPECT_EQ(rows, sample.rows.size());
    }
}

// An output named after a keyword of C or C++, `main`, a name the compiler
// defines, or one that would be a reserved identifier (a leading "_", a
// "__" anywhere) gets a name that C99 to C23 and C++20 compile, strictly,
// and that clang doesn't call reserved; the names made from it (its
// height, count) join it without a "__".
struct CName {
    std::string file, array, stem;  // the output's name, the array's, what "_height" follows
};

TEST_F(Forms, EveryOutputNameCompilesInCAndCpp)
{
    const std::vector<CName> names = {
        {"default", "default_", "default"}, {"int", "int_", "int"}, {"char", "char_", "char"},
        {"new", "new_", "new"}, {"class", "class_", "class"}, {"and", "and_", "and"}, {"not", "not_", "not"},
        {"main", "main_", "main"}, {"typeof", "typeof_", "typeof"}, {"_Bool", "Bool", "Bool"},
        {"linux", "linux_", "linux"}, {"__LINE__", "LINE_", "LINE"}, {"char8_t", "char8_t_", "char8_t"},
        {"9x-font", "font_9x_font", "font_9x_font"}, {"6x12-ter", "font_6x12_ter", "font_6x12_ter"},
        {"my--font", "my_font", "my_font"}, {"_under9", "under9", "under9"}, {"0", "font_0", "font_0"},
        {"ints", "ints", "ints"}};
    const FontCase sample = font_cases()[0];
    const std::string strict = " -Wall -Wextra -pedantic -Werror ";
    for (const CName &n : names) {
        const std::string &file = n.file;
        SCOPED_TRACE(file);
        ASSERT_EQ(draw(sample, file + ".h"), 0);
        ASSERT_EQ(draw(sample, file + ".c"), 0);
        write_file(dir.path("use.c"), "#include \"" + file + ".h\"\nint main(void) { return sizeof " + n.array +
                                          " != " + n.stem + "_count * " + n.stem + "_height; }\n");
        std::string use = " '" + dir.path("use.c") + "' -I'" + dir.root() + "' -o '" + dir.path("use") + "' 2>&1";
        std::string alone = " -c '" + dir.path(file + ".c") + "' -o '" + dir.path("alone.o") + "' 2>&1";
        for (const char *c : {" -std=c99", " -std=gnu11", " -std=c2x"}) {
            EXPECT_EQ(std::system((C_COMPILER + std::string(c) + strict + use).c_str()), 0) << c;
            EXPECT_EQ(std::system((C_COMPILER + std::string(c) + strict + alone).c_str()), 0) << c;
            EXPECT_EQ(std::system(("'" + dir.path("use") + "'").c_str()), 0);
        }
        EXPECT_EQ(std::system((CXX_COMPILER " -x c++ -std=c++20" + strict + use).c_str()), 0);
        EXPECT_EQ(std::system((CXX_COMPILER " -x c++ -std=c++20" + strict + alone).c_str()), 0);
        const std::string reserved = strict + "-Wreserved-identifier ";
        EXPECT_EQ(std::system((CLANG " -std=c2x" + reserved + use).c_str()), 0);
        EXPECT_EQ(std::system((CLANG " -std=c2x" + reserved + alone).c_str()), 0);
        EXPECT_EQ(std::system((CLANG " -x c++ -std=c++20" + reserved + use).c_str()), 0);
    }
}

}  // namespace
