#include "readers.h"
#include "../forms/forms.h"
#include "../platform/block.h"
#include "../rows/row.h"

// The X server's compiled font, held whole in memory: its table of
// contents, then the tables it names, each with a format word of its own
// that says its byte order (and, for bitmaps, their padding, scan unit and
// bit order). Only the tables read must lie inside the file: Debian's own
// fonts declare their last one (the BDF accelerators) past its end.
namespace {

enum : DWORD {
    PCF_PROPERTIES = 1u << 0,
    PCF_ACCELERATORS = 1u << 1,
    PCF_METRICS = 1u << 2,
    PCF_BITMAPS = 1u << 3,
    PCF_BDF_ENCODINGS = 1u << 5,
    PCF_BDF_ACCELERATORS = 1u << 8,
    TOC_ENTRY_SIZE = 16,
    HEADER_SIZE = 8,
    FORMAT_KIND = 0xFFFFFF00u,    // the format proper, beside the bit layout below
    COMPRESSED_METRICS = 0x100u,  // in metrics; in accelerators, ink bounds follow
    MSB_BYTE_FIRST = 1u << 2,
    MSB_BIT_FIRST = 1u << 3,
    PROPERTY_SIZE = 9,
    METRIC_SIZE = 12,
    COMPRESSED_METRIC_SIZE = 5,
    COMPRESSED_OFFSET = 0x80,
    ACCELERATOR_FLAGS = 8,
    NO_GLYPH = 0xFFFF,  // so a glyph that has a code is below it
    BYTE_MOST = 0xFF,   // each part of a code is a byte
    QUOTED_KEEP = TEXT_SIZE - 2,  // room for the closing quote and the terminator
};

const char PCF_FONT[] = "input file is a PCF font ";
const char NO_CONTENTS[] = "whose table of contents runs past its end.";
const char TABLE_PAST_END[] = "whose tables run past its end.";
const char NOT_FITTING[] = "whose counts or offsets don't fit.";
const char BITMAP_OUTSIDE[] = "whose glyph bitmaps lie outside its bitmap table.";
const char UNKNOWN_FORMAT[] = "in a format this reader doesn't know.";
const char TABLE_MISSING[] = "without metrics, bitmaps or encodings.";
const char TOO_HIGH[] = "more than 255 rows high.";
const char NO_ROWS[] = "whose cell has no rows.";
const char NEGATIVE_METRICS[] = "whose glyph metrics are negative.";
const char TABLES_OVERLAP[] = "whose tables overlap.";

// A table: where it begins and ends in the file, its format, and a reading
// position within it.
struct Table {
    const unsigned char *at, *end;
    DWORD format;
};

// A glyph's box as BDF's BBX gives it: width, height, x and y offsets.
enum { WIDTH, HEIGHT, X, Y, BOX_NUMBERS };

struct Pcf {
    const unsigned char *bytes;
    DWORD size;
    Table properties, accelerators, metrics, bitmaps, encodings;
    int cell[BOX_NUMBERS];
    Report *report;  // what is wrong, the first fault found
};

DWORD le32(const unsigned char *b)
{
    return b[0] | static_cast<DWORD>(b[1]) << 8 | static_cast<DWORD>(b[2]) << 16 | static_cast<DWORD>(b[3]) << 24;
}

// A number of `size` bytes at the table's position, in its byte order; the
// position moves past it. False when the table ends first.
bool number(Table &t, DWORD size, DWORD *value)
{
    if (static_cast<DWORD>(t.end - t.at) < size)
        return false;
    *value = 0;
    for (DWORD i = 0; i < size; ++i)
        *value |= static_cast<DWORD>(t.at[i]) << (8 * (t.format & MSB_BYTE_FIRST ? size - 1 - i : i));
    t.at += size;
    return true;
}

int signed16(DWORD value)
{
    return static_cast<int>(value & 0xFFFF) - (value & 0x8000 ? 0x10000 : 0);
}

bool fail(Pcf &f, const char *wrong)
{
    fault(*f.report, STATUS_NOT_A_FONT, wrong, PCF_FONT);
    return false;
}

// Finds a table of the kind in the table of contents; one that is named must
// lie whole in the file, and begins with its format word (low byte first).
bool find_table(Pcf &f, DWORD kind, Table &t)
{
    t.at = t.end = nullptr;
    DWORD count = le32(f.bytes + 4);
    for (DWORD i = 0; i < count; ++i) {
        const unsigned char *entry = f.bytes + HEADER_SIZE + i * TOC_ENTRY_SIZE;
        if (le32(entry) != kind)
            continue;
        DWORD size = le32(entry + 8), offset = le32(entry + 12);
        if (offset > f.size || size > f.size - offset || size < 4)
            return fail(f, TABLE_PAST_END);
        t.at = f.bytes + offset + 4;
        t.end = f.bytes + offset + size;
        t.format = le32(f.bytes + offset);
        return true;
    }
    return true;
}

bool skip(Table &t, DWORD n)
{
    if (static_cast<DWORD>(t.end - t.at) < n)
        return false;
    t.at += n;
    return true;
}

// A metric: left and right bearings, width, ascent and descent.
struct Metric {
    int left, right, width, ascent, descent;
};

bool read_metric(Table &t, bool compressed, Metric &m)
{
    DWORD v[5], unused;
    for (DWORD &value : v) {
        if (!number(t, compressed ? 1 : 2, &value))
            return false;
        value = compressed ? value - COMPRESSED_OFFSET : static_cast<DWORD>(signed16(value));
    }
    m = {static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]), static_cast<int>(v[3]),
         static_cast<int>(v[4])};
    return compressed || number(t, 2, &unused);  // the attributes
}

