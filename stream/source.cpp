#include "stream.h"

Source source_of_stream(Stream *stream)
{
    Source s = {stream, nullptr, 0, 0};
    return s;
}

Source source_of_bytes(const unsigned char *bytes, DWORD size)
{
    Source s = {nullptr, bytes, size, 0};
    return s;
}

// A stream a platform call a block; bytes in memory as they lie.
DWORD source_read(Source &s, unsigned char *to, DWORD n)
{
    if (s.stream)
        return stream_read_block(to, n, s.stream);
    DWORD left = s.size - s.taken, got = n < left ? n : left;
    for (DWORD i = 0; i < got; ++i)
        to[i] = s.bytes[s.taken + i];
    s.taken += got;
    return got;
}

bool source_failed(const Source &s)
{
    return s.stream && stream_error(s.stream);
}

bool source_seekable(const Source &s)
{
    return !s.stream || stream_seekable(s.stream);
}

bool source_rewind(Source &s)
{
    s.taken = 0;
    return !s.stream || stream_rewind(s.stream) == 0;
}
