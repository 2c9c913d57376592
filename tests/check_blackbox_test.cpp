// glyphcheck as a user runs it, against every build (CHECK_COMMAND names
// it): drawings that each hold known mistakes at known lines, with the exact
// lines printed; clean drawings; every status with its message.
#include "run_tool.h"
#include "scratch.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> CHECK = {CHECK_COMMAND};

struct FindingCase {
    const char *name;
    std::string source;
    std::string height;  // "" for none
    std::vector<std::string> findings;
};

const std::string EXTRA_ROW = "a row starts at byte 12 of a long line; glyphrow adds it as an extra row.";
const std::string BLANK = "; glyphrow reads it as blank.";
std::string lone_cr(int count)
{
    return "a carriage return without a line feed (" + std::to_string(count) + " in all); glyphrow doesn't end a line at one.";
}

std::string short_row(int cells)
{
    return "a row has only " + std::to_string(cells) + " of its 6 cells; glyphrow reads the missing ones as blank.";
}

std::string run_of(int rows, int height)
{
    return "a run of rows holds " + std::to_string(rows) + ", not a multiple of the height " +
           std::to_string(height) + "; glyphrow shifts every glyph after it.";
}

TEST(CheckTool, FindsEachMistakeAtItsLine)
{
    const std::vector<FindingCase> cases = {
        {"long label's tail", "U+002E FULL STOP\n******\n", "", {"drawing.txt:1: " + EXTRA_ROW}},
        {"padded row", "A\n******      \n", "", {"drawing.txt:2: " + EXTRA_ROW}},
        {"twelve bytes padded is fine", "A\n******     \n", "", {}},
        {"notes within 11 bytes", "A\n****** top\n*....*\r\n", "", {}},
        {"short row", "A\n***\n", "", {"drawing.txt:2: " + short_row(3)}},
        {"CR ends the cells", "A\n*.*\r\n", "", {"drawing.txt:2: " + short_row(3)}},
        {"short row at the end", "A\n******\n*.", "", {"drawing.txt:3: " + short_row(2)}},
        {"stray cells", "A\n*x*\t*\xe9\n", "",
         {"drawing.txt:2: cell 2 is \"x\", not \"*\", \".\" or a space" + BLANK,
          "drawing.txt:2: cell 4 is byte 0x09, not \"*\", \".\" or a space" + BLANK,
          "drawing.txt:2: cell 6 is byte 0xE9, not \"*\", \".\" or a space" + BLANK}},
        {"tab before a row", "A\n\t******\n\tnote\n", "", {"drawing.txt:2: a tab before a row; glyphrow skips the whole line."}},
        {"UTF-8 mark before a row", "\xef\xbb\xbf*....*\n", "",
         {"drawing.txt:1: a UTF-8 byte order mark before a row; glyphrow skips the whole line."}},
        {"UTF-8 mark before a label", "\xef\xbb\xbfglyph A\n******\n", "", {}},
        {"UTF-16 mark", std::string("\xff\xfe*\0*\0", 6), "",
         {"drawing.txt:1: a UTF-16 byte order mark: not 8-bit text; glyphrow can't read it as drawn."}},
        {"zero bytes, once", std::string("A\nB\0\n\0C\n", 7), "",
         {"drawing.txt:2: a zero byte: not 8-bit text; glyphrow reads it as a blank or skips it."}},
        // Pieces "A\r******\r**" and "****\r": one line, the second piece a
        // row that follows from it, not said again.
        {"old Mac line ends", "A\r******\r******\r", "",
         {"drawing.txt:1: carriage returns alone end its 3 lines (old Mac line ends); glyphrow reads the file as one long line."}},
        {"CR at a piece's end", "ABCDEFGHIJ\rK\n", "", {"drawing.txt:1: " + lone_cr(1)}},
        {"lone CRs said once, with their count", "A\rB\n******\nC\rD\rE\n", "", {"drawing.txt:1: " + lone_cr(3)}},
        {"CR LF across pieces", "ABCDEFGHIJ\r\n", "", {}},
        {"missing row", "A\n******\n******\nB\n******\nC\n******\n******\n", "2", {"drawing.txt:5: " + run_of(1, 2)}},
        {"unlabelled font is one run", "******\n******\n******\n", "2", {"drawing.txt:1: " + run_of(3, 2)}},
        {"run's finding before those inside it", "A\n******\n******\nB\n**\n*x\n***\n", "2",
         {"drawing.txt:5: " + run_of(3, 2), "drawing.txt:5: " + short_row(2), "drawing.txt:6: " + short_row(2),
          "drawing.txt:6: cell 2 is \"x\", not \"*\", \".\" or a space" + BLANK, "drawing.txt:7: " + short_row(3)}},
        {"a long label's letters are no row", "U+0041 LETTER A\n******\n", "1", {}},
        {"a tail row joins the run", "U+002E FULL STOP\n******\n", "1", {"drawing.txt:1: " + EXTRA_ROW}},
        {"a tail row makes a run too long", "U+002E FULL STOP\n******\n******\n", "2",
         {"drawing.txt:1: " + run_of(3, 2), "drawing.txt:1: " + EXTRA_ROW}},
    };
    Scratch dir;
    for (const FindingCase &c : cases) {
        SCOPED_TRACE(c.name);
        write_file(dir.path("drawing.txt"), c.source);
        std::vector<std::string> args = {"drawing.txt"};
        if (!c.height.empty())
            args.push_back(c.height);
        ToolRun r = run_tool(CHECK, args, dir.root());
        std::string expected;
        for (const std::string &f : c.findings)
            expected += f + "" LINE_END;
        EXPECT_EQ(r.output, expected);
        EXPECT_EQ(r.status, c.findings.empty() ? 0 : 7);
    }
}

struct StatusCase {
    const char *name;
    std::vector<std::string> args;
    int status;
    std::string output;
};

TEST(CheckTool, StatusesAndMessages)
{
    const std::string USAGE = "usage>glyphcheck source.txt [height]" LINE_END;
    const std::vector<StatusCase> cases = {
        {"no source", {}, 1, USAGE},
        {"missing source", {"none.txt"}, 2, "can't open input file none.txt: no such file." LINE_END},
        {"source can't be read", {"/proc/self/mem"}, 5, "can't read input file." LINE_END},
        {"the sample is clean", {"sample.txt", "8"}, 0, ""},
        {"the sample without a height", {"sample.txt"}, 0, ""},
        {"a wrong height", {"sample.txt", "7"}, 7, "sample.txt:2: " + run_of(8, 7) + "" LINE_END},
    };
    Scratch dir;
    write_file(dir.path("sample.txt"), read_file(SAMPLE_DIR "/sample-font.txt"));
    for (const StatusCase &c : cases) {
        SCOPED_TRACE(c.name);
        ToolRun r = run_tool(CHECK, c.args, dir.root());
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.output.substr(0, c.output.size()), c.output);
        if (c.status != 7)
            EXPECT_EQ(r.output, c.output);
        EXPECT_EQ(read_file(dir.path("sample.txt")), read_file(SAMPLE_DIR "/sample-font.txt"));
    }
}

}  // namespace
