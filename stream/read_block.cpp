#include "stream.h"

// A reader in blocks takes what one ReadFile call gives, however little (a
// pipe gives what it has at the moment), not a whole count as stream_read
// would, which ends the stream at the first short read. Returns how many
// bytes came: 0 only at the end, which is then sticky, or after a failed
// read (stream_error tells which). No line ends are translated.
DWORD stream_read_block(void *destination, DWORD n, Stream *stream)
{
    unsigned char *bytes = static_cast<unsigned char *>(destination);
    if (n == 0)
        return 0;
    if (stream->flags & STREAM_LOOKAHEAD) {
        stream->flags &= ~STREAM_LOOKAHEAD;
        bytes[0] = static_cast<unsigned char>(stream->lookahead);
        return 1;
    }
    if (stream->flags & STREAM_END)
        return 0;
    DWORD got = 0;
    // A pipe whose writer has gone ends so on Windows: that is its end.
    if (!ReadFile(stream->handle, bytes, n, &got, nullptr)) {
        if (GetLastError() != ERROR_BROKEN_PIPE)
            stream->flags |= STREAM_ERROR;
        got = 0;
    }
    if (got == 0)
        stream->flags |= STREAM_END;
    return got;
}
