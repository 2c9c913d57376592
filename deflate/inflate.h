// A gzip stream (RFC 1952) of one or more members, inflated (RFC 1951:
// stored, fixed and dynamic Huffman blocks) as it is read: a reader pulls
// the next bytes of what it holds, a block at a time, and memory is the
// window of 32 KiB, the compressed block and the tables, whatever the size.
#ifndef GLYPHROW_INFLATE_H
#define GLYPHROW_INFLATE_H

#include "deflate.h"
#include "../stream/stream.h"

enum : DWORD {
    GZIP_BLOCK_SIZE = 0x10000,  // compressed bytes read at a time
    MOST_INFLATED = 256u << 20,  // all members together; past it, a bomb
    FAST_BITS = 9,             // codes this long or shorter decode by one look-up
    MOST_LITERALS = 288,
    MOST_DISTANCES = 32,
};
enum : int { LONGEST_CODE = 15 };

// A canonical Huffman code: how many codes of each length and the symbols
// in code order, and for codes of up to FAST_BITS, a table by the next
// FAST_BITS bits of input (bit order reversed, as deflate packs them) of
// the symbol and its length, 0 for a longer code.
struct Huffman {
    unsigned short count[LONGEST_CODE + 1];
    unsigned short symbol[MOST_LITERALS];
    unsigned short fast[1u << FAST_BITS];
};

struct Inflate {
    Source *source;     // the compressed bytes
    unsigned char *in;  // GZIP_BLOCK_SIZE compressed bytes, then the window
    DWORD in_at, in_end;
    DWORD bits;         // bits taken from the input, not yet used, low first
    int bit_count;
    unsigned char *window;
    DWORD member_size;  // bytes inflated of this member: distances reach no further back
    DWORD total;        // of every member
    DWORD members;      // begun
    DWORD crc;
    int state;
    bool last_block;
    DWORD left;         // a stored block's bytes, or a match's, still to come
    DWORD distance;     // the match's
    const char *damage; // what is wrong with the stream, once something is
    Huffman literals, distances;
};

// "input file is a damaged gzip stream: " and then damage; or, for too
// much, GZIP_BOMB alone as damage.
extern const char GZIP_DAMAGED[];
extern const char GZIP_BOMB[];

// Begins at the source's next byte, with a heap block for the input and
// the window; false for want of memory.
bool inflate_begin(Inflate &z, Source *source);
void inflate_end(Inflate &z);
// Up to n inflated bytes: fewer only at the end of the last member, 0 then
// and after damage (z.damage says what) or a failed read (source_failed).
DWORD inflate_read(Inflate &z, unsigned char *to, DWORD n);

// Between the deflate core (inflate.cpp) and gzip's framing of it
// (gzip.cpp): where the stream stands, the first damage kept, and the
// bytes of a header or trailer, which begin at a byte.
enum InflateState { MEMBER_HEADER, BLOCK_HEADER, STORED, CODES, MEMBER_TRAILER, FINISHED, BROKEN };
extern const char INFLATE_ENDS_INSIDE[];
bool inflate_fail(Inflate &z, const char *what);  // false
void inflate_align(Inflate &z);
int inflate_aligned_byte(Inflate &z);  // -1 at the end of the input
bool inflate_aligned_le(Inflate &z, int bytes, DWORD *value);
// A member's header, its first byte read, then its blocks; its trailer,
// then the next member or the end.
bool gzip_member_header(Inflate &z, int first);
bool gzip_member_trailer(Inflate &z);

#endif
