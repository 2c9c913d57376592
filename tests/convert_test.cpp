#include "fake_fixture.h"
#include "../rows/foreign.h"
#include "../convert/convert.h"
#include "../rows/row.h"

#include <vector>

using fake::READ_FILE;
using fake::WRITE_FILE;

namespace {

const std::string CRLF = "\r\n";
const std::string USAGE = "usage>glyphrow source.txt font.bin" + CRLF;
const std::string CANT_OPEN_INPUT = "can't open input file." + CRLF;
const std::string CANT_OPEN_OUTPUT = "can't open output file." + CRLF;
const std::string CANT_WRITE = "can't write output file." + CRLF;
const std::string CANT_READ = "can't read input file." + CRLF;

class ConvertTest : public FakePlatform {
protected:
    int convert(std::vector<std::string> args) { return run_main(convert_main, args); }
    int convert_source(const std::string &source)
    {
        fake::put_file("src.txt", source);
        return convert({"glyphrow", "src.txt", "font.bin"});
    }
};

struct RowCase {
    const char *name;
    std::string source;
    std::string font;
};

TEST_F(ConvertTest, RowPiecesBecomeBytesAndOtherLinesNothing)
{
    const std::vector<RowCase> cases = {
        {"full row", "******\n", "\x3f"},
        {"outer cells", "*....*\n", "\x21"},
        {"inner cells with spaces", " **** \n", "\x1e"},
        {"inner cells with stops", ".****.\n", "\x1e"},
        {"cells 3 and 5 stay one byte", "..*.*.\n", "\x0a"},
        {"blank row of spaces", "      \n", std::string(1, '\0')},
        {"empty line", "\n", ""},
        {"crlf empty line", "\r\n", ""},
        {"label lines skipped", "A\n#x\n\t*****\n9\n", ""},
        {"hashes are blank", "*#####\n", "\x20"},
        {"bytes past six ignored", "******XYZ\n", "\x3f"},
        {"crlf ends", "*.....\r\n.*....\r\n", "\x20\x10"},
        {"no final feed", "*\n.....*", std::string("\x20\x01", 2)},
        {"short piece is blank past its end", "******\n*\n", "\x3f\x20"},
        {"twelve-byte line is one row", "******     \n", "\x3f"},
        {"thirteen-byte line is two rows", "******      \n", std::string("\x3f\x00", 2)},
        {"long label's tail is a row", "ABCDEFGHIJK*.*\n", "\x28"},
        {"empty source", "", ""},
    };
    for (const RowCase &c : cases) {
        SCOPED_TRACE(c.name);
        fake::reset();
        stdout_stream.handle = GetStdHandle(STD_OUTPUT_HANDLE);
        EXPECT_EQ(convert_source(c.source), STATUS_DONE);
        EXPECT_EQ(fake::file("font.bin"), c.font);
        EXPECT_EQ(fake::standard_output(), "");
        EXPECT_EQ(fake::open_handles(), 0);
        EXPECT_EQ(fake::live_blocks(), 0);
    }
}

TEST_F(ConvertTest, RowByteLayoutCellOneIsBitFive)
{
    for (int cell = 0; cell < ROW_CELLS; ++cell) {
        char cells[7] = "......";
        cells[cell] = '*';
        EXPECT_EQ(row_byte(cells), 0x20 >> cell) << cells;
    }
    EXPECT_TRUE(is_row_piece(" "));
    EXPECT_TRUE(is_row_piece("."));
    EXPECT_TRUE(is_row_piece("*"));
    EXPECT_FALSE(is_row_piece("\t"));
    EXPECT_FALSE(is_row_piece(""));
}

TEST_F(ConvertTest, CostsOneReadPerByteAndOneWritePerRow)
{
    const std::string source = "A\n*.*.*.\n.*.*.*\n";
    EXPECT_EQ(convert_source(source), STATUS_DONE);
    EXPECT_EQ(fake::calls(READ_FILE), static_cast<int>(source.size()) + 1);
    EXPECT_EQ(fake::calls(WRITE_FILE), 2);
    EXPECT_EQ(fake::writes_to("src.txt"), 0);
}

struct StatusCase {
    const char *name;
    std::vector<std::string> args;
    bool source_exists;
    bool font_exists;
    int status;
    std::string output;
    std::string font_after;  // "-" when the font file must not exist
};

TEST_F(ConvertTest, ExitStatusesAndTheirMessages)
{
    const std::vector<StatusCase> cases = {
        {"no arguments", {"glyphrow"}, true, false, STATUS_USAGE, USAGE, "-"},
        {"one argument", {"glyphrow", "src.txt"}, true, false, STATUS_USAGE, USAGE, "-"},
        {"extra arguments", {"glyphrow", "src.txt", "font.bin", "more"}, true, false, 0, "", "\x3f"},
        {"missing source", {"glyphrow", "nope.txt", "font.bin"}, false, false, STATUS_CANT_OPEN_INPUT, CANT_OPEN_INPUT, "-"},
        {"missing source keeps font", {"glyphrow", "nope.txt", "font.bin"}, false, true, STATUS_CANT_OPEN_INPUT, CANT_OPEN_INPUT, "old"},
        {"empty font name", {"glyphrow", "src.txt", ""}, true, false, STATUS_CANT_OPEN_OUTPUT, CANT_OPEN_OUTPUT, "-"},
        {"font is the source", {"glyphrow", "src.txt", "src.txt"}, true, false, STATUS_CANT_OPEN_OUTPUT, CANT_OPEN_OUTPUT, "-"},
    };
    for (const StatusCase &c : cases) {
        SCOPED_TRACE(c.name);
        fake::reset();
        stdout_stream.handle = GetStdHandle(STD_OUTPUT_HANDLE);
        fake::put_file("src.txt", "******\n");
        if (c.font_exists)
            fake::put_file("font.bin", "old");
        EXPECT_EQ(convert(c.args), c.status);
        EXPECT_EQ(fake::standard_output(), c.output);
        if (c.font_after == "-")
            EXPECT_FALSE(fake::has_file("font.bin"));
        else
            EXPECT_EQ(fake::file("font.bin"), c.font_after);
        EXPECT_EQ(fake::file("src.txt"), "******\n");
        EXPECT_EQ(fake::open_handles(), 0);
        EXPECT_EQ(fake::live_blocks(), 0);
    }
}

struct FaultCase {
    const char *name;
    fake::Call call;
    int nth;
    int status;
    std::string output;
};

// Source "******\n.*....\n": two rows. Calls in order: ReadFile 1..14 take
// the bytes, 15 finds the end; WriteFile 1 and 2 write the rows; CloseHandle
// 1 closes the source, 2 the font file.
TEST_F(ConvertTest, FailuresAreNeverReportedAsSuccess)
{
    const std::vector<FaultCase> cases = {
        {"first row unwritten", WRITE_FILE, 1, STATUS_CANT_WRITE_OUTPUT, CANT_WRITE},
        {"last row unwritten", WRITE_FILE, 2, STATUS_CANT_WRITE_OUTPUT, CANT_WRITE},
        {"first read fails", READ_FILE, 1, STATUS_CANT_READ_INPUT, CANT_READ},
        {"read mid-row fails", READ_FILE, 9, STATUS_CANT_READ_INPUT, CANT_READ},
        {"final read fails", READ_FILE, 15, STATUS_CANT_READ_INPUT, CANT_READ},
        {"font close fails", fake::CLOSE_HANDLE, 2, STATUS_CANT_WRITE_OUTPUT, CANT_WRITE},
        {"source close fails", fake::CLOSE_HANDLE, 1, STATUS_DONE, ""},
    };
    for (const FaultCase &c : cases) {
        SCOPED_TRACE(c.name);
        fake::reset();
        stdout_stream.handle = GetStdHandle(STD_OUTPUT_HANDLE);
        fake::fail_call(c.call, c.nth);
        EXPECT_EQ(convert_source("******\n.*....\n"), c.status);
        EXPECT_EQ(fake::standard_output(), c.output);
        EXPECT_EQ(fake::open_handles(), 0);  // closed before the message
        EXPECT_EQ(fake::writes_to("src.txt"), 0);
    }
}

// Past the first block, which is read before the font file is made.
std::string rows_past_first_block(const std::string &row)
{
    std::string source;
    while (source.size() <= FIRST_BLOCK_BYTES)
        source += row;
    return source;
}

TEST_F(ConvertTest, UnwrittenRowStopsConverting)
{
    fake::fail_call(WRITE_FILE, 1);
    EXPECT_EQ(convert_source(rows_past_first_block("*.....\n")), STATUS_CANT_WRITE_OUTPUT);
    EXPECT_EQ(fake::calls(READ_FILE), (int)FIRST_BLOCK_BYTES);  // nothing read past the first block
    EXPECT_EQ(fake::calls(WRITE_FILE), 3);  // the lost row, then the message and its line end
    EXPECT_EQ(fake::file("font.bin"), "");
}

TEST_F(ConvertTest, UnwrittenRowOutranksFailedRead)
{
    // A read past the first block fails; the second row's byte is lost too.
    fake::fail_call(READ_FILE, FIRST_BLOCK_BYTES + 2);
    fake::fail_call(WRITE_FILE, 2);
    EXPECT_EQ(convert_source(rows_past_first_block("******\n")), STATUS_CANT_WRITE_OUTPUT);
    EXPECT_EQ(fake::standard_output(), CANT_WRITE);
}

TEST_F(ConvertTest, PartlyAcceptedRowIsAFailedWrite)
{
    fake::accept_partially(1, 0);
    EXPECT_EQ(convert_source("******\n"), STATUS_CANT_WRITE_OUTPUT);
    EXPECT_EQ(fake::standard_output(), CANT_WRITE);
}

TEST_F(ConvertTest, BrokenStandardOutputChangesNoStatus)
{
    fake::break_standard_output();
    EXPECT_EQ(convert({"glyphrow"}), STATUS_USAGE);
    EXPECT_EQ(convert({"glyphrow", "missing", "font.bin"}), STATUS_CANT_OPEN_INPUT);
    EXPECT_EQ(fake::calls(WRITE_FILE), 2);  // each message tried once, no line feed after
}

}  // namespace
