// The whole process, run once per platform call with exactly that call
// failing, and once per WriteFile with that write taken only in part.
// Whatever fails: no crash, no handle left open, no block lost beyond what
// the failure itself keeps, the source never written, and a status of 0 only
// with the exact font file.
#include "fake_fixture.h"
#include "../convert/convert.h"
#include "../startup/startup.h"

#include <map>

namespace {

// A label, CR LF line ends, a line longer than 11 bytes whose tail is a
// row, and a short row.
const std::string SOURCE = "glyph A\r\n.****.\r\n*....*\r\n******\r\nABCDEFGHIJK*.*\n*\n";
const std::string FONT = "\x1e\x21\x3f\x28\x20";
const std::string COMMAND_LINE = "glyphrow src.txt font.bin";
const int ARGUMENT_BLOCKS = 2;  // kept until the process ends, by design

const std::map<int, std::string> MESSAGES = {
    {STATUS_CANT_OPEN_INPUT, "can't open input file.\r\n"},
    {STATUS_CANT_OPEN_OUTPUT, "can't open output file.\r\n"},
    {STATUS_CANT_WRITE_OUTPUT, "can't write output file.\r\n"},
    {STATUS_CANT_READ_INPUT, "can't read input file.\r\n"},
};

int run_once()
{
    fake::put_file("src.txt", SOURCE);
    fake::set_command_line(COMMAND_LINE);
    return fake::run_process(process_start);
}

// A failed release keeps what it failed to release.
int blocks_a_failure_may_keep(fake::Call failed)
{
    return failed == fake::HEAP_FREE || failed == fake::CLOSE_HANDLE || failed == fake::GET_PROCESS_HEAP;
}

void check_outcome(int status, fake::Call failed)
{
    EXPECT_EQ(fake::file("src.txt"), SOURCE);
    EXPECT_EQ(fake::writes_to("src.txt"), 0);
    EXPECT_EQ(fake::open_handles(), 0);
    EXPECT_LE(fake::live_blocks(), ARGUMENT_BLOCKS + blocks_a_failure_may_keep(failed));
    if (status == STATUS_DONE) {
        EXPECT_EQ(fake::file("font.bin"), FONT);
    } else if (MESSAGES.count(status)) {
        if (failed != fake::GET_STD_HANDLE)
            EXPECT_EQ(fake::standard_output(), MESSAGES.at(status));
    } else {
        EXPECT_EQ(status, STATUS_NO_MEMORY);
        EXPECT_TRUE(failed == fake::HEAP_ALLOC || failed == fake::GET_PROCESS_HEAP);
    }
}

class FaultSweep : public FakePlatform {};

TEST_F(FaultSweep, EveryCallFailingInTurn)
{
    fake::reset();  // count the process's calls alone
    ASSERT_EQ(run_once(), STATUS_DONE);
    ASSERT_EQ(fake::file("font.bin"), FONT);
    const std::vector<fake::Call> calls = fake::call_log();
    ASSERT_GT(calls.size(), SOURCE.size());

    std::map<int, int> statuses;
    for (size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE("call " + std::to_string(i + 1) + ", " + fake::call_name(calls[i]));
        fake::reset();
        fake::fail_overall_call(static_cast<int>(i + 1));
        int status = run_once();
        ++statuses[status];
        check_outcome(status, calls[i]);
    }
    // Each kind of failure the tool reports was reached by the sweep.
    for (int status : std::vector<int>{STATUS_CANT_OPEN_INPUT, STATUS_CANT_OPEN_OUTPUT, STATUS_CANT_WRITE_OUTPUT,
                       STATUS_CANT_READ_INPUT, STATUS_NO_MEMORY})
        EXPECT_GT(statuses[status], 0) << "status " << status;
}

TEST_F(FaultSweep, EveryWriteTakenOnlyInPart)
{
    ASSERT_EQ(run_once(), STATUS_DONE);
    const int writes = fake::calls(fake::WRITE_FILE);
    ASSERT_EQ(writes, static_cast<int>(FONT.size()));
    for (int nth = 1; nth <= writes; ++nth) {
        SCOPED_TRACE("write " + std::to_string(nth));
        fake::reset();
        fake::accept_partially(nth, 0);
        int status = run_once();
        EXPECT_EQ(status, STATUS_CANT_WRITE_OUTPUT);
        EXPECT_EQ(fake::file("font.bin"), FONT.substr(0, nth - 1));
        check_outcome(status, fake::WRITE_FILE);
    }
}

TEST_F(FaultSweep, RefusedArgumentBlocksEndWithoutCrash)
{
    for (int nth : {1, 2}) {
        SCOPED_TRACE(nth);
        fake::reset();
        fake::fail_call(fake::HEAP_ALLOC, nth);
        EXPECT_EQ(run_once(), STATUS_NO_MEMORY);
        EXPECT_FALSE(fake::has_file("font.bin"));
        EXPECT_EQ(fake::live_blocks(), 0);
    }
}

}  // namespace
