#include "readers.h"
#include "../platform/block.h"

const char TOO_LARGE_TEXT[] = "input file is larger than any glyph-row font (271 MiB): refused.";

int read_font(Stream *font, unsigned char **rows, DWORD *count, Report &report)
{
    DWORD capacity = FIRST_BLOCK;
    *count = 0;
    *rows = static_cast<unsigned char *>(block_alloc(capacity));
    if (!*rows)
        return fault(report, STATUS_NO_MEMORY, nullptr);
    for (;;) {
        if (*count == capacity && !block_grow(rows, &capacity, *count))
            return fault(report, STATUS_NO_MEMORY, nullptr);
        DWORD got = stream_read_block(*rows + *count, capacity - *count, font);
        if (got == 0)
            break;
        *count += got;
        if (*count > MOST_HELD)
            return fault(report, STATUS_NOT_A_FONT, TOO_LARGE_TEXT);
    }
    return stream_error(font) ? fault(report, STATUS_CANT_READ_INPUT, CANT_READ_INPUT_TEXT) : STATUS_DONE;
}