// A glyph's box as BDF's BBX makes it of its metric.
void box_of(const Metric &m, int *box)
{
    box[WIDTH] = m.right - m.left;
    box[HEIGHT] = m.ascent + m.descent;
    box[X] = m.left;
    box[Y] = -m.descent;
}

// The least left bearing and the most of the rest, over every glyph.
bool metrics_bounds(Table m, Metric &least, Metric &most)
{
    DWORD count;
    bool compressed = m.format & COMPRESSED_METRICS;
    if (!number(m, compressed ? 2 : 4, &count) || !count)
        return false;
    for (DWORD i = 0; i < count; ++i) {
        Metric g;
        if (!read_metric(m, compressed, g))
            return false;
        if (i == 0)
            least = most = g;
        least.left = g.left < least.left ? g.left : least.left;
        most.right = g.right > most.right ? g.right : most.right;
        most.ascent = g.ascent > most.ascent ? g.ascent : most.ascent;
        most.descent = g.descent > most.descent ? g.descent : most.descent;
    }
    return true;
}

// The cell, as BDF's FONTBOUNDINGBOX is made of a PCF: the accelerators'
// least and most bounds where the font has them (eight flags, the font's
// ascent, descent and overlap, then the bounds, uncompressed), else the
// bounds of every glyph's metrics.
bool find_cell(Pcf &f)
{
    Table t = f.accelerators;
    Metric least, most;
    bool found = t.at ? skip(t, ACCELERATOR_FLAGS + 12) && read_metric(t, false, least) && read_metric(t, false, most)
                      : metrics_bounds(f.metrics, least, most);
    if (!found)
        return fail(f, NOT_FITTING);
    f.cell[WIDTH] = most.right - least.left;
    f.cell[HEIGHT] = most.ascent + most.descent;
    f.cell[X] = least.left;
    f.cell[Y] = -most.descent;
    return true;
}

// The bitmaps table: its offsets, a glyph each, and its data, in the
// format's padding.
struct Bitmaps {
    const unsigned char *offsets;
    const unsigned char *data;
    DWORD size;
};

DWORD row_bytes(DWORD format, const int *box)
{
    DWORD pad = 1u << (format & 3);
    return (static_cast<DWORD>(box[WIDTH]) + 8 * pad - 1) / (8 * pad) * pad;
}

