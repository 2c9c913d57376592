#include "convert.h"

namespace {

enum : char {
    INK = '*',
    BLANK_SPACE = ' ',
    BLANK_STOP = '.',
};

}  // namespace

// A row is a piece that begins with a cell; anything else is commentary.
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
