// glyphcheck over the fake platform: what it costs, and that no failure of
// any platform call passes a faulty drawing as clean or loses a finding to
// a want of memory.
#include "fake_fixture.h"
#include "../check/check.h"
#include "../startup/startup.h"

#include <algorithm>

namespace {

// Findings inside a run (held back) and outside it.
const std::string SOURCE = "A\n******\n**\n\t*\nB\n*x****\n";
const int FINDINGS = 4;  // a run of 3, the short row, the tab, the stray cell

class CheckTest : public FakePlatform {
protected:
    int check(const std::string &height)
    {
        fake::put_file("src.txt", SOURCE);
        return run_main(check_main, {"glyphcheck", "src.txt", height});
    }
    static int lines(const std::string &text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }
};

TEST_F(CheckTest, ReadsAsGlyphrowDoesAndWritesALineAFinding)
{
    EXPECT_EQ(check("2"), STATUS_FINDINGS);
    EXPECT_EQ(lines(fake::standard_output()), FINDINGS);
    EXPECT_EQ(fake::calls(fake::READ_FILE), 2);  // a block, then its end: never a call a byte
    EXPECT_EQ(fake::calls(fake::CREATE_FILE), 1);
    EXPECT_EQ(fake::writes_to("src.txt"), 0);
}

TEST_F(CheckTest, NoMemoryToHoldFindingsLosesNone)
{
    EXPECT_EQ(check("2"), STATUS_FINDINGS);
    const std::string in_order = fake::standard_output();
    const int blocks = fake::calls(fake::HEAP_ALLOC);
    ASSERT_GE(blocks, 3);  // the source's stream, the drawing, then the held findings
    for (int refused = 3; refused <= blocks; ++refused) {
        SCOPED_TRACE(refused);
        fake::reset();
        fake::fail_call(fake::HEAP_ALLOC, refused);
        EXPECT_EQ(check("2"), STATUS_FINDINGS);
        std::string got = fake::standard_output();
        std::string want = in_order;
        std::sort(got.begin(), got.end());
        std::sort(want.begin(), want.end());
        EXPECT_EQ(got, want);
        EXPECT_EQ(fake::live_blocks(), 0);
    }
}

TEST_F(CheckTest, NoFailedCallPassesTheDrawingAsClean)
{
    fake::reset();
    fake::set_command_line("glyphcheck src.txt 2");
    fake::put_file("src.txt", SOURCE);
    ASSERT_EQ(fake::run_process(glyphcheck_start), STATUS_FINDINGS);
    const int calls = static_cast<int>(fake::call_log().size());
    for (int nth = 1; nth <= calls; ++nth) {
        SCOPED_TRACE(nth);
        fake::reset();
        fake::set_command_line("glyphcheck src.txt 2");
        fake::put_file("src.txt", SOURCE);
        fake::fail_overall_call(nth);
        int status = fake::run_process(glyphcheck_start);
        EXPECT_NE(status, STATUS_DONE);
        EXPECT_EQ(fake::open_handles(), 0);
        EXPECT_LE(fake::live_blocks(), 3);  // the argument blocks, and one a failed release keeps
        EXPECT_EQ(fake::file("src.txt"), SOURCE);
    }
}

}  // namespace
