// convert_main over the POSIX layer, on real files in a scratch folder.
#include "../convert/convert.h"
#include "../stream/stream.h"
#include "scratch.h"

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

class PosixConvert : public ::testing::Test {
protected:
    Scratch dir;
    int out_fd = -1;

    void SetUp() override
    {
        out_fd = open(dir.path("stdout").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
        stdout_stream = Stream{reinterpret_cast<HANDLE>(static_cast<intptr_t>(out_fd)), platform_text_crlf ? 0u : STREAM_BINARY, 0};  // as start-up binds it
    }
    void TearDown() override { close(out_fd); }

    int convert(const std::string &source, const std::string &font)
    {
        std::string a0 = "glyphrow", a1 = source, a2 = font;
        char *argv[] = {&a0[0], &a1[0], &a2[0], nullptr};
        return convert_main(3, argv);
    }
    std::string output() { return read_file(dir.path("stdout")); }
};

TEST_F(PosixConvert, ConvertsRealFiles)
{
    write_file(dir.path("src.txt"), "A\r\n*....*\r\n ****\n");
    EXPECT_EQ(convert(dir.path("src.txt"), dir.path("font.bin")), STATUS_DONE);
    EXPECT_EQ(read_file(dir.path("font.bin")), "\x21\x1e");
    EXPECT_EQ(output(), "");
}

TEST_F(PosixConvert, ExistingFontFileIsReplacedWhole)
{
    write_file(dir.path("src.txt"), "******\n");
    write_file(dir.path("font.bin"), "a much longer old font file");
    EXPECT_EQ(convert(dir.path("src.txt"), dir.path("font.bin")), STATUS_DONE);
    EXPECT_EQ(read_file(dir.path("font.bin")), "\x3f");
}

struct SameFileCase {
    const char *name;
    bool hard_link;
};

TEST_F(PosixConvert, SameFileAsSourceAndFontIsRefusedUntouched)
{
    const std::string source = "******\n*.....\n";
    for (SameFileCase c : {SameFileCase{"same name", false}, SameFileCase{"hard link", true}}) {
        SCOPED_TRACE(c.name);
        write_file(dir.path("src.txt"), source);
        std::string font = dir.path("src.txt");
        if (c.hard_link) {
            font = dir.path("link.txt");
            unlink(font.c_str());
            ASSERT_EQ(link(dir.path("src.txt").c_str(), font.c_str()), 0);
        }
        EXPECT_EQ(convert(dir.path("src.txt"), font), STATUS_CANT_OPEN_OUTPUT);
        EXPECT_EQ(read_file(dir.path("src.txt")), source);
    }
    EXPECT_EQ(output(), "can't open output file.\ncan't open output file.\n");
}

struct OpenFailure {
    const char *name;
    std::string source;
    std::string font;
    int status;
    std::string message;
};

TEST_F(PosixConvert, UnopenableFilesAndFailingDevices)
{
    write_file(dir.path("src.txt"), "******\n");
    write_file(dir.path("kept.bin"), "precious");
    mkdir(dir.path("folder").c_str(), 0700);
    const std::vector<OpenFailure> cases = {
        {"missing source", dir.path("none.txt"), dir.path("kept.bin"), STATUS_CANT_OPEN_INPUT, "can't open input file.\n"},
        {"directory as source", dir.path("folder"), dir.path("kept.bin"), STATUS_CANT_OPEN_INPUT, "can't open input file.\n"},
        {"directory as font", dir.path("src.txt"), dir.path("folder"), STATUS_CANT_OPEN_OUTPUT, "can't open output file.\n"},
        {"font in missing folder", dir.path("src.txt"), dir.path("no/font.bin"), STATUS_CANT_OPEN_OUTPUT, "can't open output file.\n"},
        {"font that can't be written", dir.path("src.txt"), "/dev/full", STATUS_CANT_WRITE_OUTPUT, "can't write output file.\n"},
        {"source that can't be read", "/proc/self/mem", dir.path("out.bin"), STATUS_CANT_READ_INPUT, "can't read input file.\n"},
    };
    for (const OpenFailure &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(ftruncate(out_fd, 0), 0);
        ASSERT_EQ(lseek(out_fd, 0, SEEK_SET), 0);
        EXPECT_EQ(convert(c.source, c.font), c.status);
        EXPECT_EQ(output(), c.message);
        EXPECT_EQ(read_file(dir.path("kept.bin")), "precious");
    }
}

TEST_F(PosixConvert, MissingSourceCreatesNoFontFile)
{
    EXPECT_EQ(convert(dir.path("none.txt"), dir.path("font.bin")), STATUS_CANT_OPEN_INPUT);
    EXPECT_FALSE(file_exists(dir.path("font.bin")));
}

TEST_F(PosixConvert, DevicesOpenAsTheyAreAndShareFreely)
{
    write_file(dir.path("src.txt"), "******\n");
    EXPECT_EQ(convert(dir.path("src.txt"), "/dev/null"), STATUS_DONE);
    HANDLE a = CreateFileA("/dev/null", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE b = CreateFileA("/dev/null", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(a, INVALID_HANDLE_VALUE);
    EXPECT_NE(b, INVALID_HANDLE_VALUE);
    CloseHandle(a);
    CloseHandle(b);
}

TEST_F(PosixConvert, AppendOpensAtTheEndAndCreatesMissingFiles)
{
    write_file(dir.path("log"), "abc");
    Stream *s = stream_open(dir.path("log").c_str(), "ab");
    ASSERT_NE(s, nullptr);
    stream_putc('d', s);
    EXPECT_EQ(stream_close(s), 0);
    EXPECT_EQ(read_file(dir.path("log")), "abcd");
    Stream *t = stream_open(dir.path("new").c_str(), "a");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(stream_close(t), 0);
    EXPECT_TRUE(file_exists(dir.path("new")));
}

struct SeekCase {
    const char *name;
    LONG distance;
    bool with_high;
    LONG high;
    DWORD method;
    DWORD result;
    LONG high_after;
};

// A sparse file of 5 GiB: no position past 4 GiB fits a 32-bit result, so
// a move there without a high part fails and leaves the position alone.
TEST_F(PosixConvert, SetFilePointerPast4GiBNeedsTheHighPart)
{
    const int64_t size = 5ll << 30;
    int fd = open(dir.path("big").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, size), 0);
    HANDLE h = reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd));
    const std::vector<SeekCase> cases = {
        {"end without high part", 0, false, 0, FILE_END, INVALID_SET_FILE_POINTER, 0},
        {"end with high part", 0, true, 0, FILE_END, 0x40000000u, 1},
        {"back 2 GiB from the end", INT32_MIN, true, -1, FILE_END, 0xC0000000u, 0},
        {"start without high part", 5, false, 0, FILE_BEGIN, 5, 0},
        {"negative low part alone is signed", -2, false, 0, FILE_CURRENT, 5, 0},
    };
    for (const SeekCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(lseek(fd, 7, SEEK_SET), 7);
        LONG high = c.high;
        DWORD got = SetFilePointer(h, c.distance, c.with_high ? &high : nullptr, c.method);
        EXPECT_EQ(got, c.result);
        if (c.with_high)
            EXPECT_EQ(high, c.high_after);
        if (got == INVALID_SET_FILE_POINTER)
            EXPECT_EQ(lseek(fd, 0, SEEK_CUR), 7);
    }
    close(fd);
}

