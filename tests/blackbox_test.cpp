// The tool as a user runs it: a process with arguments, files in a folder,
// bytes on standard output and an exit status. The same cases run against
// every build of the tool; TOOL_COMMAND names the build (and its runner).
#include "run_tool.h"
#include "scratch.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> TOOL = {TOOL_COMMAND};
const std::string SAMPLE_SOURCE = SAMPLE_DIR "/sample-font.txt";
const std::string SAMPLE_FONT = SAMPLE_DIR "/sample-font.bin";

const std::string USAGE = "usage>glyphrow source.txt font.bin" LINE_END;
const std::string CANT_OPEN_INPUT = "can't open input file." LINE_END;
const std::string CANT_OPEN_OUTPUT = "can't open output file." LINE_END;
const std::string CANT_WRITE = "can't write output file." LINE_END;
const std::string CANT_READ = "can't read input file." LINE_END;

class Tool : public ::testing::Test {
protected:
    Scratch dir;
    ToolRun run(const std::vector<std::string> &args, Output output = Output::captured)
    {
        return run_tool(TOOL, args, dir.root(), output);
    }
};

struct Case {
    const char *name;
    std::vector<std::string> args;
    int status;
    std::string output;
    std::string font_name;   // the font file to look at afterwards, if any
    std::string font_bytes;  // "-" when it must not exist
};

TEST_F(Tool, StatusesMessagesAndFontFiles)
{
    const std::vector<Case> cases = {
        {"no argument", {}, 1, USAGE, "", ""},
        {"one argument", {"src.txt"}, 1, USAGE, "", ""},
        {"two paths", {"src.txt", "out.bin"}, 0, "", "out.bin", "\x3f\x21"},
        {"extra arguments ignored", {"src.txt", "extra.bin", "more", "args"}, 0, "", "extra.bin", "\x3f\x21"},
        {"paths with spaces", {"my source.txt", "my font.bin"}, 0, "", "my font.bin", "\x1e"},
        {"missing source", {"none.txt", "never.bin"}, 2, CANT_OPEN_INPUT, "never.bin", "-"},
        {"missing source keeps font", {"none.txt", "kept.bin"}, 2, CANT_OPEN_INPUT, "kept.bin", "precious"},
        {"directory as source", {"folder", "never.bin"}, 2, CANT_OPEN_INPUT, "never.bin", "-"},
        {"font in missing folder", {"src.txt", "no/font.bin"}, 3, CANT_OPEN_OUTPUT, "", ""},
        {"font is the source", {"src.txt", "src.txt"}, 3, CANT_OPEN_OUTPUT, "src.txt", "******\n*....*\n"},
        {"font can't be written", {"src.txt", "/dev/full"}, 4, CANT_WRITE, "", ""},
        {"source can't be read", {"/proc/self/mem", "out.bin"}, 5, CANT_READ, "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        write_file(dir.path("src.txt"), "******\n*....*\n");
        write_file(dir.path("my source.txt"), ".****.\r\n");
        write_file(dir.path("kept.bin"), "precious");
        mkdir(dir.path("folder").c_str(), 0700);
        auto before = names_in(dir.root());
        ToolRun r = run(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.output, c.output);
        if (c.font_name.empty()) {
            if (c.status != 0 && c.status != 4 && c.status != 5)
                EXPECT_EQ(names_in(dir.root()), before);  // no file created
        } else if (c.font_bytes == "-") {
            EXPECT_FALSE(file_exists(dir.path(c.font_name)));
        } else {
            EXPECT_EQ(read_file(dir.path(c.font_name)), c.font_bytes);
        }
    }
}

TEST_F(Tool, SampleFontConvertsToItsCommittedBytes)
{
    // A copy: the tool holds its source unshared, and other tests convert
    // the sample at the same time.
    write_file(dir.path("sample.txt"), read_file(SAMPLE_SOURCE));
    ToolRun r = run({"sample.txt", "sample.bin"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, "");
    std::string expected = read_file(SAMPLE_FONT);
    EXPECT_EQ(expected.size(), 95u * 8u);
    EXPECT_EQ(read_file(dir.path("sample.bin")), expected);
}

struct BrokenOutputCase {
    const char *name;
    Output output;
};

TEST_F(Tool, BrokenStandardOutputChangesNoStatus)
{
    write_file(dir.path("src.txt"), "******\n");
    for (BrokenOutputCase c : {BrokenOutputCase{"closed", Output::closed},
                               BrokenOutputCase{"reader gone", Output::reader_gone}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(run({}, c.output).status, 1);
        EXPECT_EQ(run({"none.txt", "font.bin"}, c.output).status, 2);
        EXPECT_EQ(run({"src.txt", "font.bin"}, c.output).status, 0);
        EXPECT_EQ(read_file(dir.path("font.bin")), "\x3f");
        EXPECT_EQ(run({"src.txt", "/dev/full"}, c.output).status, 4);
    }
}

}  // namespace
