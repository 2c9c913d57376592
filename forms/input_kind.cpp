#include "forms.h"
#include "../rows/row.h"

namespace {

const unsigned char PNG_SIGNATURE[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
const unsigned char GZIP_MAGIC[] = {0x1F, 0x8B};
const char BDF_START[] = "STARTFONT";

bool starts_with(const unsigned char *bytes, DWORD n, const unsigned char *magic, DWORD size)
{
    if (n < size)
        return false;
    for (DWORD i = 0; i < size; ++i)
        if (bytes[i] != magic[i])
            return false;
    return true;
}

DWORD le32_at(const unsigned char *b)
{
    return b[0] | static_cast<DWORD>(b[1]) << 8 | static_cast<DWORD>(b[2]) << 16 | static_cast<DWORD>(b[3]) << 24;
}

bool is_line_end(unsigned char c)
{
    return c == LINE_FEED || c == CARRIAGE_RETURN;
}

// Printable bytes (8-bit text, so a label may be UTF-8), tabs and line ends.
bool is_text(unsigned char c)
{
    return (c >= ' ' && c != 0x7F) || c == '\t' || is_line_end(c);
}

// Text whose lines include rows: a line that begins with a cell.
bool is_drawing(const unsigned char *bytes, DWORD n)
{
    bool rows = false, line_start = true;
    for (DWORD i = 0; i < n; ++i) {
        unsigned char c = bytes[i];
        if (!is_text(c))
            return false;
        char piece[2] = {static_cast<char>(c), 0};
        rows = rows || (line_start && is_row_piece(piece));
        line_start = c == LINE_FEED;
    }
    return rows;
}

// Each byte a row of six cells (bits 7 and 6 clear); of those, a file of
// nothing but cells and line ends, with a cell and a line end, is a
// drawing still.
InputKind row_kind(const unsigned char *bytes, DWORD n)
{
    bool cells_alone = true, cell = false, line_end = false;
    for (DWORD i = 0; i < n; ++i) {
        char piece[2] = {static_cast<char>(bytes[i]), 0};
        cell = cell || is_row_piece(piece);
        cells_alone = cells_alone && (is_row_piece(piece) || is_line_end(bytes[i]));
        line_end = line_end || bytes[i] == LINE_FEED;
    }
    return cells_alone && cell && line_end ? INPUT_DRAWING : INPUT_ROW_FONT;
}

bool all_rows(const unsigned char *bytes, DWORD n)
{
    for (DWORD i = 0; i < n; ++i)
        if (bytes[i] > ROW_BITS)
            return false;
    return true;
}

bool is_bdf(const unsigned char *bytes, DWORD n)
{
    DWORD i = 0;
    while (i < n && (bytes[i] == ' ' || bytes[i] == '\t'))
        ++i;
    return starts_with(bytes + i, n - i, reinterpret_cast<const unsigned char *>(BDF_START), sizeof BDF_START - 1);
}

}  // namespace

// The formats' own marks first; a font of rows before PSF 1's two-byte
// magic, which rows can begin with too.
InputKind input_kind(const unsigned char *bytes, DWORD n)
{
    if (starts_with(bytes, n, PNG_SIGNATURE, sizeof PNG_SIGNATURE))
        return INPUT_PNG;
    if (starts_with(bytes, n, GZIP_MAGIC, sizeof GZIP_MAGIC))
        return INPUT_GZIP;
    if (n >= 4 && le32_at(bytes) == PSF2_MAGIC)
        return INPUT_PSF;
    if (n >= 4 && le32_at(bytes) == PCF_MAGIC)
        return INPUT_PCF;
    if (is_bdf(bytes, n))
        return INPUT_BDF;
    if (all_rows(bytes, n))
        return row_kind(bytes, n);
    if (n >= 2 && (bytes[0] | bytes[1] << 8) == PSF1_MAGIC)
        return INPUT_PSF;
    return is_drawing(bytes, n) ? INPUT_DRAWING : INPUT_UNKNOWN;
}