bool read_bitmaps(Table t, DWORD glyphs, Bitmaps &b)
{
    DWORD count, sizes[4];
    if (!number(t, 4, &count) || count != glyphs || glyphs > static_cast<DWORD>(t.end - t.at) / 4)
        return false;
    b.offsets = t.at;
    t.at += glyphs * 4;
    for (DWORD &size : sizes)
        if (!number(t, 4, &size))
            return false;
    b.data = t.at;
    b.size = sizes[t.format & 3];
    return b.size <= static_cast<DWORD>(t.end - t.at);
}

// A string property's value: its offset in the strings that follow the
// properties, ended by a zero byte within them; null where it isn't.
const char *string_at(const Table &strings, DWORD offset)
{
    if (offset >= static_cast<DWORD>(strings.end - strings.at))
        return nullptr;
    for (const unsigned char *p = strings.at + offset; p < strings.end; ++p)
        if (!*p)
            return reinterpret_cast<const char *>(strings.at + offset);
    return nullptr;
}

void copy_text(char *to, const char *from, DWORD most)
{
    DWORD n = 0;
    for (; from[n] && n < most - 1; ++n)
        to[n] = from[n];
    to[n] = 0;
}

// A maker's notice as BDF quotes it (a quote inside doubled), as the BDF
// of the same font holds it, into the input's room for it.
const char *quote_notice(Picked &p, char *to, const char *text)
{
    DWORD n = 0;
    to[n++] = '"';
    for (; *text && n < QUOTED_KEEP - 1; ++text) {
        if (*text == '"')
            to[n++] = '"';
        to[n++] = *text;
    }
    to[n++] = '"';
    to[n] = 0;
    return keep_notice(p, to, n, *text != 0);
}

// The properties that matter: the registry and encoding, the notices.
bool read_properties(Pcf &f, Picked &p, char *encoding)
{
    Table t = f.properties, names = t;
    DWORD count, length;
    p.foreign[0] = encoding[0] = 0;
    if (!t.at)
        return true;
    if (!number(t, 4, &count) || count > static_cast<DWORD>(t.end - t.at) / PROPERTY_SIZE)
        return fail(f, NOT_FITTING);
    names.at = t.at;
    if (!skip(t, count * PROPERTY_SIZE + (count % 4 ? 4 - count % 4 : 0)) || !number(t, 4, &length) ||
        length > static_cast<DWORD>(t.end - t.at))
        return fail(f, NOT_FITTING);
    Table strings = {t.at, t.at + length, t.format};
    for (DWORD i = 0; i < count; ++i) {
        DWORD name = 0, is_string = 0, value = 0;  // each there: the count was checked
        number(names, 4, &name);
        number(names, 1, &is_string);
        number(names, 4, &value);
        const char *key = string_at(strings, name), *text = is_string ? string_at(strings, value) : nullptr;
        if (!key || (is_string && !text))
            return fail(f, NOT_FITTING);
        if (!text)
            continue;
        if (text_same(key, "CHARSET_REGISTRY"))
            copy_text(p.foreign, text, REGISTRY_SIZE / 2);
        if (text_same(key, "CHARSET_ENCODING"))
            copy_text(encoding, text, REGISTRY_SIZE / 2);
        if (text_same(key, "COPYRIGHT") && *text)
            p.copyright = quote_notice(p, p.copyright_text, text);
        if (text_same(key, "NOTICE") && *text)
            p.notice = quote_notice(p, p.notice_text, text);
    }
    return true;
}

// One glyph's bitmap, at `offset` in the bitmap data: rows padded to the
// format's unit, its bytes in scan units of 1, 2 or 4 (counted from the
// glyph's start, as FreeType and the X server swap them) in either byte
// order, each byte's bits in either order.
struct Bitmap {
    const unsigned char *data;
    DWORD row_bytes, swap, whole_units;  // a last part of a unit stays as it is
    bool msb_bit_first;
    int box[BOX_NUMBERS];
    int top, left;  // where its first row and column fall in the cell
};

