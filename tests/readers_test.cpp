// The readers in-process, each font a byte string in memory: what it
// gives each code, or what is wrong with it, as the report says it. No
// file, no process: the whole table runs in milliseconds.
#include "fake_fixture.h"
#include "gzip_bytes.h"
#include "pcf_bytes.h"
#include "../readers/readers.h"

namespace {

// "A" a row of ink over a row with its first and last cell, on a cell 6 by
// 2; the space blank.
const std::string BDF =
    "STARTFONT 2.1\nFONTBOUNDINGBOX 6 2 0 0\nSTARTPROPERTIES 1\nCOPYRIGHT \"Public \"\"domain\"\"\"\n"
    "ENDPROPERTIES\nCHARS 2\nSTARTCHAR A\nENCODING 65\nBBX 6 2 0 0\nBITMAP\nFC\n84\nENDCHAR\n"
    "STARTCHAR space\nENCODING 32\nBBX 0 0 0 0\nBITMAP\nENDCHAR\nENDFONT\n";

// A PSF 2 of two glyphs, 8 wide and 2 high, "A" (glyph 0) and "B" at its
// table's codes.
std::string psf()
{
    std::string f;
    for (uint32_t field : {0x864AB572u, 0u, 32u, 1u, 2u, 2u, 2u, 8u})
        put32(f, field);
    return f + "\xfc\x84" "\x80\x80" "A\xff" "B\xff";
}

// A PCF of the one glyph "A", 6 by 2: bit 0 the leftmost, ink in cells 1
// to 6, then 1 and 6.
std::string pcf()
{
    return one_glyph_pcf(2, 0, 6, 2, 0, "\x3f\x21", 0x41, 0x41);
}

struct ReaderCase {
    const char *name;
    std::string font;
    uint32_t first, last;
    int status;
    std::string said;   // the report as the tool says it, "" for none
    std::string rows;   // the picked glyphs, where read
};

class Readers : public FakePlatform {};

TEST_F(Readers, EachFontKindFromMemory)
{
    const std::string A = "\x3f\x21", BLANK(2, '\0'), CRLF = "\r\n";
    const std::vector<ReaderCase> cases = {
        {"BDF", BDF, 0x41, 0x41, 0, "", A},
        {"BDF, the space and a code it lacks", BDF, 0x20, 0x21, 0, "", BLANK + BLANK},
        {"BDF in gzip", gzip(BDF), 0x41, 0x41, 0, "", A},
        {"PSF with its table", psf(), 0x41, 0x42, 0, "", A + std::string("\x20\x20", 2)},
        {"PSF in gzip", gzip(psf()), 0x41, 0x41, 0, "", A},
        {"PCF", pcf(), 0x41, 0x41, 0, "", A},
        {"PCF in gzip", gzip(pcf()), 0x40, 0x41, 0, "", BLANK + A},
        {"a BDF line that is wrong, by its line", BDF.substr(0, BDF.find("84\n")) + "8Z\n" + BDF.substr(BDF.find("84\n") + 3),
         0x41, 0x41, 7, "font:12: glyph U+0041 has a row that is not 2 hex digits." + CRLF, ""},
        {"a BDF without ENDFONT", BDF.substr(0, BDF.find("ENDFONT")), 0x41, 0x41, 7,
         "font:18: the font has no ENDFONT." + CRLF, ""},
        {"a PSF cut in its glyphs", psf().substr(0, 33), 0x41, 0x41, 7,
         "input file is a PSF font whose glyphs run past its end." + CRLF, ""},
        {"a PCF without bitmaps", pcf().substr(0, 40) + std::string(1, '\x80') + pcf().substr(41), 0x41, 0x41, 7,
         "input file is a PCF font without metrics, bitmaps or encodings." + CRLF, ""},
        {"a damaged gzip stream", gzip(BDF).substr(0, 20), 0x41, 0x41, 7,
         "input file is a damaged gzip stream: it ends inside." + CRLF, ""},
        {"a drawing", "A\n******\n", 0x41, 0x41, 7,
         "input file is a drawing, not a BDF, PSF or PCF font: glyphrow converts it." + CRLF, ""},
        {"nothing", "", 0x41, 0x41, 7, "input file is not a BDF, PSF or PCF font." + CRLF, ""},
    };
    for (const ReaderCase &c : cases) {
        SCOPED_TRACE(c.name);
        fake::reset();
        stdout_stream = Stream{GetStdHandle(STD_OUTPUT_HANDLE), 0, 0};
        Input in;
        ASSERT_TRUE(input_begin_bytes(in, "font", reinterpret_cast<const unsigned char *>(c.font.data()),
                                      static_cast<DWORD>(c.font.size())));
        Picked p;
        picked_begin_range(p, c.first, c.last);
        Report report = report_of(STATUS_DONE, nullptr);
        EXPECT_EQ(read_picked(in, p, report), c.status);
        EXPECT_EQ(report.status, c.status);
        say_report(&stdout_stream, report);
        EXPECT_EQ(fake::standard_output(), c.said);
        if (c.status == STATUS_DONE)
            EXPECT_EQ(std::string(reinterpret_cast<char *>(p.rows), p.count * p.height), c.rows);
        input_end(in);
        picked_end(p);
        EXPECT_EQ(fake::live_blocks(), 0);
        EXPECT_EQ(fake::calls(fake::READ_FILE), 0);  // bytes in memory: no platform read
    }
}

// The picked font holds its notices itself, as the source quoted them,
// once the input and its buffers are gone.
TEST_F(Readers, NoticesAreThePickedFontsOwn)
{
    Input in;
    ASSERT_TRUE(input_begin_bytes(in, "font", reinterpret_cast<const unsigned char *>(BDF.data()),
                                  static_cast<DWORD>(BDF.size())));
    Picked p;
    picked_begin_range(p, 0x41, 0x41);
    Report report = report_of(STATUS_DONE, nullptr);
    ASSERT_EQ(read_picked(in, p, report), STATUS_DONE);
    input_end(in);
    ASSERT_NE(p.copyright, nullptr);
    EXPECT_EQ(std::string(p.copyright), "\"Public \"\"domain\"\"\"");
    EXPECT_EQ(p.notice, nullptr);
    picked_end(p);
}

}  // namespace
