#include "fake_fixture.h"
#include "../platform/block.h"

#include <vector>

using fake::CREATE_FILE;
using fake::READ_FILE;
using fake::SET_FILE_POINTER;
using fake::WRITE_FILE;

namespace {

class StreamTest : public FakePlatform {};

struct ModeCase {
    const char *mode;
    bool opens;
    DWORD access;
    DWORD disposition;
    bool binary;
};

TEST_F(StreamTest, ModeStringsChooseAccessDispositionAndBinary)
{
    const DWORD RW = GENERIC_READ | GENERIC_WRITE;
    const std::vector<ModeCase> cases = {
        {"r", true, GENERIC_READ, OPEN_EXISTING, false},
        {"rb", true, GENERIC_READ, OPEN_EXISTING, true},
        {"r+", true, RW, OPEN_EXISTING, false},
        {"rb+", true, RW, OPEN_EXISTING, true},
        {"rtx", true, GENERIC_READ, OPEN_EXISTING, false},
        {"w", true, GENERIC_WRITE, CREATE_ALWAYS, false},
        {"wb", true, GENERIC_WRITE, CREATE_ALWAYS, true},
        {"w+b", true, RW, CREATE_ALWAYS, true},
        {"a", true, GENERIC_WRITE, OPEN_ALWAYS, false},
        {"a+", true, RW, OPEN_ALWAYS, false},
        {"wB", true, GENERIC_WRITE, CREATE_ALWAYS, false},
    };
    for (const ModeCase &c : cases) {
        SCOPED_TRACE(c.mode);
        fake::reset();
        fake::put_file("f", "data");
        Stream *s = stream_open("f", c.mode);
        ASSERT_NE(s, nullptr);
        auto created = fake::create_calls();
        ASSERT_EQ(created.size(), 1u);
        EXPECT_EQ(created[0].name, "f");
        EXPECT_EQ(created[0].access, c.access);
        EXPECT_EQ(created[0].disposition, c.disposition);
        // Shared for reading only where nothing is written.
        EXPECT_EQ(created[0].share, c.access == GENERIC_READ ? (DWORD)FILE_SHARE_READ : 0u);
        EXPECT_EQ(created[0].attributes, (DWORD)FILE_ATTRIBUTE_NORMAL);
        EXPECT_TRUE(created[0].no_security && created[0].no_template);
        EXPECT_EQ(s->flags, c.binary ? (DWORD)STREAM_BINARY : 0u);
        EXPECT_EQ(stream_close(s), 0);
        EXPECT_EQ(fake::live_blocks(), 0);
    }
}

TEST_F(StreamTest, UnknownModesFailWithoutTryingToOpen)
{
    for (const char *mode : {"R", "", "x", "br", "+w"}) {
        SCOPED_TRACE(mode);
        fake::put_file("f", "data");
        EXPECT_EQ(stream_open("f", mode), nullptr);
        EXPECT_EQ(fake::calls(CREATE_FILE), 0);
        EXPECT_EQ(fake::live_blocks(), 0);
    }
}

TEST_F(StreamTest, DispositionsTreatExistingAndMissingFiles)
{
    EXPECT_EQ(stream_open("missing", "rb"), nullptr);
    EXPECT_FALSE(fake::has_file("missing"));
    EXPECT_EQ(fake::live_blocks(), 0);

    fake::put_file("old", "contents");
    Stream *w = stream_open("old", "w");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(fake::file("old"), "");
    stream_close(w);

    Stream *created = stream_open("new", "a");
    ASSERT_NE(created, nullptr);
    EXPECT_TRUE(fake::has_file("new"));
    stream_close(created);

    fake::put_file("log", "abc");
    Stream *a = stream_open("log", "ab");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(fake::calls(SET_FILE_POINTER), 2);
    stream_putc('d', a);
    stream_close(a);
    EXPECT_EQ(fake::file("log"), "abcd");
}

TEST_F(StreamTest, FailedOpensReleaseEverything)
{
    fake::put_file("f", "x");
    fake::fail_call(SET_FILE_POINTER, 1);
    EXPECT_EQ(stream_open("f", "a"), nullptr);
    EXPECT_EQ(fake::open_handles(), 0);  // the file isn't left held
    EXPECT_EQ(fake::live_blocks(), 0);

    fake::fail_call(fake::HEAP_ALLOC, fake::calls(fake::HEAP_ALLOC) + 1);
    EXPECT_EQ(stream_open("f", "rb"), nullptr);
    EXPECT_EQ(fake::calls(CREATE_FILE), 1);  // only the "a" attempt above

    fake::fail_call(CREATE_FILE, 2);
    EXPECT_EQ(stream_open("f", "rb"), nullptr);
    EXPECT_EQ(fake::live_blocks(), 0);
}

TEST_F(StreamTest, OneReadFilePerByteAndNoneOnceEnded)
{
    fake::put_file("f", "abc");
    Stream *s = stream_open("f", "rb");
    EXPECT_EQ(stream_getc(s), 'a');
    EXPECT_EQ(fake::calls(READ_FILE), 1);
    EXPECT_EQ(stream_getc(s), 'b');
    EXPECT_EQ(stream_getc(s), 'c');
    EXPECT_EQ(fake::calls(READ_FILE), 3);
    EXPECT_EQ(stream_getc(s), STREAM_EOF);
    EXPECT_EQ(fake::calls(READ_FILE), 4);
    EXPECT_EQ(s->flags & STREAM_END, (DWORD)STREAM_END);
    EXPECT_EQ(stream_getc(s), STREAM_EOF);
    EXPECT_EQ(stream_at_end(s), 1);
    char buffer[4];
    EXPECT_EQ(stream_read(buffer, 1, 4, s), 0u);
    EXPECT_EQ(fake::calls(READ_FILE), 4);
    EXPECT_EQ(stream_error(s), 0);
    stream_close(s);
}

TEST_F(StreamTest, LookaheadByteIsHandedOutWithoutAPlatformCall)
{
    fake::put_file("f", "\xff");
    Stream *s = stream_open("f", "rb");
    EXPECT_EQ(stream_at_end(s), 0);
    EXPECT_EQ(stream_at_end(s), 0);  // a held byte answers at once
    EXPECT_EQ(fake::calls(READ_FILE), 1);
    EXPECT_EQ(stream_getc(s), 0xFF);  // a byte, never confused with -1
    EXPECT_EQ(fake::calls(READ_FILE), 1);
    EXPECT_EQ(stream_at_end(s), 1);
    EXPECT_EQ(fake::calls(READ_FILE), 2);
    EXPECT_EQ(stream_at_end(s), 1);
    EXPECT_EQ(fake::calls(READ_FILE), 2);
    stream_close(s);
}

TEST_F(StreamTest, EmptyFileIsAtEndAtOnce)
{
    fake::put_file("f", "");
    Stream *s = stream_open("f", "rb");
    EXPECT_EQ(stream_at_end(s), 1);
    char buffer[12] = "xxxxxxxxxxx";
    EXPECT_EQ(stream_gets(buffer, 12, s), nullptr);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[1], 'x');
    stream_close(s);
}

