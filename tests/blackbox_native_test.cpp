// What only the native tools meet: arguments with double quotes in them
// (dropped, and a stray one never swallows the next argument), standard
// descriptors closed at start, and a limit on the size of files.
#include "run_tool.h"
#include "scratch.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>

namespace {

const std::vector<std::string> TOOL = {TOOL_COMMAND};
const std::vector<std::string> DRAW = {DRAW_COMMAND};
const std::vector<std::string> CHECK = {CHECK_COMMAND};

struct QuoteCase {
    const char *name;
    std::vector<std::string> args;
    const char *font_written;
};

TEST(NativeArguments, QuotesInsideArgumentsAreDropped)
{
    const std::vector<QuoteCase> cases = {
        {"quote inside a name", {"s\"rc.txt", "a\"b.bin"}, "ab.bin"},
        {"stray quote before the source", {"\"src.txt", "font.bin"}, "font.bin"},
        {"stray quote after the source", {"src.txt\"", "x y.bin"}, "x y.bin"},
        {"only quotes name nothing", {"src.txt", "\"\""}, nullptr},
    };
    for (const QuoteCase &c : cases) {
        SCOPED_TRACE(c.name);
        Scratch dir;
        write_file(dir.path("src.txt"), "*.*.*.\n");
        ToolRun r = run_tool(TOOL, c.args, dir.root());
        if (c.font_written) {
            EXPECT_EQ(r.status, 0);
            EXPECT_EQ(read_file(dir.path(c.font_written)), "\x2a");
        } else {
            EXPECT_EQ(r.status, 3);  // an empty name can't be opened
        }
    }
}

struct ToolCase {
    const char *name;
    std::vector<std::string> command;
    std::vector<std::string> args;
    std::vector<std::string> files;  // the files it opens by name
};

const std::vector<ToolCase> TOOLS = {
    {"glyphrow", TOOL, {"src.txt", "font.bin"}, {"src.txt", "font.bin"}},
    {"glyphdraw", DRAW, {"font.bin", "drawing.txt", "1"}, {"font.bin", "drawing.txt"}},
    {"glyphcheck", CHECK, {"src.txt", "1"}, {"src.txt"}},
};

void write_inputs(const Scratch &dir)
{
    write_file(dir.path("src.txt"), "******\n*....*\n.****.\n");
    write_file(dir.path("font.bin"), "\x3f\x21\x1e");
}

// A closed standard descriptor would go to the next file opened, and the
// tool's messages into it. strace shows the descriptor every open returns.
TEST(NativeStart, FilesNeverTakeAStandardDescriptor)
{
    const std::vector<std::pair<const char *, std::string>> closings = {
        {"all three closed", "exec 0<&- 1>&- 2>&-"},
        {"input closed", "exec 0<&-"},
        {"output closed", "exec 1>&-"},
        {"error closed", "exec 2>&-"},
    };
    for (const ToolCase &t : TOOLS) {
        for (const auto &closing : closings) {
            SCOPED_TRACE(std::string(t.name) + ", " + closing.first);
            Scratch dir;
            write_inputs(dir);
            std::vector<std::string> args = {"-f", "-qq", "-e", "trace=open,openat", "-o", dir.path("trace"),
                                             "sh", "-c", closing.second + "; exec \"$0\" \"$@\""};
            args.insert(args.end(), t.command.begin(), t.command.end());
            args.insert(args.end(), t.args.begin(), t.args.end());
            run_tool({STRACE}, args, dir.root());
            std::ifstream trace(dir.path("trace"));
            int opens = 0;
            for (std::string line; std::getline(trace, line);) {
                std::smatch m;
                if (!std::regex_search(line, m, std::regex("open(at)?\\(.*\"([^\"]+)\".*\\) = (-?[0-9]+)")))
                    continue;
                for (const std::string &f : t.files)
                    if (m[2] == f) {
                        ++opens;
                        EXPECT_GE(std::stoi(m[3]), 3) << line;
                    }
            }
            EXPECT_EQ(opens, static_cast<int>(t.files.size()));
        }
    }
}

// A write past the limit fails and is reported; the process isn't killed.
TEST(NativeStart, FileSizeLimitIsAFailedWrite)
{
    for (const ToolCase &t : TOOLS) {
        if (t.files.size() < 2)
            continue;  // glyphcheck writes no file
        SCOPED_TRACE(t.name);
        Scratch dir;
        write_inputs(dir);
        ToolRun r = run_tool(t.command, t.args, dir.root(), Output::captured, 2);
        EXPECT_EQ(r.status, 4);
        EXPECT_EQ(r.output, "can't write output file." LINE_END);
    }
}

}  // namespace
