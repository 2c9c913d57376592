#include "readers.h"
#include "../platform/block.h"

namespace {

// The next block, in the block's place.
DWORD next_block(Input &in)
{
    in.at = 0;
    in.end = input_read(in, in.block, BLOCK_SIZE);
    return in.end;
}

bool begin(Input &in, const char *name, Source source)
{
    in.name = name;
    in.source = source;
    in.inflate = nullptr;
    in.at = in.end = 0;
    in.buffers = static_cast<InputBuffers *>(block_alloc(sizeof(InputBuffers)));
    if (!in.buffers)
        return false;
    in.block = in.buffers->block;
    input_fill(in);
    return true;
}

}  // namespace

bool input_begin(Input &in, const char *name, Stream *stream)
{
    return begin(in, name, source_of_stream(stream));
}

bool input_begin_bytes(Input &in, const char *name, const unsigned char *bytes, DWORD size)
{
    return begin(in, name, source_of_bytes(bytes, size));
}

DWORD input_read(Input &in, unsigned char *to, DWORD n)
{
    return in.inflate ? inflate_read(*in.inflate, to, n) : source_read(in.source, to, n);
}

// A platform call a block, never a byte.
int input_byte(Input &in)
{
    if (in.at == in.end && next_block(in) == 0)
        return STREAM_EOF;
    return in.block[in.at++];
}

bool input_skip(Input &in, DWORD n)
{
    while (n > in.end - in.at) {
        n -= in.end - in.at;
        if (next_block(in) == 0)
            return false;
    }
    in.at += n;
    return true;
}

bool input_rewind(Input &in)
{
    in.at = in.end = 0;
    return source_rewind(in.source);
}

void input_fill(Input &in)
{
    while (in.end < BLOCK_SIZE) {
        DWORD got = input_read(in, in.block + in.end, BLOCK_SIZE - in.end);
        if (got == 0)
            break;
        in.end += got;
    }
}

// A gzip stream is read once, as it inflates.
bool input_seekable(const Input &in)
{
    return !in.inflate && source_seekable(in.source);
}

bool input_failed(const Input &in)
{
    return source_failed(in.source) || (in.inflate && in.inflate->damage);
}

int input_hold(Input &in, unsigned char **all, DWORD *size, Report &report)
{
    DWORD capacity = BLOCK_SIZE, used = 0;
    *all = static_cast<unsigned char *>(block_alloc(capacity));
    if (!*all)
        return fault(report, STATUS_NO_MEMORY, nullptr);
    for (;;) {
        for (; in.at < in.end; ++in.at) {
            if (used == MOST_HELD)
                return fault(report, STATUS_NOT_A_FONT, TOO_LARGE_TEXT);
            if (used == capacity && !block_grow(all, &capacity, used))
                return fault(report, STATUS_NO_MEMORY, nullptr);
            (*all)[used++] = in.block[in.at];
        }
        if (next_block(in) == 0)
            break;
    }
    *size = used;
    return input_failed(in) ? fault(report, STATUS_CANT_READ_INPUT, CANT_READ_INPUT_TEXT) : STATUS_DONE;
}

// Inflates from the source's first byte on, the first block that was read
// to tell the input's kind taken as the compressed input's beginning.
bool input_inflate(Input &in)
{
    static_assert(static_cast<DWORD>(BLOCK_SIZE) <= static_cast<DWORD>(GZIP_BLOCK_SIZE), "the first block is the compressed input's first");
    in.inflate = static_cast<Inflate *>(block_alloc(sizeof(Inflate)));
    if (!in.inflate || !inflate_begin(*in.inflate, &in.source)) {
        if (in.inflate)
            block_free(in.inflate);
        in.inflate = nullptr;
        return false;
    }
    unsigned char *compressed = in.inflate->in;
    for (DWORD i = 0; i < in.end; ++i)
        compressed[i] = in.block[i];
    in.inflate->in_end = in.end;
    in.at = in.end = 0;
    return true;
}

void input_end(Input &in)
{
    if (in.inflate) {
        inflate_end(*in.inflate);
        block_free(in.inflate);
    }
    in.inflate = nullptr;
    if (in.buffers)
        block_free(in.buffers);
    in.buffers = nullptr;
}
