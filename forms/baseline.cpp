#include "forms.h"

namespace {

// The glyphs that stand on the baseline in every common font.
struct CodeRun {
    DWORD from, to;
};
const CodeRun STANDING[] = {{'0', '9'}, {'A', 'Z'}};
enum : DWORD { STANDING_COUNT = 10 + 26, NO_INK = 0xFFFFFFFFu };

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
    DWORD lowest[STANDING_COUNT];
    DWORD n = 0;
    for (const CodeRun &run : STANDING)
        for (DWORD code = run.from; code <= run.to; ++code)
            lowest[n++] = lowest_ink_row(font, code);
    DWORD best = NO_INK, best_count = 0;
    for (DWORD i = 0; i < n; ++i) {
        DWORD count = 0;
        for (DWORD j = 0; j < n; ++j)
            count += lowest[j] == lowest[i];
        bool lower_tie = count == best_count && lowest[i] > best;
        if (lowest[i] != NO_INK && (count > best_count || lower_tie)) {
            best = lowest[i];
            best_count = count;
        }
    }
    return best == NO_INK ? 0 : font.height - 1 - best;
}
