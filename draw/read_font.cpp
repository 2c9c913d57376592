#include "draw.h"
#include "../platform/block.h"
#include "../rows/row.h"

namespace {

enum : DWORD { LARGEST_BLOCK = 0x80000000u };  // the row count stays a DWORD

// Doubles the block, keeping its first `used` bytes; false, the old block
// kept, for want of memory.
bool grow(unsigned char **block, DWORD *capacity, DWORD used)
{
    if (*capacity >= LARGEST_BLOCK)
        return false;
    unsigned char *bigger = static_cast<unsigned char *>(block_alloc(2 * *capacity));
    if (!bigger)
        return false;
    for (DWORD i = 0; i < used; ++i)
        bigger[i] = (*block)[i];
    block_free(*block);
    *block = bigger;
    *capacity *= 2;
    return true;
}

bool all_rows(const unsigned char *bytes, DWORD n)
{
    for (DWORD i = 0; i < n; ++i)
        if (bytes[i] > ROW_BITS)
            return false;
    return true;
}

}  // namespace

int read_font(Stream *font, unsigned char **rows, DWORD *count)
{
    DWORD capacity = FIRST_BLOCK;
    *count = 0;
    *rows = static_cast<unsigned char *>(block_alloc(capacity));
    if (!*rows)
        return STATUS_NO_MEMORY;
    for (;;) {
        if (*count == capacity && !grow(rows, &capacity, *count))
            return STATUS_NO_MEMORY;
        DWORD got = stream_read_block(*rows + *count, capacity - *count, font);
        if (got == 0)
            break;
        if (!all_rows(*rows + *count, got))
            return STATUS_NOT_A_FONT;
        *count += got;
    }
    return stream_error(font) ? STATUS_CANT_READ_INPUT : STATUS_DONE;
}
