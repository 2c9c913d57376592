#include "stream.h"

namespace {

// One ReadFile call. A failed call counts as nothing read and marks the
// stream so that the failure is never mistaken for the end of the file.
DWORD read_some(Stream *stream, unsigned char *into, DWORD n)
{
    DWORD got = 0;
    if (!ReadFile(stream->handle, into, n, &got, nullptr)) {
        stream->flags |= STREAM_ERROR;
        return 0;
    }
    return got;
}

// Squeezes carriage returns out of bytes[0..n) in place; returns how many
// bytes are kept.
DWORD squeeze(unsigned char *bytes, DWORD n)
{
    DWORD kept = 0;
    for (DWORD i = 0; i < n; ++i) {
        if (bytes[i] != CARRIAGE_RETURN)
            bytes[kept++] = bytes[i];
    }
    return kept;
}

// Text mode: drops every carriage return from the got bytes just read and
// tops the request up with further reads, so that it still delivers got
// bytes while the file has them. Returns how many bytes were delivered.
DWORD drop_carriage_returns(Stream *stream, unsigned char *bytes, DWORD got)
{
    DWORD total = 0;
    while (got != 0) {
        DWORD kept = squeeze(bytes + total, got);
        total += kept;
        if (kept == got)
            break;
        got = read_some(stream, bytes + total, got - kept);
    }
    return total;
}

}  // namespace

// Any short read ends the stream for good.
DWORD stream_read(void *destination, DWORD size, DWORD count, Stream *stream)
{
    DWORD n = size * count;
    if (n == 0 || (stream->flags & STREAM_END))
        return 0;
    unsigned char *bytes = static_cast<unsigned char *>(destination);
    DWORD got = read_some(stream, bytes, n);
    if (got != 0 && !(stream->flags & STREAM_BINARY))
        got = drop_carriage_returns(stream, bytes, got);
    DWORD items = got / size;
    if (items != count)
        stream->flags |= STREAM_END;
    return items;
}
