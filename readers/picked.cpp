#include "readers.h"
#include "../rows/row.h"
#include "../platform/block.h"

void picked_begin_range(Picked &p, DWORD first, DWORD last)
{
    p.first = first;
    p.last = last;
    p.count = last - first + 1;
    p.height = p.descent = p.left_out = 0;
    p.rows = p.state = nullptr;
    p.foreign[0] = 0;
    p.translated = false;
    p.copyright = p.notice = nullptr;
    p.notice_cut = false;
}

// count is at most 0x110000 and height at most 255: the rows and the
// states fit a DWORD.
bool picked_begin(Picked &p, DWORD height)
{
    DWORD glyph_rows = p.count * height, n = glyph_rows + p.count;
    p.height = height;
    p.rows = static_cast<unsigned char *>(block_alloc(n));
    for (DWORD i = 0; p.rows && i < n; ++i)
        p.rows[i] = 0;
    p.state = p.rows + glyph_rows;
    return p.rows != nullptr;
}

const char *keep_notice(Picked &p, char *to, DWORD n, bool cut)
{
    if (!cut && n <= NOTICE_KEEP)
        return to;
    p.notice_cut = true;
    n = n < NOTICE_KEEP ? n : static_cast<DWORD>(NOTICE_KEEP) - 1;
    if (to[0] == '"') {
        while (n > 1 && to[n - 1] == '"')  // a doubled quote cut in half, or the closing one
            --n;
        to[n++] = '"';
    }
    to[n] = 0;
    return to;
}

void picked_end(Picked &p)
{
    if (p.rows)
        block_free(p.rows);
}

unsigned char *picked_claim(Picked &p, DWORD code)
{
    DWORD i = code - p.first;
    if (code < p.first || code > p.last || p.state[i] & FOUND)
        return nullptr;
    p.state[i] = FOUND;
    return p.rows + i * p.height;
}

// The note becomes "KOI8-R": registry and encoding.
const CodePage *choose_codes(Picked &p, const char *encoding)
{
    char *note = p.foreign, *at = note;
    bool unicode = !*note || text_same(note, "ISO10646");
    const CodePage *page = find_code_page(note, encoding);
    p.translated = page != nullptr;
    while (*at && at < note + REGISTRY_SIZE / 2 - 1)
        ++at;
    *at++ = '-';
    for (const char *e = encoding; *e && at < note + REGISTRY_SIZE - 1;)
        *at++ = *e++;
    *at = 0;
    if (unicode)
        *note = 0;
    return page;
}

DWORD picked_code(Picked &p, const CodePage *page, DWORD code)
{
    if (!page)
        return code;
    code = to_unicode(*page, code);
    p.left_out += code == NO_CHARACTER;
    return code;
}

void place_ink(Picked &p, unsigned char *rows, DWORD code, int row, int cell)
{
    if (row >= 0 && row < static_cast<int>(p.height) && cell >= 0 && cell < static_cast<int>(ROW_CELLS))
        rows[row] = static_cast<unsigned char>(rows[row] | 0x20 >> cell);
    else
        p.state[code - p.first] |= CUT;
}
