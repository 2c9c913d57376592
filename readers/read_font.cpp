#include "readers.h"
#include "../platform/block.h"

int read_font(Stream *font, unsigned char **rows, DWORD *count)
{
    DWORD capacity = FIRST_BLOCK;
    *count = 0;
    *rows = static_cast<unsigned char *>(block_alloc(capacity));
    if (!*rows)
        return STATUS_NO_MEMORY;
    for (;;) {
        if (*count == capacity && !block_grow(rows, &capacity, *count))
            return STATUS_NO_MEMORY;
        DWORD got = stream_read_block(*rows + *count, capacity - *count, font);
        if (got == 0)
            break;
        *count += got;
    }
    return stream_error(font) ? STATUS_CANT_READ_INPUT : STATUS_DONE;
}
