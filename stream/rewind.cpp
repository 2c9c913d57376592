#include "stream.h"

// Back to the first byte, for a second pass over a file: what the first pass
// learnt (its end, its lookahead, a failed read) goes with the position.
int stream_rewind(Stream *stream)
{
    if (SetFilePointer(stream->handle, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return STREAM_EOF;
    stream->flags &= STREAM_BINARY;
    return 0;
}