Bitmap bitmap_of(const Pcf &f, const Bitmaps &b, DWORD offset, const int *box)
{
    DWORD format = f.bitmaps.format;
    DWORD unit = 1u << ((format >> 4) & 3);
    Bitmap g;
    g.data = b.data + offset;
    g.row_bytes = row_bytes(format, box);
    g.swap = unit > 1 && !(format & MSB_BYTE_FIRST) != !(format & MSB_BIT_FIRST) ? unit - 1 : 0;
    DWORD bytes = static_cast<DWORD>(box[HEIGHT]) * g.row_bytes;
    g.whole_units = bytes - bytes % unit;
    g.msb_bit_first = format & MSB_BIT_FIRST;
    for (int i = 0; i < BOX_NUMBERS; ++i)
        g.box[i] = box[i];
    g.top = (f.cell[Y] + f.cell[HEIGHT]) - (box[Y] + box[HEIGHT]);
    g.left = box[X] - f.cell[X];
    return g;
}

// The byte at `at` of the glyph's rows, as they stand before swapping.
unsigned char byte_at(const Bitmap &g, DWORD at)
{
    return g.data[at < g.whole_units ? at ^ g.swap : at];
}

int bit_of(const Bitmap &g, DWORD x)
{
    return g.msb_bit_first ? 7 - static_cast<int>(x % 8) : static_cast<int>(x % 8);
}

bool inside(int at, int size)
{
    return at >= 0 && at < size;
}

// Only the pixels that can land in the cell are visited: a glyph's box may
// be far larger than the cell it is read into.
void place_pixels(const Bitmap &g, unsigned char *rows, int height)
{
    for (int r = 0; r < g.box[HEIGHT]; ++r) {
        if (!inside(g.top + r, height))
            continue;
        for (int c = 0; c < ROW_CELLS; ++c) {
            int x = c - g.left;
            if (inside(x, g.box[WIDTH]) && byte_at(g, static_cast<DWORD>(r) * g.row_bytes + static_cast<DWORD>(x) / 8) >> bit_of(g, static_cast<DWORD>(x)) & 1)
                rows[g.top + r] = static_cast<unsigned char>(rows[g.top + r] | 0x20 >> c);
        }
    }
}

// The bits of one byte of a row that are pixels of the box (not padding)
// outside the cell's columns; for a row outside the cell, every pixel.
unsigned char outside_bits(const Bitmap &g, DWORD column_byte, bool row_inside)
{
    unsigned char bits = 0;
    for (DWORD x = column_byte * 8; x < column_byte * 8 + 8 && x < static_cast<DWORD>(g.box[WIDTH]); ++x)
        if (!row_inside || !inside(static_cast<int>(x) + g.left, ROW_CELLS))
            bits = static_cast<unsigned char>(bits | 1 << bit_of(g, x));
    return bits;
}

// Whether any ink falls outside the cell: found once a glyph, a byte at a
// time, and only for a box that reaches past the cell.
bool ink_outside(const Bitmap &g, int height)
{
    if (g.top >= 0 && g.top + g.box[HEIGHT] <= height && g.left >= 0 && g.left + g.box[WIDTH] <= static_cast<int>(ROW_CELLS))
        return false;
    DWORD full = static_cast<DWORD>(g.box[WIDTH]) / 8;  // bytes whose every bit is a pixel
    for (int r = 0; r < g.box[HEIGHT]; ++r) {
        bool row_inside = inside(g.top + r, height);
        for (DWORD xb = 0; xb * 8 < static_cast<DWORD>(g.box[WIDTH]); ++xb) {
            int x = static_cast<int>(xb * 8) + g.left;  // the byte's first column in the cell
            bool near_cell = row_inside && x < static_cast<int>(ROW_CELLS) && x + 8 > 0;
            unsigned char bits = xb < full && !near_cell ? 0xFF : outside_bits(g, xb, row_inside);
            if (byte_at(g, static_cast<DWORD>(r) * g.row_bytes + xb) & bits)
                return true;
        }
    }
    return false;
}

