#include "row.h"

// The plain comparison, not a call of a helper: on glyphrow's per-byte path
// the helper's shape costs it a measurable instruction a byte.
bool is_row_piece(const char *piece)
{
    char first = piece[0];
    return first == INK || first == BLANK_SPACE || first == BLANK_STOP;
}

// Cell 1 is bit 5, cell 6 is bit 0; only "*" is ink.
int row_byte(const char *cells)
{
    int byte = 0;
    for (int i = 0; i < ROW_CELLS; ++i)
        byte = (byte << 1) | (cells[i] == INK ? 1 : 0);
    return byte;
}

// "." rather than a space for blank: it survives editors that trim lines.
void draw_row(int byte, char *cells)
{
    for (int i = 0; i < ROW_CELLS; ++i)
        cells[i] = (byte & (0x20 >> i)) ? INK : BLANK_STOP;
}
