// Hostile fonts: the readers' work follows what lands in the cell, never
// what a font's header or boxes claim. Each of these ran for hours, or
// until memory ran out, before; each case also says what the output holds.
// (No time is asserted: a reader that goes back to visiting every pixel
// of every code's box doesn't finish within the suite's time-out.)
#include "gzip_bytes.h"
#include "pcf_bytes.h"
#include "run_tool.h"
#include "scratch.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> DRAW = {DRAW_COMMAND};
const std::vector<std::string> PICK = {PICK_COMMAND};
const std::vector<std::string> SHOW = {SHOW_COMMAND};

// A PCF of a 6 by 13 cell (descent 2) whose codes 0x20 to 0x7E all have
// one glyph of width by height pixels, its top at the cell's: ink at its
// top left corner, inside the cell, and one pixel far outside it.
std::string huge_glyph_pcf(uint32_t width, uint32_t height)
{
    uint32_t row_bytes = (width + 7) / 8;
    std::string data(row_bytes * height, '\0');
    data[0] = 1;                                            // row 0, column 0: bit 0, first bit
    data[(height / 2) * row_bytes + row_bytes / 2] = 1;     // far outside the cell
    return one_glyph_pcf(11, 2, static_cast<int>(width), 11, static_cast<int>(height) - 11, data, 0x20, 0x7E);
}

// A PSF 2 of one glyph, 255 rows of width pixels, whose table gives it to
// every code of the Basic Multilingual Plane but the surrogates: ink in
// its first cell's top row, and far outside the cell.
std::string every_code_psf(uint32_t width)
{
    uint32_t row_size = (width + 7) / 8, height = 255;
    std::string psf;
    for (uint32_t field : {0x864AB572u, 0u, 32u, 1u, 1u, row_size * height, height, width})
        put32(psf, field);
    std::string glyph(row_size * height, '\0');
    glyph[0] = '\x80';
    glyph[100 * row_size + row_size / 2] = 1;
    psf += glyph;
    for (uint32_t code = 1; code <= 0xFFFF; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF)
            continue;
        if (code < 0x80) {
            psf += static_cast<char>(code);
        } else if (code < 0x800) {
            psf += static_cast<char>(0xC0 | code >> 6), psf += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            psf += static_cast<char>(0xE0 | code >> 12), psf += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            psf += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    psf += '\xFF';
    return psf;
}

TEST(Hostile, ReadersWorkOnlyOnWhatLandsInTheCell)
{
    Scratch dir;
    {
        SCOPED_TRACE("a PCF whose 95 codes share one 16000 by 12000 glyph");
        write_file(dir.path("huge.pcf.gz"), gzip(huge_glyph_pcf(16000, 12000)));
        ToolRun r = run_tool(PICK, {"huge.pcf.gz", "out.bin"}, dir.root());
        EXPECT_EQ(r.status, 8);
        EXPECT_EQ(r.output, "U+0020 to U+007E lose ink outside the 6 by 13 cell." LINE_END);
        std::string glyph(13, '\0');
        glyph[0] = '\x20';
        std::string expected;
        for (int code = 0x20; code <= 0x7E; ++code)
            expected += glyph;
        EXPECT_EQ(read_file(dir.path("out.bin")), expected);
    }
    {
        SCOPED_TRACE("a PSF that gives one wide 255-row glyph to every code, drawn by glyphshow");
        write_file(dir.path("every.psf"), every_code_psf(8000));
        ToolRun r = run_tool(SHOW, {"every.psf", "\x01\xEF\xBF\xBD", "out.txt"}, dir.root(), Output::captured, 0,
                             "/dev/null");  // its messages go to standard error
        EXPECT_EQ(r.status, 8);
        EXPECT_EQ(r.errors, "U+0001 loses ink outside the 6 by 255 cell." LINE_END
                            "U+FFFD loses ink outside the 6 by 255 cell." LINE_END);
        EXPECT_EQ(read_file(dir.path("out.txt")).substr(0, 9), "#     #\n\n");
    }
}

TEST(Hostile, WhatWouldTakeAllMemoryIsRefusedWithALine)
{
    Scratch dir;
    {
        SCOPED_TRACE("an endless input read as a glyph-row font");
        ToolRun r = run_tool(DRAW, {"/dev/zero", "out.txt"}, dir.root());
        EXPECT_EQ(r.status, 7);
        EXPECT_EQ(r.output, "input file is larger than any glyph-row font (271 MiB): refused." LINE_END);
        EXPECT_FALSE(file_exists(dir.path("out.txt")));
    }
    {
        SCOPED_TRACE("an image of 4,000 characters over 4,000 lines");
        write_file(dir.path("font.bin"), std::string(8 * 96, '\x3f'));
        std::string text = std::string(4000, 'A') + std::string(3999, '\n') + "A";
        ToolRun r = run_tool(SHOW, {"font.bin", text, "out.png"}, dir.root(), Output::captured, 0, "/dev/null");
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.errors, "the image would be 96008 by 128008 pixels, past 100 million: nothing is written." LINE_END);
        EXPECT_FALSE(file_exists(dir.path("out.png")));
    }
}

}  // namespace
