#include "stream.h"

namespace {

// One ReadFile call. A failed call counts as nothing read and marks the
// stream so that the failure is never mistaken for the end of the file.
DWORD read_some(Stream *stream, unsigned char *into, DWORD n)
{
    DWORD got = 0;
    if (!ReadFile(stream->handle, into, n, &got, nullptr)) {
        stream->flags |= STREAM_ERROR;
        got = 0;
    }
    return got;
}

// Squeezes every carriage return out of bytes[0..n) in place, keeping the
// order of the rest; returns how many bytes are kept.
DWORD drop_carriage_returns(unsigned char *bytes, DWORD n)
{
    DWORD kept = 0;
    for (DWORD i = 0; i < n; ++i) {
        if (bytes[i] != CARRIAGE_RETURN)
            bytes[kept++] = bytes[i];
    }
    return kept;
}

}  // namespace

// In text mode the request is topped up after carriage returns are dropped,
// so that it still delivers n bytes while the file has them. Any short read
// ends the stream for good.
DWORD stream_read(void *destination, DWORD size, DWORD count, Stream *stream)
{
    DWORD n = size * count;
    if (n == 0 || (stream->flags & STREAM_END))
        return 0;
    unsigned char *bytes = static_cast<unsigned char *>(destination);
    DWORD total = 0;
    DWORD got = read_some(stream, bytes, n);
    while (!(stream->flags & STREAM_BINARY) && got != 0) {
        DWORD kept = drop_carriage_returns(bytes + total, got);
        if (kept == got)
            break;
        total += kept;
        got = read_some(stream, bytes + total, got - kept);
    }
    DWORD items = (total + got) / size;
    if (items != count)
        stream->flags |= STREAM_END;
    return items;
}
