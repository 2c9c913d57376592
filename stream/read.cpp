#include "stream.h"
#include "read_text.h"

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

// Every source byte passes through here, so the binary path is kept to a
// single call; text mode's carriage returns are dealt with out of line.
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
