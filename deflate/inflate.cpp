#include "inflate.h"
#include "checksum.h"
#include "deflate.h"
#include "../platform/block.h"

namespace {

enum : DWORD {
    MOST_LENGTHS = 286 + DISTANCE_CODES,  // a dynamic block's literal and distance lengths
    FIXED_LITERALS = 288,
    LENGTH_SHIFT = 9,  // a fast entry: the code's length above its symbol
    SYMBOL_MASK = (1u << LENGTH_SHIFT) - 1,
};


enum : int { NO_CODE = -1, ENDED = -2 };


// What is wrong, after "input file is a damaged gzip stream: ".
const char BAD_BLOCK[] = "a block type that doesn't exist.";
const char BAD_CODE[] = "a code that doesn't exist.";
const char BAD_DISTANCE[] = "a distance before the start.";
const char BAD_STORED[] = "a stored block's length doesn't match its complement.";

}  // namespace

const char INFLATE_ENDS_INSIDE[] = "it ends inside.";

bool inflate_fail(Inflate &z, const char *what)
{
    if (!z.damage)
        z.damage = what;
    z.state = BROKEN;
    return false;
}

namespace {

// The next compressed byte, or -1 at the end of the input.
int next_byte(Inflate &z)
{
    if (z.in_at == z.in_end) {
        z.in_at = 0;
        z.in_end = source_read(*z.source, z.in, GZIP_BLOCK_SIZE);
        if (z.in_end == 0)
            return -1;
    }
    return z.in[z.in_at++];
}

// At least n bits in hand, n at most 24; false at the end of the input.
bool need(Inflate &z, int n)
{
    while (z.bit_count < n) {
        int byte = next_byte(z);
        if (byte < 0)
            return false;
        z.bits |= static_cast<DWORD>(byte) << z.bit_count;
        z.bit_count += 8;
    }
    return true;
}

DWORD take(Inflate &z, int n)
{
    DWORD value = z.bits & ((1u << n) - 1);
    z.bits >>= n;
    z.bit_count -= n;
    return value;
}

bool get_bits(Inflate &z, int n, DWORD *value)
{
    if (!need(z, n))
        return inflate_fail(z, INFLATE_ENDS_INSIDE);
    *value = take(z, n);
    return true;
}

DWORD reversed(DWORD code, int length)
{
    DWORD r = 0;
    while (length-- > 0) {
        r = r << 1 | (code & 1);
        code >>= 1;
    }
    return r;
}

// The code of the lengths: false when it is over-subscribed, or incomplete
// but for a single code of one bit (as a lone distance is sent), where
// `lone` allows it.
bool build(Huffman &h, const unsigned char *lengths, DWORD n, bool lone = true)
{
    unsigned short offset[LONGEST_CODE + 2];
    for (unsigned short &c : h.count)
        c = 0;
    for (DWORD s = 0; s < n; ++s)
        ++h.count[lengths[s]];
    int left = 1, longest = 0;
    for (int len = 1; len <= LONGEST_CODE; ++len) {
        left = 2 * left - h.count[len];
        if (left < 0)
            return false;
        longest = h.count[len] ? len : longest;
    }
    if (left > 0 && (longest > 1 || !lone))
        return false;
    offset[1] = 0;
    for (int len = 1; len <= LONGEST_CODE; ++len)
        offset[len + 1] = static_cast<unsigned short>(offset[len] + h.count[len]);
    for (unsigned short &f : h.fast)
        f = 0;
    DWORD next[LONGEST_CODE + 1], code = 0;
    for (int len = 1; len <= LONGEST_CODE; ++len) {
        code = (code + (len > 1 ? h.count[len - 1] : 0)) << 1;
        next[len] = code;
    }
    for (DWORD s = 0; s < n; ++s) {
        int len = lengths[s];
        if (!len)
            continue;
        h.symbol[offset[len]++] = static_cast<unsigned short>(s);
        DWORD c = next[len]++;
        if (len > static_cast<int>(FAST_BITS))
            continue;
        for (DWORD i = reversed(c, len); i < (1u << FAST_BITS); i += 1u << len)
            h.fast[i] = static_cast<unsigned short>(len << LENGTH_SHIFT | s);
    }
    return true;
}

// A symbol: by one look-up when its code is short, else a bit at a time
// down the canonical code. NO_CODE for a code the table lacks, ENDED at the
// end of the input.
int decode_slowly(Inflate &z, const Huffman &h)
{
    int code = 0, first = 0, index = 0;
    for (int len = 1; len <= LONGEST_CODE; ++len) {
        if (!need(z, 1))
            return ENDED;
        code |= static_cast<int>(take(z, 1));
        int count = h.count[len];
        if (code - count < first)
            return h.symbol[index + (code - first)];
        index += count;
        first = (first + count) << 1;
        code <<= 1;
    }
    return NO_CODE;
}

inline int decode(Inflate &z, const Huffman &h)
{
    need(z, FAST_BITS);  // fewer at the very end, where a short code still fits
    DWORD entry = h.fast[z.bits & ((1u << FAST_BITS) - 1)];
    int length = static_cast<int>(entry >> LENGTH_SHIFT);
    if (entry && length <= z.bit_count) {
        take(z, length);
        return static_cast<int>(entry & SYMBOL_MASK);
    }
    return decode_slowly(z, h);
}

bool fixed_codes(Inflate &z)
{
    unsigned char lengths[FIXED_LITERALS];
    for (DWORD s = 0; s < FIXED_LITERALS; ++s)
        lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
    build(z.literals, lengths, FIXED_LITERALS);
    for (DWORD s = 0; s < MOST_DISTANCES; ++s)
        lengths[s] = 5;
    build(z.distances, lengths, MOST_DISTANCES);
    return true;
}

// A dynamic block's header: its code of code lengths, then the lengths of
// its literal and distance codes, repeats and runs of zeros among them.
bool dynamic_codes(Inflate &z)
{
    DWORD literals, distances, count;
    if (!get_bits(z, 5, &literals) || !get_bits(z, 5, &distances) || !get_bits(z, 4, &count))
        return false;
    literals += FIRST_LENGTH;
    distances += 1;
    count += 4;
    if (literals > 286 || distances > DISTANCE_CODES)
        return inflate_fail(z, BAD_CODE);
    unsigned char lengths[MOST_LENGTHS];
    for (DWORD i = 0; i < LENGTH_CODE_COUNT; ++i) {
        DWORD length = 0;
        if (i < count && !get_bits(z, 3, &length))
            return false;
        lengths[LENGTH_CODE_ORDER[i]] = static_cast<unsigned char>(length);
    }
    if (!build(z.literals, lengths, LENGTH_CODE_COUNT, false))
        return inflate_fail(z, BAD_CODE);
    for (DWORD at = 0; at < literals + distances;) {
        int symbol = decode(z, z.literals);
        if (symbol < 0)
            return inflate_fail(z, symbol == ENDED ? INFLATE_ENDS_INSIDE : BAD_CODE);
        if (symbol < 16) {
            lengths[at++] = static_cast<unsigned char>(symbol);
            continue;
        }
        DWORD repeat, value = 0;
        if (symbol == 16 && at == 0)
            return inflate_fail(z, BAD_CODE);
        if (symbol == 16)
            value = lengths[at - 1];
        const int extra = symbol == 16 ? 2 : symbol == 17 ? 3 : 7;
        if (!get_bits(z, extra, &repeat))
            return false;
        repeat += symbol == 18 ? 11 : 3;
        if (at + repeat > literals + distances)
            return inflate_fail(z, BAD_CODE);
        while (repeat-- > 0)
            lengths[at++] = static_cast<unsigned char>(value);
    }
    if (lengths[END_OF_BLOCK] == 0 || !build(z.literals, lengths, literals) ||
        !build(z.distances, lengths + literals, distances))
        return inflate_fail(z, BAD_CODE);
    return true;
}

bool block_header(Inflate &z)
{
    DWORD last, type;
    if (!get_bits(z, 1, &last) || !get_bits(z, 2, &type))
        return false;
    z.last_block = last != 0;
    if (type == 0) {
        DWORD length, complement;
        inflate_align(z);
        if (!inflate_aligned_le(z, 2, &length) || !inflate_aligned_le(z, 2, &complement))
            return false;
        if (length != (~complement & 0xFFFF))
            return inflate_fail(z, BAD_STORED);
        z.left = length;
        z.state = STORED;
        return true;
    }
    if (type == 3)
        return inflate_fail(z, BAD_BLOCK);
    z.state = CODES;
    return type == 1 ? fixed_codes(z) : dynamic_codes(z);
}

inline void put(Inflate &z, unsigned char *to, DWORD &done, unsigned char byte)
{
    z.window[z.member_size++ & (DEFLATE_WINDOW - 1)] = byte;
    to[done++] = byte;
}

// Symbols until n bytes are out or the block ends.
bool codes(Inflate &z, unsigned char *to, DWORD &done, DWORD n)
{
    while (done < n) {
        if (z.left) {
            put(z, to, done, z.window[(z.member_size - z.distance) & (DEFLATE_WINDOW - 1)]);
            --z.left;
            continue;
        }
        int symbol = decode(z, z.literals);
        if (symbol < 0)
            return inflate_fail(z, symbol == ENDED ? INFLATE_ENDS_INSIDE : BAD_CODE);
        if (symbol < static_cast<int>(END_OF_BLOCK)) {
            put(z, to, done, static_cast<unsigned char>(symbol));
            continue;
        }
        if (symbol == static_cast<int>(END_OF_BLOCK)) {
            z.state = z.last_block ? MEMBER_TRAILER : BLOCK_HEADER;
            return true;
        }
        DWORD length_code = static_cast<DWORD>(symbol) - FIRST_LENGTH, extra;
        if (length_code >= LENGTH_CODES)
            return inflate_fail(z, BAD_CODE);
        if (!get_bits(z, LENGTH_EXTRA[length_code], &extra))
            return false;
        z.left = LENGTH_BASE[length_code] + extra;
        int distance_code = decode(z, z.distances);
        if (distance_code < 0 || distance_code >= static_cast<int>(DISTANCE_CODES))
            return inflate_fail(z, distance_code == ENDED ? INFLATE_ENDS_INSIDE : BAD_CODE);
        if (!get_bits(z, DISTANCE_EXTRA[distance_code], &extra))
            return false;
        z.distance = DISTANCE_BASE[distance_code] + extra;
        if (z.distance > z.member_size)
            return inflate_fail(z, BAD_DISTANCE);
    }
    return true;
}

bool stored(Inflate &z, unsigned char *to, DWORD &done, DWORD n)
{
    for (; z.left && done < n; --z.left) {
        int byte = inflate_aligned_byte(z);
        if (byte < 0)
            return inflate_fail(z, INFLATE_ENDS_INSIDE);
        put(z, to, done, static_cast<unsigned char>(byte));
    }
    if (!z.left)
        z.state = z.last_block ? MEMBER_TRAILER : BLOCK_HEADER;
    return true;
}

// Up to n bytes of output; the CRC of each member over the bytes it gave.
DWORD produce(Inflate &z, unsigned char *to, DWORD n)
{
    DWORD done = 0, checked = 0;
    while (done < n && z.state != FINISHED && z.state != BROKEN) {
        switch (z.state) {
        case MEMBER_HEADER: gzip_member_header(z, inflate_aligned_byte(z)); break;
        case BLOCK_HEADER: block_header(z); break;
        case STORED: stored(z, to, done, n); break;
        case CODES: codes(z, to, done, n); break;
        default:
            z.crc = crc32_update(z.crc, to + checked, done - checked);
            checked = done;
            gzip_member_trailer(z);
            break;
        }
    }
    z.crc = crc32_update(z.crc, to + checked, done - checked);
    return z.state == BROKEN ? 0 : done;
}

}  // namespace

