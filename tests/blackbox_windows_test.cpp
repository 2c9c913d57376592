// glyphrow.exe started by CreateProcessA with a command line given byte for
// byte, so that the splitter is tested on the real platform: the outcome
// shows which arguments arrived.
#include "run_tool.h"
#include "scratch.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> LAUNCH = {LAUNCH_COMMAND};

struct LineCase {
    const char *name;
    std::string line;        // after the program's name
    int status;
    std::string font_name;   // the one file the run must create; "" for none
};

TEST(WindowsCommandLine, SplitsWhatCreateProcessHandsOver)
{
    const std::vector<LineCase> cases = {
        {"quoted source with spaces", " \"my source.txt\" out.bin", 0, "out.bin"},
        {"quotes join a word", " sr\"c.t\"xt o\"ut.b\"in", 0, "out.bin"},
        {"tabs separate", "\tsrc.txt\t\tout.bin", 0, "out.bin"},
        {"extra arguments ignored", " src.txt out.bin \"more args\"", 0, "out.bin"},
        {"unclosed quote takes the rest", " src.txt \"out file.bin", 0, "out file.bin"},
        {"unclosed quote swallows the font", " \"src.txt out.bin", 1, ""},
        {"quoted empty source", " \"\" out.bin", 2, ""},
    };
    for (const LineCase &c : cases) {
        SCOPED_TRACE(c.name);
        Scratch dir;
        write_file(dir.path("src.txt"), "*.*.*.\n");
        write_file(dir.path("my source.txt"), "*.*.*.\r\n");
        write_file(dir.path("line"), std::string("glyphrow") + c.line);
        auto before = names_in(dir.root());
        ToolRun r = run_tool(LAUNCH, {TOOL_EXE, "line"}, dir.root());
        EXPECT_EQ(r.status, c.status);
        auto after = names_in(dir.root());
        if (c.font_name.empty()) {
            EXPECT_EQ(after, before);
        } else {
            EXPECT_EQ(after.size(), before.size() + 1);
            EXPECT_EQ(read_file(dir.path(c.font_name)), "\x2a");
        }
    }
}

TEST(WindowsCommandLine, HighByteStaysInsideAFileName)
{
    Scratch dir;
    write_file(dir.path("src.txt"), "*.*.*.\n");
    write_file(dir.path("line"), "glyphrow src.txt a\xa0" "b.bin");
    auto before = names_in(dir.root());
    ToolRun r = run_tool(LAUNCH, {TOOL_EXE, "line"}, dir.root());
    EXPECT_EQ(r.status, 0);
    std::set<std::string> created;
    for (const std::string &n : names_in(dir.root()))
        if (!before.count(n))
            created.insert(n);
    // One file, named with both halves: the byte didn't split the name.
    ASSERT_EQ(created.size(), 1u);
    const std::string name = *created.begin();
    EXPECT_EQ(name.front(), 'a');
    EXPECT_EQ(name.substr(name.size() - 5), "b.bin");
    EXPECT_GT(name.size(), 6u);
    EXPECT_EQ(read_file(dir.path(name)), "\x2a");
}

}  // namespace
