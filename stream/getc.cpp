#include "stream.h"

int stream_getc(Stream *stream)
{
    if (stream->flags & STREAM_LOOKAHEAD) {
        stream->flags &= ~STREAM_LOOKAHEAD;
        return stream->lookahead;
    }
    unsigned char byte;  // looked at only when a byte was delivered
    if (!(stream->flags & STREAM_END))
        stream_read(&byte, 1, 1, stream);
    if (stream->flags & STREAM_END)
        return STREAM_EOF;
    return byte;
}
