#include "stream.h"

// Reads one line piece: at most limit - 1 bytes, ending after a line feed,
// which stays in the buffer. Bytes past the terminator are left alone.
char *stream_gets(char *buffer, int limit, Stream *stream)
{
    if (limit < 1)
        return nullptr;  // no room even for the terminator
    if (stream_at_end(stream)) {
        buffer[0] = 0;
        return nullptr;
    }
    int stored = 0;
    while (stored < limit - 1) {
        int byte = stream_getc(stream);
        if (byte == STREAM_EOF)
            break;
        buffer[stored++] = static_cast<char>(byte);
        if (byte == LINE_FEED)
            break;
    }
    buffer[stored] = 0;
    return buffer;
}
