#include "readers.h"
#include "../platform/block.h"

namespace {

// The next block: the stream's own bytes, or what a gzip stream inflates to.
DWORD next_block(Input &in)
{
    in.at = 0;
    in.end = in.inflate ? inflate_read(*in.inflate, in.block, BLOCK_SIZE)
                        : stream_read_block(in.block, BLOCK_SIZE, in.stream);
    return in.end;
}

}  // namespace

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
    return stream_rewind(in.stream) == 0;
}

void input_fill(Input &in)
{
    while (in.end < BLOCK_SIZE) {
        DWORD got = in.inflate ? inflate_read(*in.inflate, in.block + in.end, BLOCK_SIZE - in.end)
                               : stream_read_block(in.block + in.end, BLOCK_SIZE - in.end, in.stream);
        if (got == 0)
            break;
        in.end += got;
    }
}

// A gzip stream is read once, as it inflates.
bool input_seekable(const Input &in)
{
    return !in.inflate && stream_seekable(in.stream);
}

bool input_failed(const Input &in)
{
    return stream_error(in.stream) || (in.inflate && in.inflate->damage);
}

int input_hold(Input &in, unsigned char **all, DWORD *size)
{
    DWORD capacity = BLOCK_SIZE, used = 0;
    *all = static_cast<unsigned char *>(block_alloc(capacity));
    if (!*all)
        return STATUS_NO_MEMORY;
    for (;;) {
        for (; in.at < in.end; ++in.at) {
            if (used == MOST_HELD)
                return say(STATUS_NOT_A_FONT, TOO_LARGE_TEXT, nullptr);
            if (used == capacity && !block_grow(all, &capacity, used))
                return STATUS_NO_MEMORY;
            (*all)[used++] = in.block[in.at];
        }
        if (next_block(in) == 0)
            break;
    }
    *size = used;
    return input_failed(in) ? STATUS_CANT_READ_INPUT : STATUS_DONE;
}

// Inflates from the stream's first byte on, the first block that was read
// to tell the input's kind taken as the compressed input's beginning.
bool input_inflate(Input &in)
{
    static_assert(static_cast<DWORD>(BLOCK_SIZE) <= static_cast<DWORD>(GZIP_BLOCK_SIZE), "the first block is the compressed input's first");
    in.inflate = static_cast<Inflate *>(block_alloc(sizeof(Inflate)));
    if (!in.inflate || !inflate_begin(*in.inflate, in.stream))
        return false;
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
}
