// Any command-line bytes: the count is at least 1, the vector ends in null,
// every argument lies inside the argument block with its terminator, and
// nothing is read past the line's terminator (the fake holds the line in a
// block of exactly its size, so AddressSanitizer sees any over-read).
#include "../platform/fake/fake_kernel32.h"
#include "../startup/startup.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string line(reinterpret_cast<const char *>(data), size);
    line = line.substr(0, line.find('\0'));
    fake::reset();
    fake::set_command_line(line);

    int count = 0;
    char **vector = split_command_line(&count);
    if (!vector || count < 1 || vector[count] != nullptr)
        std::abort();
    const char *block = vector[0];
    const char *block_end = block + line.size() + 1;
    size_t copied = 0;
    for (int i = 0; i < count; ++i) {
        size_t length = std::strlen(vector[i]);
        if (vector[i] < block || vector[i] + length >= block_end)
            std::abort();
        if (i > 0 && vector[i] != vector[i - 1] + std::strlen(vector[i - 1]) + 1)
            std::abort();  // arguments stand one after another
        if (std::memchr(vector[i], '"', length))
            std::abort();  // a quote is never copied
        copied += length;
    }
    if (copied > line.size())
        std::abort();
    fake::reset();
    return 0;
}
