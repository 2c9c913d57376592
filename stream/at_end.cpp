#include "stream.h"

// Answers whether a further read would deliver a byte, taking that byte into
// lookahead if need be, so the answer never waits for a read to fail.
int stream_at_end(Stream *stream)
{
    if (stream->flags & STREAM_LOOKAHEAD)
        return 0;
    if (stream->flags & STREAM_END)
        return 1;
    int byte = stream_getc(stream);
    if (byte == STREAM_EOF)
        return 1;
    stream->lookahead = byte;
    stream->flags |= STREAM_LOOKAHEAD;
    return 0;
}
