#include "stream.h"

namespace {

DWORD string_length(const char *text)
{
    DWORD length = 0;
    while (text[length])
        ++length;
    return length;
}

}  // namespace

int stream_puts(const char *text, Stream *stream)
{
    DWORD length = string_length(text);
    return stream_write(text, 1, length, stream) == length ? 0 : STREAM_EOF;
}
