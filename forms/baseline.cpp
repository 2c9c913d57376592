#include "forms.h"
#include "../rows/row.h"

namespace {

// The glyphs that stand on the baseline in every common font.
struct CodeRun {
    DWORD from, to;
};
const CodeRun STANDING[] = {{'0', '9'}, {'A', 'Z'}};
enum : DWORD { NO_INK = 0xFFFFFFFFu };

// The lowest row with ink of the glyph with that code, or NO_INK when the
// font doesn't hold it or it has no ink.
DWORD lowest_ink_row(const Font &font, DWORD code)
{
    if (code < font.first || code - font.first >= whole_glyphs(font))
        return NO_INK;
    const unsigned char *rows = font.row_bytes + (code - font.first) * font.height;
    for (DWORD row = font.height; row-- > 0;)
        if (rows[row] != 0)
            return row;
    return NO_INK;
}

}  // namespace

DWORD baseline_descent(const Font &font)
{
    unsigned char standing[MAX_HEIGHT + 1];  // on each row: the glyphs whose lowest ink it is
    for (DWORD row = 0; row <= MAX_HEIGHT; ++row)
        standing[row] = 0;
    for (const CodeRun &run : STANDING)
        for (DWORD code = run.from; code <= run.to; ++code) {
            DWORD row = lowest_ink_row(font, code);
            if (row != NO_INK)
                ++standing[row];
        }
    // Without ink the bottom row stays the baseline's: no descent. A tie
    // goes to the lower row, the one met later.
    DWORD best = font.height - 1;
    for (DWORD row = 0; row < font.height; ++row)
        if (standing[row] && standing[row] >= standing[best])
            best = row;
    return font.height - 1 - best;
}