struct ReadCase {
    const char *name;
    std::string contents;
    const char *mode;
    std::string delivered;
    int read_calls;  // including the one that finds the end
};

TEST_F(StreamTest, TextModeDropsEveryCarriageReturnOneCallPerByte)
{
    const std::vector<ReadCase> cases = {
        {"crcrlf text", "a\r\r\nb", "r", "a\nb", 6},
        {"crcrlf binary", "a\r\r\nb", "rb", "a\r\r\nb", 6},
        {"lone cr text", "x\ry", "r", "xy", 4},
        {"trailing crs", "z\r\r", "r", "z", 4},
        {"only crs", "\r\r\r", "r", "", 4},
        {"empty", "", "r", "", 1},
    };
    for (const ReadCase &c : cases) {
        SCOPED_TRACE(c.name);
        fake::reset();
        fake::put_file("f", c.contents);
        Stream *s = stream_open("f", c.mode);
        EXPECT_EQ(drain(s), c.delivered);
        EXPECT_EQ(fake::calls(READ_FILE), c.read_calls);
        stream_close(s);
    }
}

TEST_F(StreamTest, TextModeRawReadIsToppedUpToTheCount)
{
    fake::put_file("f", "ab\r\ncd\r\nef");
    Stream *s = stream_open("f", "r");
    char buffer[8] = {};
    EXPECT_EQ(stream_read(buffer, 1, 6, s), 6u);
    EXPECT_EQ(std::string(buffer, 6), "ab\ncd\n");
    EXPECT_EQ(s->flags & STREAM_END, 0u);
    EXPECT_EQ(stream_read(buffer, 2, 2, s), 1u);  // two bytes left: one whole item
    EXPECT_EQ(std::string(buffer, 2), "ef");
    EXPECT_EQ(s->flags & STREAM_END, (DWORD)STREAM_END);
    stream_close(s);
}