// A glyph is placed once, into its first code's rows; each further code
// that has it gets a copy.
void place_glyph(const Pcf &f, Picked &p, unsigned char *rows, const Bitmaps &b, DWORD offset, const int *box)
{
    Bitmap g = bitmap_of(f, b, offset, box);
    place_pixels(g, rows, static_cast<int>(p.height));
    if (ink_outside(g, static_cast<int>(p.height)))
        p.state[picked_index_of_rows(p, rows)] |= CUT;
}

void copy_glyph(Picked &p, unsigned char *rows, DWORD from)
{
    const unsigned char *source = p.rows + from * p.height;
    for (DWORD r = 0; r < p.height; ++r)
        rows[r] = source[r];
    p.state[picked_index_of_rows(p, rows)] |= p.state[from] & CUT;
}

// A glyph's offset in the bitmap data, where the data holds the whole of
// its rows; false where it doesn't.
bool glyph_offset(const Bitmaps &b, DWORD format, DWORD glyph, const int *box, DWORD *offset)
{
    DWORD bytes = static_cast<DWORD>(box[HEIGHT]) * row_bytes(format, box);
    Table t = {b.offsets + glyph * 4, b.offsets + glyph * 4 + 4, format};
    number(t, 4, offset);
    return *offset <= b.size && bytes <= b.size - *offset;
}

// A glyph's box, from its metric, and its bitmap's offset; false where the
// bitmap data doesn't hold the whole of its rows.
bool glyph_at(const Pcf &f, const Bitmaps &b, DWORD glyph, int *box, DWORD *offset)
{
    bool compressed = f.metrics.format & COMPRESSED_METRICS;
    Table m = f.metrics;
    m.at += (compressed ? 2 : 4) + glyph * (compressed ? COMPRESSED_METRIC_SIZE : METRIC_SIZE);
    Metric metric;
    read_metric(m, compressed, metric);
    box_of(metric, box);
    return box[WIDTH] >= 0 && box[HEIGHT] >= 0 && glyph_offset(b, f.bitmaps.format, glyph, box, offset);
}

// Every glyph's metric and bitmap are checked, as a BDF's every glyph is;
// then the encodings give the codes: a code a byte pair (the first byte's
// range, then the second's), each entry the glyph that has the code, or
// NO_GLYPH.
bool read_glyphs(Pcf &f, Picked &p, const CodePage *page, DWORD *placed)
{
    Table e = f.encodings, m = f.metrics;
    DWORD first2, last2, first1, last1, unused, glyphs, offset;
    bool compressed = m.format & COMPRESSED_METRICS;
    Bitmaps bitmaps;
    int box[BOX_NUMBERS];
    if (!number(e, 2, &first2) || !number(e, 2, &last2) || !number(e, 2, &first1) || !number(e, 2, &last1) ||
        !number(e, 2, &unused) || first2 > last2 || first1 > last1 || last2 > BYTE_MOST || last1 > BYTE_MOST ||
        !number(m, compressed ? 2 : 4, &glyphs) ||
        glyphs > static_cast<DWORD>(m.end - m.at) / (compressed ? COMPRESSED_METRIC_SIZE : METRIC_SIZE) ||
        !read_bitmaps(f.bitmaps, glyphs, bitmaps))
        return fail(f, NOT_FITTING);
    for (DWORD glyph = 0; glyph < glyphs; ++glyph) {
        if (!glyph_at(f, bitmaps, glyph, box, &offset))
            return fail(f, box[WIDTH] < 0 || box[HEIGHT] < 0 ? NEGATIVE_METRICS : BITMAP_OUTSIDE);
        if (glyph < NO_GLYPH)
            placed[glyph] = NO_CHARACTER;
    }
    for (DWORD high = first1; high <= last1; ++high)
        for (DWORD low = first2; low <= last2; ++low) {
            DWORD glyph;
            if (!number(e, 2, &glyph) || (glyph != NO_GLYPH && glyph >= glyphs))
                return fail(f, NOT_FITTING);
            DWORD code = glyph == NO_GLYPH ? NO_CHARACTER : picked_code(p, page, high << 8 | low);
            unsigned char *rows = code == NO_CHARACTER ? nullptr : picked_claim(p, code);
            if (!rows)
                continue;
            if (placed[glyph] != NO_CHARACTER) {
                copy_glyph(p, rows, placed[glyph]);
                continue;
            }
            glyph_at(f, bitmaps, glyph, box, &offset);
            place_glyph(f, p, rows, bitmaps, offset, box);
            placed[glyph] = picked_index_of_rows(p, rows);
        }
    return true;
}

