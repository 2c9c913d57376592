#include "pick.h"
#include "../platform/block.h"

namespace {

unsigned char *cleared_block(DWORD n)
{
    unsigned char *block = static_cast<unsigned char *>(block_alloc(n ? n : 1));
    for (DWORD i = 0; block && i < n; ++i)
        block[i] = 0;
    return block;
}

void free_block(unsigned char *block)
{
    if (block)
        block_free(block);
}

}  // namespace

bool has_bit(const unsigned char *bits, DWORD i)
{
    return (bits[i / 8] >> (i % 8)) & 1;
}

void set_bit(unsigned char *bits, DWORD i)
{
    bits[i / 8] = static_cast<unsigned char>(bits[i / 8] | 1 << (i % 8));
}

// count is at most 0x110000 and height at most 255: the rows fit a DWORD.
bool picked_begin(Picked &p, DWORD height)
{
    p.height = height;
    p.rows = cleared_block(p.count * height);
    p.found = cleared_block(p.count / 8 + 1);
    p.cut = cleared_block(p.count / 8 + 1);
    return p.rows && p.found && p.cut;
}

void picked_end(Picked &p)
{
    free_block(p.rows);
    free_block(p.found);
    free_block(p.cut);
}

unsigned char *picked_claim(Picked &p, DWORD code)
{
    if (code < p.first || code > p.last || has_bit(p.found, code - p.first))
        return nullptr;
    set_bit(p.found, code - p.first);
    return p.rows + (code - p.first) * p.height;
}
