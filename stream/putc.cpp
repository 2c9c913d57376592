#include "stream.h"

// Returns the value handed in, not reduced to a byte, or -1.
int stream_putc(int value, Stream *stream)
{
    unsigned char byte = static_cast<unsigned char>(value);
    return stream_write(&byte, 1, 1, stream) == 1 ? value : STREAM_EOF;
}
