#include "pick.h"
#include "../platform/block.h"

// count is at most 0x110000 and height at most 255: the rows and the
// states fit a DWORD.
bool picked_begin(Picked &p, DWORD height)
{
    DWORD glyph_rows = p.count * height, n = glyph_rows + p.count;
    p.height = height;
    p.rows = static_cast<unsigned char *>(block_alloc(n));
    for (DWORD i = 0; p.rows && i < n; ++i)
        p.rows[i] = 0;
    p.state = p.rows + glyph_rows;
    return p.rows != nullptr;
}

void picked_end(Picked &p)
{
    if (p.rows)
        block_free(p.rows);
}

unsigned char *picked_claim(Picked &p, DWORD code)
{
    DWORD i = code - p.first;
    if (code < p.first || code > p.last || p.state[i] & FOUND)
        return nullptr;
    p.state[i] = FOUND;
    return p.rows + i * p.height;
}
