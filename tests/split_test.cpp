#include "fake_fixture.h"
#include "../convert/convert.h"
#include "../startup/startup.h"

#include <vector>

namespace {

class SplitTest : public FakePlatform {};

struct SplitCase {
    const char *name;
    std::string line;
    std::vector<std::string> arguments;
};

TEST_F(SplitTest, SplitsTheCommandLineIntoArguments)
{
    const std::vector<SplitCase> cases = {
        {"name and two paths", "glyphrow a.txt b.bin", {"glyphrow", "a.txt", "b.bin"}},
        {"quoted path with spaces", "g \"my font.txt\" out", {"g", "my font.txt", "out"}},
        {"quotes join their neighbours", "g a\"b c\"d", {"g", "ab cd"}},
        {"empty quoted arguments", "g \"\" \"\"", {"g", "", ""}},
        {"tab separates", "g\ta\tb", {"g", "a", "b"}},
        {"control bytes separate", "g\x01" "a\x1f" "b", {"g", "a", "b"}},
        {"high bytes are ordinary", "g a\xa0" "b \xff", {"g", "a\xa0" "b", "\xff"}},
        {"backslash escapes nothing", "g a\\\"b c\"", {"g", "a\\b c"}},
        {"unclosed quote takes the rest", "g \"a  b\tc", {"g", "a  b\tc"}},
        {"runs of separators", "g   a \t  b   ", {"g", "a", "b"}},
        {"empty line", "", {""}},
        {"only separators", "  \t ", {""}},
        {"leading separators are skipped", "  g a", {"g", "a"}},
        {"quoted program name", "\"C:\\Program Files\\g.exe\" x", {"C:\\Program Files\\g.exe", "x"}},
        {"quote then end", "g \"", {"g", ""}},
    };
    for (const SplitCase &c : cases) {
        SCOPED_TRACE(c.name);
        fake::reset();
        fake::set_command_line(c.line);
        int count = -1;
        char **vector = split_command_line(&count);
        ASSERT_NE(vector, nullptr);
        ASSERT_EQ(count, static_cast<int>(c.arguments.size()));
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(std::string(vector[i]), c.arguments[i]) << "argument " << i;
        EXPECT_EQ(vector[count], nullptr);
        EXPECT_EQ(fake::live_blocks(), 2);  // the text and the vector, kept for good
    }
}

TEST_F(SplitTest, RefusedBlocksGiveNullAndLeakNothing)
{
    fake::set_command_line("g a b");
    for (int refused = 1; refused <= 2; ++refused) {
        fake::fail_call(fake::HEAP_ALLOC, fake::calls(fake::HEAP_ALLOC) + refused);
        int count = -1;
        EXPECT_EQ(split_command_line(&count), nullptr);
        EXPECT_EQ(count, -1);
        EXPECT_EQ(fake::live_blocks(), 0);
    }
}

class StartupTest : public FakePlatform {};

TEST_F(StartupTest, RunsTheConversionAndExitsWithItsStatus)
{
    fake::put_file("a.txt", "*....*\n");
    fake::set_command_line("glyphrow a.txt b.bin");
    EXPECT_EQ(fake::run_process(process_start), 0);
    EXPECT_EQ(fake::file("b.bin"), "\x21");
    EXPECT_EQ(fake::calls(fake::EXIT_PROCESS), 1);

    fake::set_command_line("glyphrow");
    EXPECT_EQ(fake::run_process(process_start), STATUS_USAGE);
    EXPECT_EQ(fake::standard_output(), "usage>glyphrow source.txt font.bin\r\n");
}

TEST_F(StartupTest, BindsTheStandardHandlesInOrder)
{
    fake::set_command_line("glyphrow");
    stdout_stream.handle = nullptr;
    fake::run_process(process_start);
    EXPECT_EQ(stdin_stream.handle, GetStdHandle(STD_INPUT_HANDLE));
    EXPECT_EQ(stdout_stream.handle, GetStdHandle(STD_OUTPUT_HANDLE));
    EXPECT_EQ(stderr_stream.handle, GetStdHandle(STD_ERROR_HANDLE));
}

TEST_F(StartupTest, RefusedArgumentBlocksEndTheProcessWithoutSuccess)
{
    fake::set_command_line("glyphrow a.txt b.bin");
    fake::fail_call(fake::HEAP_ALLOC, 1);
    EXPECT_EQ(fake::run_process(process_start), STATUS_NO_MEMORY);
    EXPECT_FALSE(fake::has_file("b.bin"));
}

}  // namespace
