#include "stream.h"
#include "../platform/block.h"

// A failed close keeps the record: the caller learns of it by -1.
int stream_close(Stream *stream)
{
    if (!stream || !CloseHandle(stream->handle))
        return -1;
    block_free(stream);
    return 0;
}
