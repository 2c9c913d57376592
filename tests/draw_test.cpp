// glyphdraw over the fake platform: the drawing's exact text, the
// arguments, every status with its message, what is left untouched, and
// what the drawing costs in platform calls.
#include "fake_fixture.h"
#include "../draw/draw.h"

using fake::READ_FILE;
using fake::WRITE_FILE;

namespace {

const std::string CRLF = "\r\n";
const std::string USAGE = "usage>glyphdraw font.bin drawing.txt [height [first]]" + CRLF;

class DrawTest : public FakePlatform {
protected:
    int draw(std::vector<std::string> args)
    {
        args.insert(args.begin(), "glyphdraw");
        return run_main(draw_main, args);
    }
};

struct DrawingCase {
    const char *name;
    std::string font;
    std::vector<std::string> layout;  // height and first, as typed
    std::string drawing;
};

TEST_F(DrawTest, DrawsLabelsAndRows)
{
    const std::vector<DrawingCase> cases = {
        {"defaults: height 8 from space", std::string(8, '\0') + "\x3f",
         {}, "U+0020\n......\n......\n......\n......\n......\n......\n......\n......\nU+0021 !\n******\n"},
        {"height 1, first in hex", "\x21\x1e\x0a", {"1", "0x41"}, "U+0041 A\n*....*\nU+0042 B\n.****.\nU+0043 C\n..*.*.\n"},
        {"last shown and first not", "\x01\x20", {"1", "126"}, "U+007E ~\n.....*\nU+007F\n*.....\n"},
        {"control codes show no character", "\x3f", {"1", "0"}, "U+0000\n******\n"},
        {"codes run past the last code point", "\x01\x02", {"1", "0X10FFFF"}, "U+10FFFF\n.....*\nno code\n....*.\n"},
        {"partial glyph drawn with its rows", "\x3f\x3f\x3f", {"2", "0x20"}, "U+0020\n******\n******\nU+0021 !\n******\n"},
        {"empty font, empty drawing", "", {}, ""},
    };
    for (const DrawingCase &c : cases) {
        SCOPED_TRACE(c.name);
        fake::put_file("font.bin", c.font);
        std::vector<std::string> args = {"font.bin", "out.txt"};
        args.insert(args.end(), c.layout.begin(), c.layout.end());
        int status = draw(args);
        EXPECT_EQ(status, c.font.size() % (c.layout.empty() ? 8 : std::stoul(c.layout[0])) ? 8 : 0);
        EXPECT_EQ(fake::file("out.txt"), c.drawing);
        EXPECT_EQ(fake::open_handles(), 0);
        EXPECT_EQ(fake::live_blocks(), 0);
    }
}

struct StatusCase {
    const char *name;
    std::vector<std::string> args;
    std::string font;  // the bytes of font.bin; "-" for no such file
    int status;
    std::string output;
    bool drawing_kept;  // out.txt holds "old" afterwards
};

TEST_F(DrawTest, StatusesMessagesAndWhatIsLeftUntouched)
{
    const std::string PARTIAL = "input file ends inside a glyph: check the height." + CRLF;
    auto HEIGHT = [](const std::string &typed) { return "height: \"" + typed + "\" is not a number from 1 to 255." + CRLF; };
    auto FIRST = [](const std::string &typed) { return "first: \"" + typed + "\" is not a code from 0 to 0x10FFFF." + CRLF; };
    const std::vector<StatusCase> cases = {
        {"one argument", {"font.bin"}, "\x3f", 1, USAGE, true},
        {"height 0", {"font.bin", "out.txt", "0"}, "\x3f", 1, HEIGHT("0") + USAGE, true},
        {"height 256", {"font.bin", "out.txt", "256"}, "\x3f", 1, HEIGHT("256") + USAGE, true},
        {"height in hex", {"font.bin", "out.txt", "0x1"}, "\x3f", 0, "", false},
        {"height with a sign", {"font.bin", "out.txt", "+8"}, "\x3f", 1, HEIGHT("+8") + USAGE, true},
        {"height with a blank", {"font.bin", "out.txt", "8 "}, "\x3f", 1, HEIGHT("8 ") + USAGE, true},
        {"height that would wrap", {"font.bin", "out.txt", "4294967304"}, "\x3f", 1, HEIGHT("4294967304") + USAGE, true},
        {"empty height", {"font.bin", "out.txt", ""}, "\x3f", 1, HEIGHT("") + USAGE, true},
        {"first past the last code", {"font.bin", "out.txt", "1", "0x110000"}, "\x3f", 1, FIRST("0x110000") + USAGE, true},
        {"first of a bare 0x", {"font.bin", "out.txt", "1", "0x"}, "\x3f", 1, FIRST("0x") + USAGE, true},
        {"first of seven hex digits", {"font.bin", "out.txt", "1", "U+0000041"}, "\x3f", 1, FIRST("U+0000041") + USAGE, true},
        {"first as U+", {"font.bin", "out.txt", "1", "u+41"}, "\x3f", 0, "", false},
        {"first not a number", {"font.bin", "out.txt", "1", "A"}, "\x3f", 1, FIRST("A") + USAGE, true},
        {"missing font", {"none.bin", "out.txt"}, "-", 2, "can't open input file none.bin: no such file." + CRLF, true},
        {"byte above 63", {"font.bin", "out.txt", "1"}, "\x3f\x40", 7,
         "input file is not a glyph-row font: a byte is above 63." + CRLF, true},
        {"byte 255", {"font.bin", "out.txt", "1"}, "\xff", 7,
         "input file is not a glyph-row font: a byte is above 63." + CRLF, true},
        {"same file as font and drawing", {"font.bin", "font.bin", "1"}, "\x3f", 3,
         "can't open output file font.bin: in use." + CRLF, true},
        {"ends inside a glyph", {"font.bin", "out.txt", "2"}, "\x3f", 8, PARTIAL, false},
        {"extra arguments ignored", {"font.bin", "out.txt", "1", "32", "more"}, "\x3f", 0, "", false},
    };
    for (const StatusCase &c : cases) {
        SCOPED_TRACE(c.name);
        fake::reset();
        stdout_stream.handle = GetStdHandle(STD_OUTPUT_HANDLE);
        if (c.font != "-")
            fake::put_file("font.bin", c.font);
        fake::put_file("out.txt", "old");
        EXPECT_EQ(draw(c.args), c.status);
        EXPECT_EQ(fake::standard_output(), c.output);
        EXPECT_EQ(fake::file("out.txt") == "old", c.drawing_kept);
        if (c.font != "-")
            EXPECT_EQ(fake::file("font.bin"), c.font);
        EXPECT_EQ(fake::open_handles(), 0);
        EXPECT_EQ(fake::live_blocks(), 0);
    }
}

struct FaultCase {
    const char *name;
    fake::Call call;
    int nth;
    const char *drawing;
    int status;
    std::string output;
};

// Font "\x3f\x21", height 1: ReadFile 1 takes the font and 2 finds its
// end; WriteFile 1 writes the whole drawing; HeapAlloc 1 is the font's
// stream, 2 the block its rows are read into.
TEST_F(DrawTest, FailuresAreNeverReportedAsSuccess)
{
    const std::string CANT_READ = "can't read input file." + CRLF;
    const std::string CANT_WRITE = "can't write output file." + CRLF;
    const std::vector<FaultCase> cases = {
        {"read of the font", READ_FILE, 1, "out.txt", 5, CANT_READ},
        {"read that finds the end", READ_FILE, 2, "out.bdf", 5, CANT_READ},
        {"drawing", WRITE_FILE, 1, "out.txt", 4, CANT_WRITE},
        {"drawing's close", fake::CLOSE_HANDLE, 2, "out.txt", 4, CANT_WRITE},
        {"sheet header", WRITE_FILE, 1, "out.PNG", 4, CANT_WRITE},
        {"BDF", WRITE_FILE, 1, "out.bdf", 4, CANT_WRITE},
        {"no block for the rows", fake::HEAP_ALLOC, 2, "out.psf", 6, ""},
    };
    for (const FaultCase &c : cases) {
        SCOPED_TRACE(c.name);
        fake::reset();
        stdout_stream.handle = GetStdHandle(STD_OUTPUT_HANDLE);
        fake::put_file("font.bin", "\x3f\x21");
        fake::put_file(c.drawing, "old");
        fake::fail_call(c.call, c.nth);
        EXPECT_EQ(draw({"font.bin", c.drawing, "1"}), c.status);
        EXPECT_EQ(fake::standard_output(), c.output);
        EXPECT_EQ(fake::open_handles(), 0);
        EXPECT_EQ(fake::live_blocks(), c.call == fake::CLOSE_HANDLE);  // a failed close keeps its record
        EXPECT_EQ(fake::writes_to("font.bin"), 0);
        if (c.status != 4)
            EXPECT_EQ(fake::file(c.drawing), "old");
    }
}

// Reading and writing go in blocks, never a platform call a byte or a line.
TEST_F(DrawTest, ReadsAndWritesInBlocks)
{
    const std::string font(100000, '\x21');
    fake::put_file("font.bin", font);
    for (const char *name : {"out.txt", "out.bdf", "out.psf", "out.h"}) {
        SCOPED_TRACE(name);
        int reads = fake::calls(READ_FILE), writes = fake::calls(WRITE_FILE);
        EXPECT_EQ(draw({"font.bin", name, "10", "0"}), STATUS_DONE);
        std::string written = fake::file(name);
        EXPECT_LE(fake::calls(READ_FILE) - reads, 8);  // 4 KiB, doubled as needed
        EXPECT_LE(fake::calls(WRITE_FILE) - writes, static_cast<int>(written.size() / 1000 + 1));
    }
}

}  // namespace
