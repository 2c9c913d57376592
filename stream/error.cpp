#include "stream.h"

// 1 once a read of this stream has failed, as opposed to reaching the end.
int stream_error(const Stream *stream)
{
    return (stream->flags & STREAM_ERROR) ? 1 : 0;
}