// The table of contents and the tables read; each known format.
bool find_tables(Pcf &f)
{
    if (f.size < HEADER_SIZE || le32(f.bytes + 4) > (f.size - HEADER_SIZE) / TOC_ENTRY_SIZE)
        return fail(f, NO_CONTENTS);
    if (!find_table(f, PCF_PROPERTIES, f.properties) || !find_table(f, PCF_METRICS, f.metrics) ||
        !find_table(f, PCF_BITMAPS, f.bitmaps) || !find_table(f, PCF_BDF_ENCODINGS, f.encodings) ||
        !find_table(f, PCF_ACCELERATORS, f.accelerators))
        return false;
    if (!f.accelerators.at && !find_table(f, PCF_BDF_ACCELERATORS, f.accelerators))
        return false;
    if (!f.metrics.at || !f.bitmaps.at || !f.encodings.at)
        return fail(f, TABLE_MISSING);
    const Table *read[] = {&f.properties, &f.accelerators, &f.metrics, &f.bitmaps, &f.encodings};
    for (const Table *a : read)
        for (const Table *b : read)
            if (a != b && a->at && b->at && a->at - 4 < b->end && b->at - 4 < a->end)
                return fail(f, TABLES_OVERLAP);
    const Table *known[] = {&f.properties, &f.bitmaps, &f.encodings};
    for (const Table *t : known)
        if (t->at && (t->format & FORMAT_KIND) != 0)
            return fail(f, UNKNOWN_FORMAT);
    if ((f.metrics.format & FORMAT_KIND & ~COMPRESSED_METRICS) ||
        (f.accelerators.at && (f.accelerators.format & FORMAT_KIND & ~COMPRESSED_METRICS)))
        return fail(f, UNKNOWN_FORMAT);
    return true;
}

int read_tables(Pcf &f, Picked &p)
{
    char encoding[REGISTRY_SIZE / 2];
    if (!find_tables(f) || !find_cell(f) || !read_properties(f, p, encoding))
        return f.report->status;
    if (f.cell[HEIGHT] > static_cast<int>(MAX_HEIGHT) || f.cell[HEIGHT] < 1)
        return fault(*f.report, STATUS_NOT_A_FONT, f.cell[HEIGHT] < 1 ? NO_ROWS : TOO_HIGH, PCF_FONT);
    const CodePage *page = choose_codes(p, encoding);
    if (!picked_begin(p, static_cast<DWORD>(f.cell[HEIGHT])))
        return fault(*f.report, STATUS_NO_MEMORY, nullptr);
    int below = -f.cell[Y];
    p.descent = below < 0 ? 0 : below > f.cell[HEIGHT] ? static_cast<DWORD>(f.cell[HEIGHT]) : static_cast<DWORD>(below);
    // For each glyph that may have a code, where it was first placed.
    DWORD *placed = static_cast<DWORD *>(block_alloc(NO_GLYPH * sizeof(DWORD)));
    if (!placed)
        return fault(*f.report, STATUS_NO_MEMORY, nullptr);
    read_glyphs(f, p, page, placed);
    block_free(placed);
    return f.report->status;
}

}  // namespace

int read_pcf(Input &in, Picked &p, Report &report)
{
    unsigned char *bytes;
    Pcf f = {};
    f.report = &report;
    int status = input_hold(in, &bytes, &f.size, report);
    f.bytes = bytes;
    if (status == STATUS_DONE)
        status = read_tables(f, p);
    if (bytes)
        block_free(bytes);
    return status;
}
