#include "stream.h"

// No line-end translation: the caller's bytes go out as they are, in one
// call, and only all of them count as written.
bool stream_write_whole(Stream *stream, const void *data, DWORD n)
{
    DWORD put = 0;
    return n == 0 || (WriteFile(stream->handle, data, n, &put, nullptr) && put == n);
}
