// The readers of fonts of other kinds, for any tool of the family: a BDF,
// PSF or PCF font, gzip-compressed or not, read whole into the glyphs of a
// range of codes, each placed in a cell six wide.
#ifndef GLYPHROW_READERS_H
#define GLYPHROW_READERS_H

#include "../startup/report.h"
#include "../stream/stream.h"
#include "code_pages.h"
#include "../deflate/inflate.h"

enum : int {
    STATUS_NOT_A_FONT = 7,  // not BDF, PSF or PCF, or malformed or damaged; nothing was written
    STATUS_INK_CUT = 8,     // written, less ink that fell outside the cell
};

enum : DWORD {
    BLOCK_SIZE = 0x10000,  // the input is read in blocks of this size
    LINE_KEEP = 1024,      // a BDF line's first bytes, kept
    TEXT_SIZE = LINE_KEEP + 1,
    REGISTRY_SIZE = 40,
};

// What the input is read into: a block of it at a time, and the first
// bytes of a BDF's line.
struct InputBuffers {
    unsigned char block[BLOCK_SIZE];
    char line[TEXT_SIZE];
};

// The input, a block at a time: its own bytes (a file, standard input, or
// bytes in memory), or what a gzip stream among them inflates to. It owns
// its buffers and its inflater, from input_begin to input_end.
struct Input {
    const char *name;  // as the command line gave it, for messages about a line
    Source source;
    Inflate *inflate;  // a gzip stream's, or null
    InputBuffers *buffers;
    unsigned char *block;  // the buffers' block
    DWORD at, end;
};
// An input of the stream, or of bytes in memory, its first block read as
// full as the input fills it (a pipe gives a few bytes at a time), so that
// its kind is told by its content; false for want of memory.
bool input_begin(Input &in, const char *name, Stream *stream);
bool input_begin_bytes(Input &in, const char *name, const unsigned char *bytes, DWORD size);
// The one read of the input: its source's bytes, or the inflater's.
DWORD input_read(Input &in, unsigned char *to, DWORD n);
// The first block, as full as the input fills it.
void input_fill(Input &in);
// The next byte, or STREAM_EOF at the end of the input or after a failed
// read (input_failed tells which).
int input_byte(Input &in);
// Passes over n bytes; false when the input ends first.
bool input_skip(Input &in, DWORD n);
// Back to the first byte, for a second pass, where input_seekable.
bool input_rewind(Input &in);
bool input_seekable(const Input &in);
// A failed read, or a damaged gzip stream: the input ended early.
bool input_failed(const Input &in);
// The rest of the input in one heap block that grows as it fills (to be
// freed with block_free, even on failure); STATUS_DONE, or the status that
// ends the run, reported.
int input_hold(Input &in, unsigned char **all, DWORD *size, Report &report);
// From now on the input is what the gzip stream it holds inflates to;
// false for want of memory.
bool input_inflate(Input &in);
// Its buffers and inflater go; the stream stays its opener's.
void input_end(Input &in);

// The picked glyphs: a set of codes in ascending order, gaps allowed (a
// range is the set of one run, and costs no more), each a glyph of
// `height` rows, blank until the font gives it ink, and what befell each
// code. Or a census: the codes the font has, told by a first reading, no
// rows kept.
enum : unsigned char {
    FOUND = 1,  // a glyph of the font claimed the code
    CUT = 2,    // its glyph lost ink outside the cell
};
enum : DWORD {
    CODE_SPACE = 0x110000,  // every code of Unicode, 0 to 0x10FFFF
    CODE_MAP_SIZE = CODE_SPACE / 8,  // a bit a code
    NOT_PICKED = 0xFFFFFFFFu,
};
struct Picked {
    DWORD first, last, count;  // the set's least and greatest code, and how many it has
    DWORD *codes;              // ascending, count of them, owned; null: first to last, every one
    unsigned char *census;     // a census's map of the codes the font has, a bit a code; or null
    DWORD height;   // the font's cell, once known
    DWORD descent;  // rows below the baseline, for a BDF output
    unsigned char *rows;   // in one block with the states after them
    unsigned char *state;  // a byte a code: FOUND, CUT
    char foreign[REGISTRY_SIZE];  // a BDF's registry and encoding when not Unicode, or ""
    bool translated;  // foreign's codes were turned into Unicode's
    DWORD left_out;   // glyphs whose codes foreign has no character for
    const char *copyright, *notice;  // as the font's properties give them, or null: the texts below
    bool notice_cut;  // a notice was longer than NOTICE_KEEP
    char copyright_text[TEXT_SIZE], notice_text[TEXT_SIZE];
};

