#ifndef GLYPHROW_STREAM_READ_TEXT_H
#define GLYPHROW_STREAM_READ_TEXT_H

#include "stream.h"

// Shared by the raw read and its text-mode half.
DWORD read_some(Stream *stream, unsigned char *into, DWORD n);

// Removes every carriage return from the got bytes just read into bytes,
// keeping the order of the rest, and tops the request up with further reads
// so that it still delivers got bytes while the file has them. Returns how
// many bytes were delivered. Kept out of line: inlined into the raw read,
// it would make every binary byte pay for its registers.
__attribute__((noinline, cold))
DWORD drop_carriage_returns(Stream *stream, unsigned char *bytes, DWORD got);

#endif
