// glyphpick on fonts as Debian ships them, gzip-compressed, and X11's PCF,
// native tool: every glyph as FreeType renders the same file (FreeType reads
// PCF and gzip itself), every layout of PCF bitmaps that bdftopcf writes,
// the same output from .pcf.gz, .pcf, .bdf and .bdf.gz, and damaged gzip
// streams and malformed PCFs refused with what is wrong.
#include "font_readers.h"
#include "gzip_bytes.h"
#include "run_tool.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <regex>
#include <zlib.h>

namespace {

const std::vector<std::string> PICK = {PICK_COMMAND};
const std::string X11 = X11_FONTS;

// The cell as the BDF that pcf2bdf makes of the font gives it: height, x, y.
std::vector<int> cell_of(const Scratch &dir, const std::string &pcf, int *width = nullptr)
{
    std::string bdf = dir.path("cell.bdf");
    if (std::system(("pcf2bdf -o '" + bdf + "' '" + pcf + "'").c_str()) != 0)
        return {0, 0, 0};
    std::smatch m;
    std::string text = read_file(bdf).substr(0, 4096);
    std::regex_search(text, m, std::regex("FONTBOUNDINGBOX (-?\\d+) (-?\\d+) (-?\\d+) (-?\\d+)"));
    if (width)
        *width = std::stoi(m[1]);
    return {std::stoi(m[2]), std::stoi(m[3]), std::stoi(m[4])};
}

std::string read_file_gz(const std::string &path)
{
    std::string bytes;
    gzFile file = gzopen(path.c_str(), "rb");
    char buffer[65536];
    for (int n; file && (n = gzread(file, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, static_cast<size_t>(n));
    if (file)
        gzclose(file);
    return bytes;
}

std::string code_label(uint32_t code)
{
    char label[16];
    std::snprintf(label, sizeof label, "U+%04X", code);
    return label;
}

// Each glyph FreeType renders, at the Unicode code it has (an 8-bit
// encoding's codes translated, its control codes left out), equals the
// picked one; ink said cut exactly where FreeType's falls outside.
void expect_freetype_glyphs(const Scratch &dir, const std::string &font, const std::string &encoding)
{
    std::vector<int> cell = cell_of(dir, font);
    SeenFont seen = freetype_cells(font, cell[0], cell[1], cell[2]);
    ASSERT_EQ(seen.error, "");
    ToolRun r = run_tool(PICK, {font, "picked.bin", "0", "0x25FF"}, dir.root());
    ASSERT_LE(r.status, 8) << r.output;
    std::string picked = read_file(dir.path("picked.bin"));
    ASSERT_EQ(picked.size(), 0x2600u * cell[0]);
    bool translated = !seen.unicode && encoding != "ISO10646-1";
    size_t compared = 0;
    for (const auto &[code, rows] : seen.glyphs) {
        bool graphic = code >= 0x20 && !(code >= 0x7F && code < (encoding.find("KOI8") ? 0xA0u : 0x80u));
        uint32_t u = encoding == "ISO10646-1" ? code : !graphic ? 0 : translated ? unicode_of(encoding, code) : code;
        if (u == 0 || u >= 0x2600)
            continue;
        ++compared;
        EXPECT_EQ(picked.substr(u * cell[0], cell[0]), rows) << "code " << code;
        bool said = r.output.find(code_label(u) + " loses ink") != std::string::npos;
        EXPECT_EQ(said, seen.cut.count(code) != 0) << "code " << code;
    }
    EXPECT_GT(compared, 90u);
}

std::vector<std::string> six_wide_fonts(const Scratch &dir)
{
    std::vector<std::string> fonts;
    for (const std::string &name : package_files("xfonts-base", ".pcf.gz")) {
        int width = 99;
        if (cell_of(dir, X11 + "/" + name, &width)[0] && width <= 6)
            fonts.push_back(name);
    }
    return fonts;
}

TEST(PickCompressed, EverySixWidePcfOfXfontsBaseIsWhatFreeTypeRenders)
{
    Scratch dir;
    std::vector<std::string> fonts = six_wide_fonts(dir);
    ASSERT_GE(fonts.size(), 100u);
    std::smatch m;
    for (const std::string &name : fonts) {
        SCOPED_TRACE(name);
        std::string encoding = std::regex_search(name, m, std::regex("-(ISO8859-[0-9]+|KOI8-R)\\.pcf")) ? m[1].str() : "ISO10646-1";
        expect_freetype_glyphs(dir, X11 + "/" + name, encoding);
    }
}

// bdftopcf's layouts of the bitmaps: every padding, scan unit, bit order
// and byte order, read as FreeType reads each.
TEST(PickCompressed, EveryBitmapLayoutOfPcfIsReadAsFreeTypeReadsIt)
{
    Scratch dir;
    std::string bdf = dir.path("6x13.bdf");
    ASSERT_EQ(std::system(("pcf2bdf -o '" + bdf + "' " X11_FONTS "/6x13.pcf.gz").c_str()), 0);
    for (const char *pad : {"-p1", "-p2", "-p4", "-p8"})
        for (const char *unit : {"-u1", "-u2", "-u4"})
            for (const char *bits : {"-m", "-l"})
                for (const char *bytes : {"-M", "-L"}) {
                    std::string options = std::string(pad) + " " + unit + " " + bits + " " + bytes;
                    SCOPED_TRACE(options);
                    ASSERT_EQ(std::system(("bdftopcf " + options + " -o '" + dir.path("v.pcf") + "' '" + bdf + "'").c_str()), 0);
                    expect_freetype_glyphs(dir, dir.path("v.pcf"), "ISO10646-1");
                }
}

// The same font as .pcf.gz, .pcf, .bdf (pcf2bdf's), .bdf.gz (stored, fixed
// and dynamic blocks, two members): the same bytes in every form, and the
// same messages.
TEST(PickCompressed, PcfAndBdfCompressedOrNotGiveTheSameOutputInEveryForm)
{
    Scratch dir;
    for (const char *name : {"6x13", "5x8-ISO8859-2", "4x6-KOI8-R"}) {
        SCOPED_TRACE(name);
        std::string pcf = read_file_gz(X11 + "/" + name + ".pcf.gz");
        write_file(dir.path("font.pcf"), pcf);
        ASSERT_EQ(std::system(("pcf2bdf -o '" + dir.path("font.bdf") + "' '" + dir.path("font.pcf") + "'").c_str()), 0);
        std::string bdf = read_file(dir.path("font.bdf"));
        write_file(dir.path("stored.bdf.gz"), gzip(bdf, 0));
        write_file(dir.path("fixed.bdf.gz"), gzip(bdf.substr(0, 1000), 1) + gzip(bdf.substr(1000), 9));
        std::vector<std::string> sources = {X11 + "/" + name + ".pcf.gz", "font.pcf", "font.bdf", "stored.bdf.gz",
                                            "fixed.bdf.gz"};
        for (const char *form : {"out.txt", "out.png", "out.bdf", "out.psf", "out.h", "out.c", "out.bin"}) {
            ToolRun first = run_tool(PICK, {sources[0], form, "0", "0x4FF"}, dir.root());
            std::string bytes = read_file(dir.path(form));
            EXPECT_LE(first.status, 8);
            for (size_t s = 1; s < sources.size(); ++s) {
                ToolRun r = run_tool(PICK, {sources[s], form, "0", "0x4FF"}, dir.root());
                EXPECT_EQ(r.status, first.status) << sources[s] << " " << form;
                EXPECT_EQ(r.output, first.output) << sources[s] << " " << form;
                EXPECT_EQ(read_file(dir.path(form)), bytes) << sources[s] << " " << form;
            }
        }
    }
}

// The console fonts 6 wide of console-setup-linux, straight from their
// .psf.gz: the rows at the offsets the PSF header gives, at the codes
// psfxtable lists.
TEST(PickCompressed, EverySixWideConsoleFontAsPsfxtableListsIt)
{
    Scratch dir;
    int fonts = 0;
    for (const std::string &name : package_files("console-setup-linux", "x6.psf.gz")) {
        SCOPED_TRACE(name);
        ++fonts;
        std::string path = std::string(CONSOLE_FONTS) + "/" + name;
        write_file(dir.path("font.psf"), read_file_gz(path));
        SeenFont seen = psfxtable_cells(dir.path("font.psf"));
        ASSERT_EQ(seen.error, "");
        uint32_t height = psf_header(read_file(dir.path("font.psf"))).height;
        ToolRun r = run_tool(PICK, {path, "picked.bin", "0", "0x25FF"}, dir.root());
        ASSERT_EQ(r.status, seen.cut.empty() ? 0 : 8) << r.output;
        std::string picked = read_file(dir.path("picked.bin"));
        for (const auto &[code, rows] : seen.glyphs)
            if (code < 0x2600)
                EXPECT_EQ(picked.substr(code * height, height), rows) << "code " << code;
    }
    EXPECT_GE(fonts, 5);
}

// A gzip stream's bits, low first, as deflate packs them.
struct Bits {
    std::string bytes;
    int used = 8;
    void put(uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i, ++used) {
            if (used == 8)
                bytes += '\0', used = 0;
            bytes.back() = static_cast<char>(bytes.back() | ((value >> i & 1) << used));
        }
    }
    // A Huffman code goes most significant bit first.
    void code(uint32_t value, int count)
    {
        for (int i = count - 1; i >= 0; --i)
            put(value >> i & 1, 1);
    }
};

std::string member(const std::string &deflate)
{
    return std::string("\x1f\x8b\x08\0\0\0\0\0\0\x03", 10) + deflate + std::string(8, '\0');
}

std::string with(std::string bytes, size_t at, const std::string &put)
{
    return bytes.replace(at, put.size(), put);
}

std::string le(uint32_t value)
{
    return std::string{static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
                       static_cast<char>(value >> 24)};
}

// A number as a table of Debian's PCFs holds it, the high byte first.
std::string be(uint32_t value, int bytes)
{
    std::string b;
    for (int i = bytes - 1; i >= 0; --i)
        b += static_cast<char>(value >> (8 * i));
    return b;
}

// A table of a PCF's table of contents: its entry's offset in the file.
size_t toc_entry(const std::string &pcf, uint32_t type)
{
    for (uint32_t i = 0; i < le32(pcf, 4); ++i)
        if (le32(pcf, 8 + 16 * i) == type)
            return 8 + 16 * i;
    return 0;
}

TEST(PickCompressed, DamagedGzipAndMalformedPcfAreRefusedWithWhatIsWrong)
{
    Scratch dir;
    const std::string good = gzip(read_file_gz(X11 + "/4x6.pcf.gz"));
    const size_t end = good.size();
    Bits block3, distance, no_code;
    block3.put(1, 1), block3.put(3, 2);
    distance.put(1, 1), distance.put(1, 2), distance.code(1, 7), distance.code(0, 5);  // length 3, distance 1, first
    no_code.put(1, 1), no_code.put(1, 2), no_code.code(0xC6, 8);                       // literal/length 286
    const std::string pcf = read_file_gz(X11 + "/6x13.pcf.gz");
    size_t bitmaps = le32(pcf, toc_entry(pcf, 8) + 12), metrics = toc_entry(pcf, 4);
    size_t properties = le32(pcf, toc_entry(pcf, 1) + 12), accelerators = le32(pcf, toc_entry(pcf, 2) + 12);
    size_t encodings = le32(pcf, toc_entry(pcf, 0x20) + 12), metrics_table = le32(pcf, metrics + 12);
    const std::string DAMAGED = "input file is a damaged gzip stream: ", PCF = "input file is a PCF font ";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {good.substr(0, end - 8), DAMAGED + "it ends inside."},
        {good.substr(0, end / 2), DAMAGED + "it ends inside."},
        {with(good, end - 8, le(le32(good, end - 8) ^ 1)), DAMAGED + "its CRC-32 doesn't match."},
        {with(good, end - 4, le(le32(good, end - 4) + 1)), DAMAGED + "its length doesn't match."},
        {good + "\n", DAMAGED + "bytes after its last member."},
        {good + good.substr(0, 1), DAMAGED + "it ends inside."},
        {member(block3.bytes), DAMAGED + "a block type that doesn't exist."},
        {member(distance.bytes), DAMAGED + "a distance before the start."},
        {member(no_code.bytes), DAMAGED + "a code that doesn't exist."},
        {with(good, 2, "\x07"), DAMAGED + "a header that isn't gzip's."},
        {with(pcf, 4, le(0x10000000)), PCF + "whose table of contents runs past its end."},
        {with(pcf, metrics + 12, le(static_cast<uint32_t>(pcf.size()))), PCF + "whose tables run past its end."},
        {with(pcf, bitmaps + 4, le(0x7FFFFFFF)), PCF + "whose counts or offsets don't fit."},
        {with(pcf, bitmaps + 8 + 4 * 65, std::string("\x7f\xff\xff\xff", 4)),
         PCF + "whose glyph bitmaps lie outside its bitmap table."},
        {with(pcf, bitmaps, le(0x40E)), PCF + "in a format this reader doesn't know."},
        {with(pcf, toc_entry(pcf, 8), le(0x400)), PCF + "without metrics, bitmaps or encodings."},
        {gzip(with(pcf, toc_entry(pcf, 8), le(0x400))), PCF + "without metrics, bitmaps or encodings."},
        // The metrics' size runs into the bitmaps that follow them.
        {with(pcf, metrics + 8, le(le32(pcf, metrics + 8) + 16)), PCF + "whose tables overlap."},
        // A property's name, then its value, past the strings.
        {with(pcf, properties + 8, be(0x7FFFFFFF, 4)), PCF + "whose counts or offsets don't fit."},
        {with(pcf, properties + 8 + 5, be(0x7FFFFFFF, 4)), PCF + "whose counts or offsets don't fit."},
        // A second byte's range past 0xFF, which would put two codes on one.
        {with(pcf, encodings + 6, be(0x1FF, 2)), PCF + "whose counts or offsets don't fit."},
        // The cell's bounds of no height, and a glyph whose right bearing is left of its left.
        {with(pcf, accelerators + 4 + 8 + 12 + 12 + 6, be(0, 2) + be(0, 2)), PCF + "whose cell has no rows."},
        {with(pcf, metrics_table + 6 + 1, std::string("\x7f", 1)), PCF + "whose glyph metrics are negative."},
    };
    for (const auto &[input, message] : cases) {
        SCOPED_TRACE(message);
        write_file(dir.path("input"), input);
        write_file(dir.path("out.bin"), "old");
        ToolRun r = run_tool(PICK, {"input", "out.bin", "0x41", "0x41"}, dir.root());
        EXPECT_EQ(r.status, 7);
        EXPECT_EQ(r.output, message + LINE_END);
        EXPECT_EQ(read_file(dir.path("out.bin")), "old");
    }
}

// A gzip bomb: 257 MiB of zeros in about 260 KB is refused before memory
// fills, with the output untouched.
TEST(PickCompressed, AnInputThatInflatesPast256MiBIsRefused)
{
    Scratch dir;
    std::string psf = std::string("\x72\xb5\x4a\x86\0\0\0\0\x20\0\0\0\0\0\0\0", 16) + le(257u << 20) + le(1) + le(1) + le(6);
    write_file(dir.path("bomb.gz"), gzip(psf + std::string(257u << 20, '\0')));
    write_file(dir.path("out.bin"), "old");
    ToolRun r = run_tool(PICK, {"bomb.gz", "out.bin", "0", "0"}, dir.root());
    EXPECT_EQ(r.status, 7);
    EXPECT_EQ(r.output, "input file inflates past 256 MiB: refused." LINE_END);
    EXPECT_EQ(read_file(dir.path("out.bin")), "old");
}

}  // namespace
