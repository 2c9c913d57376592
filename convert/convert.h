// The tool's job: a font drawn in text, one row of six cells a line, into a
// font file of one byte a row.
#ifndef GLYPHROW_CONVERT_H
#define GLYPHROW_CONVERT_H

enum : int {
    STATUS_DONE = 0,
    STATUS_USAGE = 1,
    STATUS_CANT_OPEN_SOURCE = 2,
    STATUS_CANT_OPEN_FONT = 3,
    STATUS_CANT_WRITE_FONT = 4,
    STATUS_CANT_READ_SOURCE = 5,
};

enum : int {
    LINE_LIMIT = 12,  // a line piece is at most 11 bytes
    ROW_CELLS = 6,
};

int convert_main(int argc, char **argv);

// Exposed for the tests: the byte of one row piece, and whether a piece is one.
bool is_row_piece(const char *piece);
int row_byte(const char *cells);

#endif
