// Every unit test starts on a fresh fake platform with the standard streams
// bound to it, as process start-up would bind them.
#ifndef GLYPHROW_TESTS_FAKE_FIXTURE_H
#define GLYPHROW_TESTS_FAKE_FIXTURE_H

#include "../platform/fake/fake_kernel32.h"
#include "../stream/stream.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

class FakePlatform : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::reset();
        stdin_stream = Stream{GetStdHandle(STD_INPUT_HANDLE), 0, 0};
        stdout_stream = Stream{GetStdHandle(STD_OUTPUT_HANDLE), 0, 0};
        stderr_stream = Stream{GetStdHandle(STD_ERROR_HANDLE), 0, 0};
    }
    void TearDown() override { fake::reset(); }

    // Runs a tool's main function with these arguments, name first.
    static int run_main(int (*tool_main)(int, char **), std::vector<std::string> args)
    {
        std::vector<char *> argv;
        for (std::string &a : args)
            argv.push_back(&a[0]);
        argv.push_back(nullptr);
        return tool_main(static_cast<int>(args.size()), argv.data());
    }

    // Reads a stream to its end with stream_getc.
    static std::string drain(Stream *s)
    {
        std::string got;
        for (int c; (c = stream_getc(s)) != STREAM_EOF;)
            got += static_cast<char>(c);
        return got;
    }
};

#endif
