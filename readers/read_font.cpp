#include "readers.h"
#include "../platform/block.h"

const char TOO_LARGE_TEXT[] = "input file is larger than any glyph-row font (271 MiB): refused.";

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
        if (*count > MOST_HELD)
            return say(STATUS_NOT_A_FONT, TOO_LARGE_TEXT, nullptr);
    }
    return stream_error(font) ? STATUS_CANT_READ_INPUT : STATUS_DONE;
}
