// Each tool's whole process, run once per platform call with exactly that
// call failing, and once per WriteFile with that write taken only in part.
// Whatever fails: no crash, no handle left open, no block lost beyond what
// the failure itself keeps, the input never written, a status of 0 only with
// the exact output file, and any other status with its message.
#include "fake_fixture.h"
#include "../startup/startup.h"

#include <map>

namespace {

const int ARGUMENT_BLOCKS = 2;  // kept until the process ends, by design

const std::map<int, std::string> MESSAGES = {
    {STATUS_CANT_OPEN_INPUT, "can't open input file.\r\n"},
    {STATUS_CANT_OPEN_OUTPUT, "can't open output file.\r\n"},
    {STATUS_CANT_WRITE_OUTPUT, "can't write output file.\r\n"},
    {STATUS_CANT_READ_INPUT, "can't read input file.\r\n"},
};

struct SweptRun {
    const char *name;
    void (*entry)(void);
    std::string command_line;
    std::string input_name, input;
    std::string output_name;
    std::string output;  // "" to take a clean run's, pinned by other tests
    std::vector<int> statuses_reached;
};

const std::vector<SweptRun> RUNS = {
    // A label, CR LF line ends, a line longer than 11 bytes whose tail is a
    // row, and a short row.
    {"glyphrow", process_start, "glyphrow src.txt font.bin", "src.txt",
     "glyph A\r\n.****.\r\n*....*\r\n******\r\nABCDEFGHIJK*.*\n*\n", "font.bin",
     "\x1e\x21\x3f\x28\x20", {2, 3, 4, 5, 6}},
    {"glyphdraw", glyphdraw_start, "glyphdraw font.bin out.txt 3 0x41", "font.bin",
     std::string("\x1e\x21\x3f\x28\x20\x00", 6), "out.txt",
     "U+0041 A\n.****.\n*....*\n******\nU+0042 B\n*.*...\n*.....\n......\n", {2, 3, 4, 5, 6}},
    {"glyphdraw's sheet", glyphdraw_start, "glyphdraw font.bin out.png 2", "font.bin",
     "\x1e\x21\x3f\x28", "out.png", "", {2, 3, 4, 5, 6}},
    {"glyphdraw's BDF", glyphdraw_start, "glyphdraw font.bin out.bdf 2", "font.bin",
     "\x1e\x21\x3f\x28", "out.bdf", "", {2, 3, 4, 5, 6}},
    {"glyphdraw's PSF", glyphdraw_start, "glyphdraw font.bin out.psf 2", "font.bin",
     "\x1e\x21\x3f\x28", "out.psf", "", {2, 3, 4, 5, 6}},
    {"glyphdraw's C", glyphdraw_start, "glyphdraw font.bin out.c 2", "font.bin",
     "\x1e\x21\x3f\x28", "out.c", "", {2, 3, 4, 5, 6}},
};

// The family names the file and why it can't be opened ("can't open input
// file src.txt: in use."); the message without them, as glyphrow says it.
std::string said_without_file(const std::string &said)
{
    for (const char *lead : {"can't open input file", "can't open output file"}) {
        std::string l = lead;
        if (said.compare(0, l.size() + 1, l + " ") == 0 && said.size() > 3 &&
            said.compare(said.size() - 3, 3, ".\r\n") == 0 && said.find('\n') == said.size() - 1)
            return l + ".\r\n";
    }
    return said;
}

int run_once(const SweptRun &r)
{
    fake::put_file(r.input_name, r.input);
    fake::set_command_line(r.command_line);
    return fake::run_process(r.entry);
}

// A failed release keeps what it failed to release.
int blocks_a_failure_may_keep(fake::Call failed)
{
    return failed == fake::HEAP_FREE || failed == fake::CLOSE_HANDLE || failed == fake::GET_PROCESS_HEAP;
}

void check_outcome(const SweptRun &r, const std::string &output, int status, fake::Call failed)
{
    EXPECT_EQ(fake::file(r.input_name), r.input);
    EXPECT_EQ(fake::writes_to(r.input_name), 0);
    EXPECT_EQ(fake::open_handles(), 0);
    EXPECT_LE(fake::live_blocks(), ARGUMENT_BLOCKS + blocks_a_failure_may_keep(failed));
    // Whatever was written is the start of the right output: no hole. (A
    // failed read ends glyphrow's source where it failed, as the end of the
    // file would, and makes a row of the piece it cut; the status says so.)
    const std::string written = fake::file(r.output_name);
    if (status != STATUS_CANT_READ_INPUT)
        EXPECT_EQ(output.substr(0, written.size()), written);
    if (status == STATUS_DONE) {
        EXPECT_EQ(written, output);
    } else if (MESSAGES.count(status)) {
        if (failed != fake::GET_STD_HANDLE)
            EXPECT_EQ(said_without_file(fake::standard_output()), MESSAGES.at(status));
    } else {
        EXPECT_EQ(status, STATUS_NO_MEMORY);
        EXPECT_TRUE(failed == fake::HEAP_ALLOC || failed == fake::GET_PROCESS_HEAP);
        // glyphrow's own rule is silence; the family says it.
        if (r.entry != process_start && failed != fake::GET_STD_HANDLE)
            EXPECT_EQ(fake::standard_output(), "not enough memory.\r\n");
    }
}

// The clean run: its calls in order, and its output.
std::vector<fake::Call> clean_run(const SweptRun &r, std::string *output)
{
    fake::reset();  // count the process's calls alone
    EXPECT_EQ(run_once(r), STATUS_DONE);
    *output = r.output.empty() ? fake::file(r.output_name) : r.output;
    EXPECT_EQ(fake::file(r.output_name), *output);
    EXPECT_FALSE(output->empty());
    return fake::call_log();
}

class FaultSweep : public FakePlatform {};

TEST_F(FaultSweep, EveryCallFailingInTurn)
{
    for (const SweptRun &r : RUNS) {
        SCOPED_TRACE(r.name);
        std::string output;
        const std::vector<fake::Call> calls = clean_run(r, &output);
        ASSERT_GT(calls.size(), r.input.size());
        std::map<int, int> statuses;
        for (size_t i = 0; i < calls.size(); ++i) {
            SCOPED_TRACE("call " + std::to_string(i + 1) + ", " + fake::call_name(calls[i]));
            fake::reset();
            fake::fail_overall_call(static_cast<int>(i + 1));
            int status = run_once(r);
            ++statuses[status];
            check_outcome(r, output, status, calls[i]);
        }
        // Each kind of failure the tool reports was reached by the sweep.
        for (int status : r.statuses_reached)
            EXPECT_GT(statuses[status], 0) << "status " << status;
    }
}

TEST_F(FaultSweep, EveryWriteTakenOnlyInPart)
{
    for (const SweptRun &r : RUNS) {
        SCOPED_TRACE(r.name);
        std::string output;
        clean_run(r, &output);
        const int writes = fake::calls(fake::WRITE_FILE);
        for (int nth = 1; nth <= writes; ++nth) {
            SCOPED_TRACE("write " + std::to_string(nth));
            fake::reset();
            fake::accept_partially(nth, 0);
            int status = run_once(r);
            EXPECT_EQ(status, STATUS_CANT_WRITE_OUTPUT);
            EXPECT_EQ(fake::writes_to(r.output_name), nth);  // none after the short one
            check_outcome(r, output, status, fake::WRITE_FILE);
        }
    }
}

TEST_F(FaultSweep, RefusedArgumentBlocksEndWithoutCrash)
{
    for (const SweptRun &r : RUNS) {
        for (int nth : {1, 2}) {
            SCOPED_TRACE(std::string(r.name) + ", block " + std::to_string(nth));
            fake::reset();
            fake::fail_call(fake::HEAP_ALLOC, nth);
            EXPECT_EQ(run_once(r), STATUS_NO_MEMORY);
            EXPECT_FALSE(fake::has_file(r.output_name));
            EXPECT_EQ(fake::live_blocks(), 0);
        }
    }
}

}  // namespace