// A block reader's input may be a pipe, which Windows ends with a failed
// read (ERROR_BROKEN_PIPE): that is its end; any other failure is not.
TEST_F(StreamTest, APipesEndIsTheEndOfABlockReadNotAFailure)
{
    for (bool pipe : {true, false}) {
        SCOPED_TRACE(pipe ? "a pipe" : "a failed read");
        fake::reset();
        fake::put_file("p", "abc");
        if (pipe)
            fake::end_as_broken_pipe("p");
        Stream *s = stream_open("p", "rb");
        if (!pipe)
            fake::fail_call(READ_FILE, 2);
        unsigned char block[8];
        EXPECT_EQ(stream_read_block(block, sizeof block, s), 3u);
        EXPECT_EQ(stream_read_block(block, sizeof block, s), 0u);
        EXPECT_EQ(stream_error(s), pipe ? 0 : 1);
        stream_close(s);
    }
}

TEST_F(StreamTest, FailedReadIsAnErrorNotJustTheEnd)
{
    fake::put_file("f", "abc");
    Stream *s = stream_open("f", "rb");
    fake::fail_call(READ_FILE, 2);
    EXPECT_EQ(stream_getc(s), 'a');
    EXPECT_EQ(stream_at_end(s), 1);
    EXPECT_EQ(stream_error(s), 1);
    EXPECT_EQ(stream_getc(s), STREAM_EOF);
    EXPECT_EQ(fake::calls(READ_FILE), 2);  // sticky: never asks again
    stream_close(s);

    // A failure while topping up after a dropped carriage return counts too.
    fake::put_file("g", "\rq");
    Stream *t = stream_open("g", "r");
    fake::fail_call(READ_FILE, 4);
    EXPECT_EQ(stream_getc(t), STREAM_EOF);
    EXPECT_EQ(stream_error(t), 1);
    stream_close(t);
}

struct GetsCase {
    const char *name;
    std::string contents;
    int limit;
    std::vector<std::string> pieces;
};

TEST_F(StreamTest, LinePiecesStopAfterLineFeedOrLimit)
{
    const std::vector<GetsCase> cases = {
        {"long line", "ABCDEFGHIJKLMNO\n", 12, {"ABCDEFGHIJK", "LMNO\n"}},
        {"exactly eleven", "0123456789\n*\n", 12, {"0123456789\n", "*\n"}},
        {"no final feed", "ab\ncd", 12, {"ab\n", "cd"}},
        {"bare feeds", "\n\n", 12, {"\n", "\n"}},
        {"limit two", "xyz", 2, {"x", "y", "z"}},
        {"limit one", "q", 1, {"", "", ""}},
    };
    for (const GetsCase &c : cases) {
        SCOPED_TRACE(c.name);
        fake::reset();
        fake::put_file("f", c.contents);
        Stream *s = stream_open("f", "rb");
        char buffer[16];
        for (const std::string &piece : c.pieces) {
            ASSERT_EQ(stream_gets(buffer, c.limit, s), buffer);
            EXPECT_EQ(std::string(buffer), piece);
        }
        if (c.limit > 1) {
            EXPECT_EQ(stream_at_end(s), 1);
            EXPECT_EQ(stream_gets(buffer, c.limit, s), nullptr);
        }
        stream_close(s);
    }
}

TEST_F(StreamTest, LastPieceWithoutFeedLeavesStreamAtEndWithoutFurtherCall)
{
    fake::put_file("f", "ab");
    Stream *s = stream_open("f", "rb");
    char buffer[12];
    ASSERT_NE(stream_gets(buffer, 12, s), nullptr);
    EXPECT_STREQ(buffer, "ab");
    int calls = fake::calls(READ_FILE);
    EXPECT_EQ(stream_at_end(s), 1);
    EXPECT_EQ(fake::calls(READ_FILE), calls);
    stream_close(s);
}

TEST_F(StreamTest, GetsWithNoRoomTouchesNothing)
{
    fake::put_file("f", "abc");
    Stream *s = stream_open("f", "rb");
    char buffer[2] = {'k', 'k'};
    EXPECT_EQ(stream_gets(buffer, 0, s), nullptr);
    EXPECT_EQ(buffer[0], 'k');
    EXPECT_EQ(fake::calls(READ_FILE), 0);
    stream_close(s);
}

struct WriteCase {
    const char *name;
    std::string data;
    const char *mode;
    DWORD size;
    std::string written;
    DWORD result;
    int write_calls;
};