// A write to a pipe that a signal interrupts once the pipe is full returns
// what it wrote so far; WriteFile, as on Windows, writes the rest.
void on_alarm(int) {}

TEST(PosixLayer, AnInterruptedWriteIsFinishedNotShort)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const std::string data(1 << 20, 'x');
    pid_t reader = fork();
    if (reader == 0) {
        close(fds[1]);
        usleep(300000);  // the pipe fills, and the signal comes, before a byte is read
        size_t total = 0;
        char buffer[65536];
        for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
            total += static_cast<size_t>(n);
        _exit(total == data.size() ? 0 : 1);
    }
    close(fds[0]);
    struct sigaction action = {};
    action.sa_handler = on_alarm;  // no SA_RESTART: the write returns short
    sigaction(SIGALRM, &action, nullptr);
    ualarm(100000, 0);
    DWORD put = 0;
    BOOL ok = WriteFile(reinterpret_cast<HANDLE>(static_cast<intptr_t>(fds[1])), data.data(),
                        static_cast<DWORD>(data.size()), &put, nullptr);
    close(fds[1]);
    int status = 0;
    waitpid(reader, &status, 0);
    signal(SIGALRM, SIG_DFL);
    EXPECT_TRUE(ok);
    EXPECT_EQ(put, data.size());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
