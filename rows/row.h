// The drawing's rows, as every tool of the family reads and writes them:
// a source is taken in line pieces of at most 11 bytes; a piece that begins
// with a cell is a row, its first six bytes the cells, "*" ink and anything
// else blank; a row's byte holds cell 1 in bit 5 down to cell 6 in bit 0.
#ifndef GLYPHROW_ROW_H
#define GLYPHROW_ROW_H

enum : int {
    LINE_LIMIT = 12,  // a line piece is at most 11 bytes
    ROW_CELLS = 6,
    WIDE_ROW_SHIFT = 2, // BDF and PSF hold a row's cells in bits 7 to 2
    ROW_BITS = 0x3F,  // the bits a row byte may have; bits 7 and 6 are 0
    MAX_HEIGHT = 255, // the most rows a glyph may have, on a command line or in a picked font
};

enum : char {
    INK = '*',
    BLANK_SPACE = ' ',
    BLANK_STOP = '.',
};

// A row is a piece that begins with a cell; anything else is commentary.
// So a byte is a cell exactly when a piece that begins with it is a row.
bool is_row_piece(const char *piece);
int row_byte(const char *cells);
// The inverse: six cells, "*" for ink and "." for blank.
void draw_row(int byte, char *cells);

#endif
