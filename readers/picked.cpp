#include "readers.h"
#include "../rows/row.h"
#include "../platform/block.h"

void picked_begin_range(Picked &p, DWORD first, DWORD last)
{
    p.first = first;
    p.last = last;
    p.count = last - first + 1;
    p.codes = nullptr;
    p.census = nullptr;
    p.height = p.descent = p.left_out = 0;
    p.rows = p.state = nullptr;
    p.foreign[0] = 0;
    p.translated = false;
    p.copyright = p.notice = nullptr;
    p.notice_cut = false;
}

unsigned char *code_map_begin(void)
{
    unsigned char *map = static_cast<unsigned char *>(block_alloc(CODE_MAP_SIZE));
    for (DWORD i = 0; map && i < CODE_MAP_SIZE; ++i)
        map[i] = 0;
    return map;
}

// The map read in ascending order is the set, sorted and each code once.
bool picked_begin_set(Picked &p, const unsigned char *map)
{
    DWORD count = 0;
    for (DWORD code = 0; code < CODE_SPACE; ++code)
        count += code_map_has(map, code);
    picked_begin_range(p, 0, 0);
    p.codes = static_cast<DWORD *>(block_alloc((count ? count : 1) * sizeof(DWORD)));
    if (!p.codes)
        return false;
    p.count = 0;
    for (DWORD code = 0; code < CODE_SPACE; ++code)
        if (code_map_has(map, code))
            p.codes[p.count++] = code;
    p.first = count ? p.codes[0] : 0;
    p.last = count ? p.codes[count - 1] : 0;
    return true;
}

void picked_begin_census(Picked &p, unsigned char *map)
{
    picked_begin_range(p, 0, CODE_SPACE - 1);
    p.census = map;
}

DWORD picked_index(const Picked &p, DWORD code)
{
    if (code < p.first || code > p.last || p.census)
        return NOT_PICKED;
    if (!p.codes)
        return code - p.first;
    DWORD low = 0, high = p.count;  // a binary search of the ascending codes
    while (low < high) {
        DWORD middle = low + (high - low) / 2;
        if (p.codes[middle] < code)
            low = middle + 1;
        else
            high = middle;
    }
    return low < p.count && p.codes[low] == code ? low : static_cast<DWORD>(NOT_PICKED);
}

DWORD picked_code_at(const Picked &p, DWORD index)
{
    return p.codes ? p.codes[index] : p.first + index;
}

DWORD picked_index_of_rows(const Picked &p, const unsigned char *rows)
{
    return static_cast<DWORD>(rows - p.rows) / p.height;
}

// count is at most 0x110000 and height at most 255: the rows and the
// states fit a DWORD. A census keeps no rows.
bool picked_begin(Picked &p, DWORD height)
{
    if (p.census)
        p.count = 0;
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
    if (p.codes)
        block_free(p.codes);
    p.rows = nullptr;
    p.codes = nullptr;
}

unsigned char *picked_claim(Picked &p, DWORD code)
{
    if (p.census) {
        if (code < CODE_SPACE)
            code_map_set(p.census, code);
        return nullptr;
    }
    DWORD i = picked_index(p, code);
    if (i == NOT_PICKED || p.state[i] & FOUND)
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

void place_ink(Picked &p, unsigned char *rows, int row, int cell)
{
    if (row >= 0 && row < static_cast<int>(p.height) && cell >= 0 && cell < static_cast<int>(ROW_CELLS))
        rows[row] = static_cast<unsigned char>(rows[row] | 0x20 >> cell);
    else
        p.state[picked_index_of_rows(p, rows)] |= CUT;
}
