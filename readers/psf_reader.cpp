#include "readers.h"
#include "../forms/forms.h"
#include "../platform/block.h"
#include "../rows/row.h"

namespace {

enum : DWORD {
    PSF1_HEADER_SIZE = 4,
    PSF1_MODE_512 = 1,
    PSF1_MODE_TABLE = 2 | 4,  // a table, or a table with sequences
    PSF1_GLYPHS = 256,
    PSF1_WIDTH = 8,
    PSF1_END = 0xFFFF,
    PSF1_SEQUENCE = 0xFFFE,
    MAX_LISTED = 0xFFFFFFFFu / sizeof(DWORD),  // list entries that a block's size can count
    NONE = 0xFFFFFFFFu,  // also: the table ran past the end of the input
    BAD_UNIT = 0xFFFFFFFEu,
    END_MARK = 0xFFFFFFFDu,
    SEQUENCE_MARK = 0xFFFFFFFCu,
};

enum : unsigned char { HELD_CUT = 0x80 };  // a held row's ink outside the cell
// The codes whose glyphs stand on the baseline (digits and capitals): their
// rows are kept whatever the range picked, so that the baseline is the
// whole font's.
enum : DWORD { STANDING_FIRST = '0', STANDING_LAST = 'Z', STANDING_CODES = STANDING_LAST - STANDING_FIRST + 1 };
enum : DWORD { HELD_FIRST = 4096 };  // bytes of held rows at first, doubled as needed

const char PSF_FONT[] = "input file is a PSF font ";
const char SIZES_DONT_FIT[] = "whose sizes don't fit together.";
const char TOO_HIGH[] = "more than 255 rows high.";
const char GLYPHS_PAST_END[] = "whose glyphs run past its end.";
const char TABLE_PAST_END[] = "whose table runs past its end.";
const char BAD_TABLE[] = "whose table is not UTF-8.";
const char AFTER_TABLE[] = "with bytes after its table.";

// The header's measures, and for each glyph the picked codes it holds: a
// list through `next`, one entry a code of the range.
struct Psf {
    bool version2;
    DWORD header_size, has_table, count, glyph_size, height, width;
    DWORD row_size;
    DWORD listed;  // glyphs that may hold a picked code
    DWORD *first;  // per glyph: its first code's offset in the range, or NONE
    DWORD *next;   // per code of the range: the glyph's next code, or NONE (in first's block)
    unsigned char *held;  // a font that can't be read twice: its glyphs, a byte a row, or null
    Report *report;
    DWORD standing_glyph[STANDING_CODES];  // each standing code's glyph, or NONE
    unsigned char *standing;  // their rows, STANDING_CODES glyphs from STANDING_FIRST
};

// "input file is a PSF font " and what is wrong with it.
int malformed(Psf &f, const char *what)
{
    return fault(*f.report, STATUS_NOT_A_FONT, what, PSF_FONT);
}

// A read failure ends the run as such; the end of the input is the font's
// fault.
int ended_early(Psf &f, const Input &in, const char *what)
{
    return input_failed(in) ? fault(*f.report, STATUS_CANT_READ_INPUT, CANT_READ_INPUT_TEXT) : malformed(f, what);
}

int no_memory(Psf &f)
{
    return fault(*f.report, STATUS_NO_MEMORY, nullptr);
}

bool read_le(Input &in, DWORD size, DWORD *value)
{
    *value = 0;
    for (DWORD i = 0; i < size; ++i) {
        int byte = input_byte(in);
        if (byte == STREAM_EOF)
            return false;
        *value |= static_cast<DWORD>(byte) << (8 * i);
    }
    return true;
}

// Version 1: 36 04, its mode and its glyphs' height; version 2: 72 B5 4A 86
// and seven fields of 32 bits. The magic was checked before.
int read_header(Input &in, Psf &f)
{
    DWORD h[PSF2_HEADER_SIZE / 4];  // the fields, each low byte first
    for (DWORD &field : h)
        field = 0;
    DWORD size = PSF1_HEADER_SIZE;
    for (DWORD i = 0; i < size; ++i) {
        int byte = input_byte(in);
        if (byte == STREAM_EOF)
            return ended_early(f, in, SIZES_DONT_FIT);
        h[i / 4] |= static_cast<DWORD>(byte) << (8 * (i % 4));
        size = h[0] == PSF2_MAGIC ? static_cast<DWORD>(PSF2_HEADER_SIZE) : PSF1_HEADER_SIZE;
    }
    f.version2 = size == PSF2_HEADER_SIZE;
    if (f.version2) {
        f.header_size = h[2];
        f.has_table = h[3] & PSF2_HAS_TABLE;
        f.count = h[4];
        f.glyph_size = h[5];
        f.height = h[6];
        f.width = h[7];
    } else {
        DWORD mode = h[0] >> 16 & 0xFF;
        f.header_size = size;
        f.has_table = mode & PSF1_MODE_TABLE;
        f.count = mode & PSF1_MODE_512 ? 2 * PSF1_GLYPHS : PSF1_GLYPHS;
        f.glyph_size = f.height = h[0] >> 24;
        f.width = PSF1_WIDTH;
    }
    f.row_size = f.width / 8 + (f.width % 8 != 0);  // no wrap for a width near 2^32
    if (f.height > MAX_HEIGHT)
        return malformed(f, TOO_HIGH);
    bool fits = f.header_size >= size && f.height && f.width && f.count && f.glyph_size % f.height == 0 &&
                f.glyph_size / f.height == f.row_size && f.glyph_size <= 0xFFFFFFFFu / f.count;
    if (!fits)
        return malformed(f, SIZES_DONT_FIT);
    return input_skip(in, f.header_size - size) ? STATUS_DONE : ended_early(f, in, GLYPHS_PAST_END);
}

// Both lists in one block. A font of a billion tiny glyphs would ask for
// more than a DWORD can count: that is memory it can't have.
bool make_lists(Psf &f, const Picked &p)
{
    if (f.listed > MAX_LISTED - p.count)
        return false;
    f.first = static_cast<DWORD *>(block_alloc((f.listed + p.count) * sizeof(DWORD)));
    if (!f.first)
        return false;
    f.next = f.first + f.listed;
    for (DWORD g = 0; g < f.listed; ++g)
        f.first[g] = NONE;
    return true;
}

void free_lists(Psf &f)
{
    if (f.standing)
        block_free(f.standing);
    if (f.first)
        block_free(f.first);
    if (f.held)
        block_free(f.held);
}

// The glyph holds the code, unless an earlier glyph claimed it: its rows
// are copied now where they are held, or else placed by the second pass.
void claim(Psf &f, Picked &p, DWORD glyph, DWORD code)
{
    DWORD s = code - STANDING_FIRST;
    if (code >= STANDING_FIRST && code <= STANDING_LAST && f.standing_glyph[s] == NONE)
        f.standing_glyph[s] = glyph;
    unsigned char *rows = picked_claim(p, code);
    if (!rows)
        return;
    if (f.held) {
        const unsigned char *held = f.held + glyph * f.height;
        for (DWORD r = 0; r < f.height; ++r) {
            rows[r] = held[r] & ROW_BITS;
            if (held[r] & HELD_CUT)
                p.state[picked_index_of_rows(p, rows)] |= CUT;
        }
        return;
    }
    DWORD index = picked_index_of_rows(p, rows);
    f.next[index] = f.first[glyph];
    f.first[glyph] = index;
}

// The next unit of a glyph's entry in the table: a code point, END_MARK or
// SEQUENCE_MARK; NONE at the end of the input, BAD_UNIT for a byte that
// UTF-8 can't begin or continue with.
DWORD next_unit(Input &in, const Psf &f)
{
    DWORD unit;
    if (!f.version2) {
        if (!read_le(in, 2, &unit))
            return NONE;
        return unit == PSF1_END ? END_MARK : unit == PSF1_SEQUENCE ? SEQUENCE_MARK : unit;
    }
    int byte = input_byte(in);
    if (byte == STREAM_EOF)
        return NONE;
    if (byte == PSF2_SEPARATOR || byte == PSF2_SEQUENCE)
        return byte == PSF2_SEPARATOR ? END_MARK : SEQUENCE_MARK;
    if (byte < 0x80)
        return static_cast<DWORD>(byte);
    int more = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : -1;
    if (more < 0 || byte >= 0xF8)
        return BAD_UNIT;
    unit = static_cast<DWORD>(byte) & (0x3Fu >> more);
    while (more-- > 0) {
        byte = input_byte(in);
        if (byte == STREAM_EOF)
            return NONE;
        if ((byte & 0xC0) != 0x80)
            return BAD_UNIT;
        unit = unit << 6 | (static_cast<DWORD>(byte) & 0x3F);
    }
    return unit;
}

// The codes before a glyph's first sequence are its own; a sequence of
// several code points gives none.
int read_table(Input &in, Psf &f, Picked &p)
{
    for (DWORD g = 0; g < f.count; ++g) {
        bool in_sequence = false;
        for (DWORD unit = next_unit(in, f); unit != END_MARK; unit = next_unit(in, f)) {
            if (unit == NONE)
                return ended_early(f, in, TABLE_PAST_END);
            if (unit == BAD_UNIT)
                return malformed(f, BAD_TABLE);
            in_sequence = in_sequence || unit == SEQUENCE_MARK;
            if (!in_sequence)
                claim(f, p, g, unit);
        }
    }
    if (input_byte(in) != STREAM_EOF)
        return malformed(f, AFTER_TABLE);
    return input_failed(in) ? fault(*f.report, STATUS_CANT_READ_INPUT, CANT_READ_INPUT_TEXT) : STATUS_DONE;
}

// The first pass, for a font with a table: past the glyphs to the table,
// which gives every glyph its codes. Without one, glyph i has code i.
int find_codes(Input &in, Psf &f, Picked &p)
{
    DWORD codes = p.last + 1 > STANDING_LAST + 1 ? p.last + 1 : static_cast<DWORD>(STANDING_LAST + 1);
    f.listed = f.has_table ? f.count : (f.count < codes ? f.count : codes);
    if (f.has_table && !input_skip(in, f.count * f.glyph_size))
        return ended_early(f, in, GLYPHS_PAST_END);
    if (!make_lists(f, p))
        return no_memory(f);
    if (f.has_table)
        return read_table(in, f, p);
    for (DWORD g = 0; g < f.listed; ++g)
        claim(f, p, g, g);
    return STATUS_DONE;
}

// One byte of a glyph's row as a row byte: bits 7 to 2 of its first byte
// are cells 1 to 6; ink in any other column of the glyph's width is outside
// the cell, HELD_CUT.
unsigned char row_cells(const Psf &f, DWORD column_byte, DWORD byte)
{
    DWORD columns = f.width - 8 * column_byte;
    byte &= columns >= 8 ? 0xFFu : (0xFF00u >> columns) & 0xFF;
    const DWORD below_cells = (1u << WIDE_ROW_SHIFT) - 1;
    DWORD cells = column_byte == 0 ? byte >> WIDE_ROW_SHIFT : 0;
    bool outside = column_byte == 0 ? (byte & below_cells) != 0 : byte != 0;
    return static_cast<unsigned char>(cells | (outside ? HELD_CUT : 0));
}

// A glyph's rows, read once, copied to each of its codes: a glyph may
// have thousands of codes and be thousands of bytes wide.
void place_glyph(const Psf &f, Picked &p, DWORD glyph, const unsigned char *rows)
{
    for (DWORD c = f.first[glyph]; c != NONE; c = f.next[c]) {
        for (DWORD r = 0; r < f.height; ++r)
            p.rows[c * p.height + r] = rows[r] & ROW_BITS;
        for (DWORD r = 0; r < f.height; ++r)
            if (rows[r] & HELD_CUT)
                p.state[c] |= CUT;
    }
}

// Whether the glyph is a standing code's; with its rows, they are kept.
bool keep_standing(Psf &f, DWORD glyph, const unsigned char *rows)
{
    bool standing = false;
    for (DWORD s = 0; s < STANDING_CODES; ++s) {
        if (f.standing_glyph[s] != glyph)
            continue;
        standing = true;
        for (DWORD r = 0; rows && r < f.height; ++r)
            f.standing[s * f.height + r] = rows[r] & ROW_BITS;
    }
    return standing;
}

// The rows below the baseline, as the whole font's digits and capitals
// stand.
DWORD standing_descent(const Psf &f)
{
    Font standing = {};
    standing.row_bytes = f.standing;
    standing.height = f.height;
    standing.rows = STANDING_CODES * f.height;
    standing.first = STANDING_FIRST;
    return baseline_descent(standing);
}

// A font from a pipe can't be rewound for a second pass: its glyphs are
// held, a byte a row, until the table after them gives their codes. The
// block grows with the glyphs read, never to what a header merely claims.
int hold_glyphs(Input &in, Psf &f, Picked &p)
{
    DWORD capacity = HELD_FIRST;
    f.held = static_cast<unsigned char *>(block_alloc(capacity));
    if (!f.held)
        return no_memory(f);
    for (DWORD g = 0, at = 0; g < f.count; ++g, at += f.height) {
        if (at + f.height > capacity && !block_grow(&f.held, &capacity, at))
            return no_memory(f);
        for (DWORD r = 0; r < f.height; ++r)
            f.held[at + r] = 0;
        for (DWORD i = 0; i < f.glyph_size; ++i) {
            int byte = input_byte(in);
            if (byte == STREAM_EOF)
                return ended_early(f, in, GLYPHS_PAST_END);
            f.held[at + i / f.row_size] |= row_cells(f, i % f.row_size, static_cast<DWORD>(byte));
        }
    }
    int status = read_table(in, f, p);
    for (DWORD s = 0; s < STANDING_CODES; ++s)
        if (f.standing_glyph[s] != NONE)
            keep_standing(f, f.standing_glyph[s], f.held + f.standing_glyph[s] * f.height);
    return status;
}

// The second pass (the only one without a table): the glyphs' rows.
int read_glyphs(Input &in, Psf &f, Picked &p)
{
    if (f.has_table && !(input_rewind(in) && input_skip(in, f.header_size)))
        return ended_early(f, in, GLYPHS_PAST_END);
    unsigned char rows[MAX_HEIGHT];
    for (DWORD g = 0; g < f.count; ++g) {
        if (g >= f.listed)
            return input_skip(in, (f.count - g) * f.glyph_size) ? STATUS_DONE : ended_early(f, in, GLYPHS_PAST_END);
        if (f.first[g] == NONE && !keep_standing(f, g, nullptr)) {
            if (!input_skip(in, f.glyph_size))
                return ended_early(f, in, GLYPHS_PAST_END);
            continue;
        }
        for (DWORD r = 0; r < f.height; ++r)
            rows[r] = 0;
        for (DWORD i = 0; i < f.glyph_size; ++i) {
            int byte = input_byte(in);
            if (byte == STREAM_EOF)
                return ended_early(f, in, GLYPHS_PAST_END);
            rows[i / f.row_size] |= row_cells(f, i % f.row_size, static_cast<DWORD>(byte));
        }
        place_glyph(f, p, g, rows);
        keep_standing(f, g, rows);
    }
    return STATUS_DONE;
}

}  // namespace

// The standing glyphs' rows, blank until read.
bool begin_standing(Psf &f)
{
    for (DWORD &glyph : f.standing_glyph)
        glyph = NONE;
    f.standing = static_cast<unsigned char *>(block_alloc(STANDING_CODES * f.height));
    for (DWORD i = 0; f.standing && i < STANDING_CODES * f.height; ++i)
        f.standing[i] = 0;
    return f.standing != nullptr;
}

int read_psf(Input &in, Picked &p, Report &report)
{
    Psf f = {};
    f.report = &report;
    int status = read_header(in, f);
    if (status == STATUS_DONE && !(picked_begin(p, f.height) && begin_standing(f)))
        status = no_memory(f);
    if (status == STATUS_DONE && f.has_table && !input_seekable(in))
        status = hold_glyphs(in, f, p);
    else if (status == STATUS_DONE && (status = find_codes(in, f, p)) == STATUS_DONE)
        status = read_glyphs(in, f, p);
    if (status == STATUS_DONE)
        p.descent = standing_descent(f);
    free_lists(f);
    return status;
}
