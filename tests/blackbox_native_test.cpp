// How arguments with double quotes in them reach the native tool: the
// quotes are dropped, and a stray one never swallows the next argument.
#include "run_tool.h"
#include "scratch.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> TOOL = {TOOL_COMMAND};

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

}  // namespace
