#include "pick.h"

// A platform call a block, never a byte.
int input_byte(Input &in)
{
    if (in.at == in.end) {
        in.at = 0;
        in.end = stream_read_block(in.block, BLOCK_SIZE, in.stream);
        if (in.end == 0)
            return STREAM_EOF;
    }
    return in.block[in.at++];
}

bool input_skip(Input &in, DWORD n)
{
    while (n > in.end - in.at) {
        n -= in.end - in.at;
        in.at = 0;
        in.end = stream_read_block(in.block, BLOCK_SIZE, in.stream);
        if (in.end == 0)
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