// The bytes of the header, a stored block and the trailer start at a byte:
// the bits left of the last one go, and whole bytes in hand come first.
void inflate_align(Inflate &z)
{
    take(z, z.bit_count % 8);
}

int inflate_aligned_byte(Inflate &z)
{
    return z.bit_count >= 8 ? static_cast<int>(take(z, 8)) : next_byte(z);
}

bool inflate_aligned_le(Inflate &z, int bytes, DWORD *value)
{
    *value = 0;
    for (int i = 0; i < bytes; ++i) {
        int byte = inflate_aligned_byte(z);
        if (byte < 0)
            return inflate_fail(z, INFLATE_ENDS_INSIDE);
        *value |= static_cast<DWORD>(byte) << (8 * i);
    }
    return true;
}


const char GZIP_DAMAGED[] = "input file is a damaged gzip stream: ";
const char GZIP_BOMB[] = "input file inflates past 256 MiB: refused.";

bool inflate_begin(Inflate &z, Source *source)
{
    z.source = source;
    z.in = static_cast<unsigned char *>(block_alloc(GZIP_BLOCK_SIZE + DEFLATE_WINDOW));
    z.window = z.in + GZIP_BLOCK_SIZE;
    z.in_at = z.in_end = 0;
    z.bits = 0;
    z.bit_count = 0;
    z.member_size = z.total = z.crc = z.members = 0;
    z.state = MEMBER_HEADER;
    z.last_block = false;
    z.left = z.distance = 0;
    z.damage = nullptr;
    return z.in != nullptr;
}

void inflate_end(Inflate &z)
{
    if (z.in)
        block_free(z.in);
    z.in = nullptr;
}

DWORD inflate_read(Inflate &z, unsigned char *to, DWORD n)
{
    DWORD room = MOST_INFLATED - z.total;
    DWORD done = produce(z, to, n < room ? n : room);
    z.total += done;
    if (z.total == MOST_INFLATED && z.state != FINISHED && z.state != BROKEN) {
        unsigned char more;
        if (produce(z, &more, 1))
            inflate_fail(z, GZIP_BOMB);
    }
    return z.state == BROKEN ? 0 : done;
}