// No glyphs yet, no notices, codes of Unicode; a range, or the set of the
// codes a map has (a bit a code, CODE_MAP_SIZE bytes; false for want of
// memory), or a census into the map.
void picked_begin_range(Picked &p, DWORD first, DWORD last);
bool picked_begin_set(Picked &p, const unsigned char *map);
void picked_begin_census(Picked &p, unsigned char *map);
// Where the code's glyph is among the picked ones, or NOT_PICKED; and the
// code of the glyph at an index.
DWORD picked_index(const Picked &p, DWORD code);
DWORD picked_code_at(const Picked &p, DWORD index);
// A map of CODE_MAP_SIZE bytes, all clear (null for want of memory); a code's bit.
unsigned char *code_map_begin(void);
inline void code_map_set(unsigned char *map, DWORD code)
{
    map[code >> 3] = static_cast<unsigned char>(map[code >> 3] | 1u << (code & 7));
}
inline bool code_map_has(const unsigned char *map, DWORD code)
{
    return map[code >> 3] >> (code & 7) & 1;
}

// A maker's notice as BDF quotes it (n bytes at `to`), kept to
// NOTICE_KEEP bytes: the most that a BDF line keeps after "COPYRIGHT ",
// so that a BDF written with it reads back whole. A longer one, or one
// whose line was cut already, is cut there, its quote closed, and noted.
enum : DWORD { NOTICE_KEEP = LINE_KEEP - 10 };
const char *keep_notice(Picked &p, char *to, DWORD n, bool cut);

// Makes the blank glyphs once the height is known (none for a census);
// false for want of memory.
bool picked_begin(Picked &p, DWORD height);
void picked_end(Picked &p);
// The rows of the glyph for code, if the set has it and no glyph has
// claimed it before (the first claim keeps it); null otherwise, and always
// for a census, which notes the code.
unsigned char *picked_claim(Picked &p, DWORD code);

// The codes of a font whose registry is in the note (foreign) and whose
// encoding is given: Unicode's for a font without a registry or of
// ISO10646 (with any encoding, the note then emptied), turned into
// Unicode's for one of the 8-bit encodings (the page returned), and
// otherwise taken as they stand, said. The note becomes "KOI8-R".
const CodePage *choose_codes(Picked &p, const char *encoding);
// A glyph's code in Unicode by the page (none: as it stands); NO_CHARACTER,
// counted as left out, where the page has none.
DWORD picked_code(Picked &p, const CodePage *page, DWORD code);
// An ink pixel of the claimed glyph whose rows these are, at a row and
// cell of the cell; ink outside it cuts the glyph.
void place_ink(Picked &p, unsigned char *rows, int row, int cell);
// The index of the claimed glyph whose rows these are.
DWORD picked_index_of_rows(const Picked &p, const unsigned char *rows);

// Each reads the whole font and fills the picked glyphs. Returns
// STATUS_DONE, or the status that ends the run, its fault reported; a
// reader prints nothing.
int read_bdf(Input &in, Picked &p, Report &report);
int read_psf(Input &in, Picked &p, Report &report);
int read_pcf(Input &in, Picked &p, Report &report);

// The font begun, whatever kind it is but a glyph-row font, read into the
// picked glyphs. Returns STATUS_DONE, or the status that ends the run, its
// fault reported.
int read_picked(Input &in, Picked &p, Report &report);

// One character of a text at `at` (before `end`), moving past it: UTF-8,
// and any other byte Latin-1, as every tool reads a text.
DWORD next_text_code(const unsigned char *&at, const unsigned char *end);

// A glyph-row font file read whole into a block that grows as needed,
// before anything is written. Stores the block (to be freed with
// block_free, even on failure; null when none could be had) and its byte
// count; returns STATUS_DONE or the status that ends the run.
// An input read whole is held only up to the largest glyph-row font that
// has a meaning, every code of Unicode in 255 rows (271 MiB): past it, it
// is refused with one line (STATUS_NOT_A_FONT), never read until memory
// runs out.
enum : DWORD {
    FIRST_BLOCK = 4096,  // the font is read into a block this big at first
    MOST_HELD = 0x110000u * 255,
};
extern const char TOO_LARGE_TEXT[];
int read_font(Stream *font, unsigned char **rows, DWORD *count, Report &report);

#endif
