#include "stream.h"

int stream_puts(const char *text, Stream *stream)
{
    DWORD length = text_length(text);
    return stream_write(text, 1, length, stream) == length ? 0 : STREAM_EOF;
}
