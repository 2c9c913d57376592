// Deflate (RFC 1951), both ways: its tables, shared by the family's
// inflater (inflate.h) and compressor, and the compressor, which a PNG's
// image data goes through as it is painted.
#ifndef GLYPHROW_DEFLATE_H
#define GLYPHROW_DEFLATE_H

#include "../platform/kernel32.h"

enum : DWORD {
    END_OF_BLOCK = 256,
    FIRST_LENGTH = 257,
    LENGTH_CODES = 29,
    DISTANCE_CODES = 30,
    LENGTH_CODE_COUNT = 19,  // the code of code lengths
    MIN_MATCH = 3,
    MAX_MATCH = 258,
    DEFLATE_WINDOW = 0x8000,  // distances reach back 32 KiB
};

// Lengths 257 to 285 and distances 0 to 29: each code's first value and
// its extra bits; the order in which a dynamic block sends the code of code
// lengths.
extern const unsigned short LENGTH_BASE[LENGTH_CODES];
extern const unsigned char LENGTH_EXTRA[LENGTH_CODES];
extern const unsigned short DISTANCE_BASE[DISTANCE_CODES];
extern const unsigned char DISTANCE_EXTRA[DISTANCE_CODES];
extern const unsigned char LENGTH_CODE_ORDER[LENGTH_CODE_COUNT];

enum : DWORD {
    HASH_SIZE = 1u << 15,
    BLOCK_TOKENS = 0x4000,      // literals and matches a block holds at most
    DEFLATE_OUT_SIZE = 0x8000,  // compressed bytes gathered before they go out
};

// The compressor: bytes put go into a window of twice deflate's reach,
// each position's first bytes into a hash table of chains; a match found
// or a literal is a token, and a block of tokens goes out with the Huffman
// codes that suit it best. Compressed bytes gather in `out`, and the caller
// takes them (deflate_taken) once DEFLATE_OUT_SIZE of them or more are
// there, and at the end: the compressor knows nothing of where they go.
enum : DWORD {
    DEFLATE_STEP = 256,  // bytes compressed at a time: at most one block
    BLOCK_BYTES_MOST = BLOCK_TOKENS * 6 + 1024,  // 48 bits a token at most, and the codes
    DEFLATE_OUT_ROOM = DEFLATE_OUT_SIZE + 2 * BLOCK_BYTES_MOST,  // a last block and the end's
};
struct Deflate {
    unsigned char *window;  // 2 * DEFLATE_WINDOW bytes
    DWORD *head;            // HASH_SIZE: the latest position + 1 of each hash, 0 for none
    DWORD *chain;           // DEFLATE_WINDOW: the position + 1 before it with the same hash
    DWORD *tokens;          // BLOCK_TOKENS
    DWORD token_count;
    DWORD filled, at;       // bytes in the window, and the first not yet a token
    DWORD bits;
    int bit_count;
    unsigned char *out;     // DEFLATE_OUT_ROOM
    DWORD out_used;
    bool failed;            // no memory for the tables
};

bool deflate_begin(Deflate &d);
// Takes bytes until DEFLATE_OUT_SIZE compressed ones are gathered, or all
// n; returns how many it took.
DWORD deflate_put(Deflate &d, const unsigned char *bytes, DWORD n);
// The last block, and the bits of the last byte, into `out`.
void deflate_finish(Deflate &d);
// The first n bytes gathered went out; the rest move to the front.
void deflate_taken(Deflate &d, DWORD n);
void deflate_end(Deflate &d);

#endif
