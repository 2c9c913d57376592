#include "stream.h"

// Whether the stream can be rewound for a second pass: a file can, a pipe
// can't. Asking where it stands moves nothing.
bool stream_seekable(const Stream *stream)
{
    return SetFilePointer(stream->handle, 0, nullptr, FILE_CURRENT) != INVALID_SET_FILE_POINTER;
}