TEST_F(StreamTest, TextModeWritesLineFeedsAsCarriageReturnLineFeed)
{
    const std::vector<WriteCase> cases = {
        {"text", "x\ny", "w", 1, "x\r\ny", 3, 3},
        {"binary", "x\ny", "wb", 1, "x\ny", 3, 1},
        {"feeds only", "\n\n", "w", 1, "\r\n\r\n", 2, 2},
        {"feed last", "ab\n", "w", 1, "ab\r\n", 3, 2},
        {"cr lf in data", "a\r\nb", "w", 1, "a\r\r\nb", 4, 3},
        {"item size two", "a\nbc", "w", 2, "a\r\nbc", 2, 3},
        {"nothing", "", "w", 1, "", 0, 0},
    };
    for (const WriteCase &c : cases) {
        SCOPED_TRACE(c.name);
        fake::reset();
        Stream *s = stream_open("out", c.mode);
        EXPECT_EQ(stream_write(c.data.data(), c.size, c.data.size() / c.size, s), c.result);
        EXPECT_EQ(fake::calls(WRITE_FILE), c.write_calls);
        stream_close(s);
        EXPECT_EQ(fake::file("out"), c.written);
    }
}

struct WriteFault {
    const char *name;
    const char *mode;
    int failing_write;      // 0: none
    int partial_write;      // 0: none
    DWORD accepted;
    std::string written;
    DWORD result;
};

TEST_F(StreamTest, WritesStopAtTheFirstFailedOrShortCall)
{
    const std::string data = "abc\nde\nf";
    const std::vector<WriteFault> cases = {
        {"first run fails", "w", 1, 0, 0, "", 0},
        {"line end fails", "w", 2, 0, 0, "abc", 3},
        {"second run short", "w", 0, 3, 1, "abc\r\nd", 5},
        {"line end half taken", "w", 0, 2, 1, "abc\r", 3},
        {"binary short", "wb", 0, 1, 5, "abc\nd", 5},
        {"binary fails", "wb", 1, 0, 0, "", 0},
    };
    for (const WriteFault &c : cases) {
        SCOPED_TRACE(c.name);
        fake::reset();
        Stream *s = stream_open("out", c.mode);
        if (c.failing_write)
            fake::fail_call(WRITE_FILE, c.failing_write);
        if (c.partial_write)
            fake::accept_partially(c.partial_write, c.accepted);
        EXPECT_EQ(stream_write(data.data(), 1, data.size(), s), c.result);
        stream_close(s);
        EXPECT_EQ(fake::file("out"), c.written);
    }
}

TEST_F(StreamTest, PutcWritesTheLowByteAndReturnsTheValue)
{
    Stream *b = stream_open("b", "wb");
    EXPECT_EQ(stream_putc(0x141, b), 0x141);
    EXPECT_EQ(stream_putc('\n', b), '\n');
    EXPECT_EQ(fake::calls(WRITE_FILE), 2);
    fake::fail_call(WRITE_FILE, 3);
    EXPECT_EQ(stream_putc('z', b), STREAM_EOF);
    stream_close(b);
    EXPECT_EQ(fake::file("b"), "A\n");

    Stream *t = stream_open("t", "w");
    EXPECT_EQ(stream_putc('\n', t), '\n');
    stream_close(t);
    EXPECT_EQ(fake::file("t"), "\r\n");
}

TEST_F(StreamTest, PutsAndPrintLine)
{
    EXPECT_EQ(stream_puts("", &stdout_stream), 0);
    EXPECT_EQ(fake::calls(WRITE_FILE), 0);
    EXPECT_EQ(print_line("hi"), 0);
    EXPECT_EQ(fake::standard_output(), "hi\r\n");

    fake::accept_partially(3, 1);
    EXPECT_EQ(print_line("cut"), STREAM_EOF);
    EXPECT_EQ(fake::calls(WRITE_FILE), 3);  // no line feed after a short text

    fake::fail_call(WRITE_FILE, 5);
    EXPECT_EQ(print_line("ok"), STREAM_EOF);  // the line feed failed
    EXPECT_EQ(fake::standard_output(), "hi\r\ncok");
}

TEST_F(StreamTest, CloseReportsFailureAndKeepsTheRecord)
{
    EXPECT_EQ(stream_close(nullptr), -1);
    Stream *s = stream_open("f", "w");
    fake::fail_call(fake::CLOSE_HANDLE, 1);
    EXPECT_EQ(stream_close(s), -1);
    EXPECT_EQ(fake::live_blocks(), 1);
    block_free(s);
}

}  // namespace
