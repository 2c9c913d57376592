#include "deflate.h"
#include "../platform/block.h"

namespace {

enum : DWORD {
    LITERALS = 286,        // literal and length symbols a block may use
    MOST_SYMBOLS = 288,    // the codes' tables: the fixed code's 288 symbols at most
    DYNAMIC_BLOCK = 2,
    MAX_CHAIN = 256,
    HASHED_BYTES = 12,        // earlier positions tried for a match
    MATCH = 0x80000000u,   // a token: MATCH | length << 16 | distance, or a literal
    NODES = 2 * MOST_SYMBOLS,
};
enum : int {
    LONGEST_BITS = 15,
    LONGEST_LENGTH_BITS = 7,  // of the code of code lengths
};

// A Huffman code: each symbol's length and its code, bit-reversed, as
// deflate sends codes from their first bit.
struct Code {
    unsigned char length[MOST_SYMBOLS];
    unsigned short bits[MOST_SYMBOLS];
};

// What a block of tokens holds: each symbol's count.
struct Counts {
    DWORD literals[MOST_SYMBOLS];
    DWORD distances[DISTANCE_CODES];
};

// Positions are found by their first HASHED_BYTES bytes: more than a
// match's least, so that a chain holds the few places worth trying, not
// every place that a common three bytes begin.
DWORD hash(const unsigned char *p)
{
    DWORD h = 0;
    for (DWORD i = 0; i < HASHED_BYTES; ++i)
        h = (h << 5 | h >> 27) ^ p[i];
    return (h ^ h >> 15) & (HASH_SIZE - 1);
}

void put_bits(Deflate &d, DWORD value, int count)
{
    d.bits |= value << d.bit_count;
    d.bit_count += count;
    while (d.bit_count >= 8) {
        d.out[d.out_used++] = static_cast<unsigned char>(d.bits);
        d.bits >>= 8;
        d.bit_count -= 8;
    }
}

DWORD length_code(DWORD length)
{
    DWORD code = LENGTH_CODES - 1;
    while (LENGTH_BASE[code] > length)
        --code;
    return code;
}

DWORD distance_code(DWORD distance)
{
    DWORD code = DISTANCE_CODES - 1;
    while (DISTANCE_BASE[code] > distance)
        --code;
    return code;
}

// Huffman lengths of at most `limit` bits for the counts: the two lightest
// nodes joined until one is left; where that is too deep, the counts are
// halved (none to nothing) and the code made again.
struct Tree {
    DWORD weight[NODES];
    short parent[NODES];
};

void huffman_lengths(const DWORD *counts, DWORD n, int limit, unsigned char *length, Tree &tree)
{
    DWORD *weight = tree.weight;
    short *parent = tree.parent;
    for (DWORD s = 0; s < n; ++s)
        weight[s] = counts[s];
    for (;;) {
        DWORD nodes = n, alive = 0;
        for (DWORD s = 0; s < n; ++s) {
            parent[s] = -1;
            alive += weight[s] != 0;
        }
        for (; alive > 1; --alive) {
            int least[2] = {-1, -1};
            for (DWORD i = 0; i < nodes; ++i) {
                if (!weight[i] || parent[i] >= 0)
                    continue;
                if (least[0] < 0 || weight[i] < weight[least[0]]) {
                    least[1] = least[0];
                    least[0] = static_cast<int>(i);
                } else if (least[1] < 0 || weight[i] < weight[least[1]]) {
                    least[1] = static_cast<int>(i);
                }
            }
            weight[nodes] = weight[least[0]] + weight[least[1]];
            parent[nodes] = -1;
            parent[least[0]] = parent[least[1]] = static_cast<short>(nodes);
            ++nodes;
        }
        int deepest = 0;
        for (DWORD s = 0; s < n; ++s) {
            int depth = 0;
            for (int i = static_cast<int>(s); weight[s] && parent[i] >= 0; i = parent[i])
                ++depth;
            length[s] = static_cast<unsigned char>(weight[s] ? (depth ? depth : 1) : 0);
            deepest = length[s] > deepest ? length[s] : deepest;
        }
        if (deepest <= limit)
            return;
        for (DWORD s = 0; s < n; ++s)
            weight[s] = weight[s] ? (weight[s] + 1) / 2 : 0;
    }
}

// The canonical codes of the lengths, each bit-reversed.
void make_codes(Code &code, DWORD n)
{
    DWORD count[LONGEST_BITS + 1], next[LONGEST_BITS + 1];
    for (DWORD &c : count)
        c = 0;
    for (DWORD s = 0; s < n; ++s)
        ++count[code.length[s]];
    count[0] = 0;
    DWORD first = 0;
    for (int len = 1; len <= LONGEST_BITS; ++len)
        next[len] = first = (first + count[len - 1]) << 1;
    for (DWORD s = 0; s < n; ++s) {
        int len = code.length[s];
        DWORD c = len ? next[len]++ : 0, reversed = 0;
        for (int i = 0; i < len; ++i, c >>= 1)
            reversed = reversed << 1 | (c & 1);
        code.bits[s] = static_cast<unsigned short>(reversed);
    }
}

// A dynamic block's code lengths, run-length coded: each symbol (0 to 18)
// with its extra bits in the high byte.
DWORD run_lengths(const unsigned char *lengths, DWORD n, unsigned short *runs)
{
    DWORD count = 0;
    for (DWORD i = 0; i < n;) {
        DWORD same = 1;
        while (i + same < n && lengths[i + same] == lengths[i])
            ++same;
        if (lengths[i] == 0 && same >= 3) {
            same = same > 138 ? 138 : same;
            runs[count++] = static_cast<unsigned short>(same >= 11 ? 18 | (same - 11) << 8 : 17 | (same - 3) << 8);
        } else if (lengths[i] != 0 && same >= 4) {
            same = same > 7 ? 7 : same;
            runs[count++] = lengths[i];
            runs[count++] = static_cast<unsigned short>(16 | (same - 4) << 8);
        } else {
            same = 1;
            runs[count++] = lengths[i];
        }
        i += same;
    }
    return count;
}

struct Dynamic {
    Code literals, distances, lengths;
    unsigned char all[LITERALS + DISTANCE_CODES];
    unsigned short runs[LITERALS + DISTANCE_CODES];
    DWORD run_count, literal_count, distance_count, length_count;
    Tree tree;
};

// A block's work, in the compressor's heap block rather than on a stack
// that the exes don't probe.
struct Work {
    Counts counts;
    Dynamic dynamic;
};

// The block's own codes, and how they are sent.
void make_dynamic(const Counts &c, Dynamic &t)
{
    huffman_lengths(c.literals, LITERALS, LONGEST_BITS, t.literals.length, t.tree);
    huffman_lengths(c.distances, DISTANCE_CODES, LONGEST_BITS, t.distances.length, t.tree);
    t.literal_count = LITERALS;
    while (t.literal_count > FIRST_LENGTH && !t.literals.length[t.literal_count - 1])
        --t.literal_count;
    t.distance_count = DISTANCE_CODES;
    while (t.distance_count > 1 && !t.distances.length[t.distance_count - 1])
        --t.distance_count;
    if (!t.distances.length[0] && t.distance_count == 1)
        t.distances.length[0] = 1;  // one distance code, though none is used
    for (DWORD s = 0; s < t.literal_count; ++s)
        t.all[s] = t.literals.length[s];
    for (DWORD s = 0; s < t.distance_count; ++s)
        t.all[t.literal_count + s] = t.distances.length[s];
    t.run_count = run_lengths(t.all, t.literal_count + t.distance_count, t.runs);
    DWORD counts[LENGTH_CODE_COUNT];
    for (DWORD &c : counts)
        c = 0;
    for (DWORD i = 0; i < t.run_count; ++i)
        ++counts[t.runs[i] & 0xFF];
    huffman_lengths(counts, LENGTH_CODE_COUNT, LONGEST_LENGTH_BITS, t.lengths.length, t.tree);
    t.length_count = LENGTH_CODE_COUNT;
    while (t.length_count > 4 && !t.lengths.length[LENGTH_CODE_ORDER[t.length_count - 1]])
        --t.length_count;
    make_codes(t.literals, LITERALS);
    make_codes(t.distances, DISTANCE_CODES);
    make_codes(t.lengths, LENGTH_CODE_COUNT);
}

void put_dynamic_header(Deflate &d, const Dynamic &t)
{
    put_bits(d, t.literal_count - FIRST_LENGTH, 5);
    put_bits(d, t.distance_count - 1, 5);
    put_bits(d, t.length_count - 4, 4);
    for (DWORD i = 0; i < t.length_count; ++i)
        put_bits(d, t.lengths.length[LENGTH_CODE_ORDER[i]], 3);
    for (DWORD i = 0; i < t.run_count; ++i) {
        DWORD symbol = t.runs[i] & 0xFF, extra = t.runs[i] >> 8;
        put_bits(d, t.lengths.bits[symbol], t.lengths.length[symbol]);
        if (symbol >= 16)
            put_bits(d, extra, symbol == 16 ? 2 : symbol == 17 ? 3 : 7);
    }
}

void put_tokens(Deflate &d, const Code &literals, const Code &distances)
{
    for (DWORD i = 0; i < d.token_count; ++i) {
        DWORD token = d.tokens[i];
        if (!(token & MATCH)) {
            put_bits(d, literals.bits[token], literals.length[token]);
            continue;
        }
        DWORD length = token >> 16 & 0x1FF, distance = token & 0xFFFF;
        DWORD lc = length_code(length), dc = distance_code(distance);
        put_bits(d, literals.bits[FIRST_LENGTH + lc], literals.length[FIRST_LENGTH + lc]);
        put_bits(d, length - LENGTH_BASE[lc], LENGTH_EXTRA[lc]);
        put_bits(d, distances.bits[dc], distances.length[dc]);
        put_bits(d, distance - DISTANCE_BASE[dc], DISTANCE_EXTRA[dc]);
    }
    put_bits(d, literals.bits[END_OF_BLOCK], literals.length[END_OF_BLOCK]);
}

// The tokens as one block, in codes of its own.
void write_block(Deflate &d, bool last)
{
    Work &w = *reinterpret_cast<Work *>(d.tokens + BLOCK_TOKENS);
    Counts &c = w.counts;
    for (DWORD &n : c.literals)
        n = 0;
    for (DWORD &n : c.distances)
        n = 0;
    for (DWORD i = 0; i < d.token_count; ++i) {
        DWORD token = d.tokens[i];
        if (token & MATCH) {
            ++c.literals[FIRST_LENGTH + length_code(token >> 16 & 0x1FF)];
            ++c.distances[distance_code(token & 0xFFFF)];
        } else {
            ++c.literals[token];
        }
    }
    c.literals[END_OF_BLOCK] = 1;
    Dynamic &t = w.dynamic;
    make_dynamic(c, t);
    put_bits(d, last ? 1 : 0, 1);
    put_bits(d, DYNAMIC_BLOCK, 2);
    put_dynamic_header(d, t);
    put_tokens(d, t.literals, t.distances);
    d.token_count = 0;
}

void add_token(Deflate &d, DWORD token)
{
    d.tokens[d.token_count++] = token;
    if (d.token_count == BLOCK_TOKENS)
        write_block(d, false);
}

// A position's hash chain gets it; positions are kept plus one, so that 0
// is none.
void insert(Deflate &d, DWORD p)
{
    DWORD h = hash(d.window + p);
    d.chain[p & (DEFLATE_WINDOW - 1)] = d.head[h];
    d.head[h] = p + 1;
}

// The longest earlier run of the bytes at p within the window's reach, up
// to `most` bytes; its length (0 below MIN_MATCH) and distance.
DWORD longest_match(const Deflate &d, DWORD p, DWORD most, DWORD *distance)
{
    DWORD best = 0, tries = MAX_CHAIN;
    for (DWORD c = d.head[hash(d.window + p)]; c && tries--; c = d.chain[(c - 1) & (DEFLATE_WINDOW - 1)]) {
        DWORD from = c - 1;
        if (from >= p || p - from > DEFLATE_WINDOW)
            break;
        const unsigned char *a = d.window + from, *b = d.window + p;
        DWORD n = 0;
        while (n < most && a[n] == b[n])
            ++n;
        if (n > best) {
            best = n;
            *distance = p - from;
            if (n == most)
                break;
        }
    }
    return best >= MIN_MATCH ? best : 0;
}

// Tokens for the bytes in hand, all of them at the end, otherwise those
// with a longest match's worth after them.
void compress(Deflate &d, bool finishing)
{
    const DWORD lookahead = finishing ? 0u : static_cast<DWORD>(MAX_MATCH);
    while (d.at + lookahead < d.filled || (finishing && d.at < d.filled)) {
        DWORD left = d.filled - d.at, distance = 0;
        DWORD most = left < MAX_MATCH ? left : static_cast<DWORD>(MAX_MATCH);
        DWORD length = most >= HASHED_BYTES ? longest_match(d, d.at, most, &distance) : 0;
        if (!length) {
            if (left >= HASHED_BYTES)
                insert(d, d.at);
            add_token(d, d.window[d.at++]);
            continue;
        }
        add_token(d, MATCH | length << 16 | distance);
        for (DWORD end = d.at + length; d.at < end; ++d.at)
            if (d.filled - d.at >= HASHED_BYTES)
                insert(d, d.at);
    }
}

// The older half of the window goes; the chains' positions follow it.
void slide(Deflate &d)
{
    for (DWORD i = 0; i < DEFLATE_WINDOW; ++i)
        d.window[i] = d.window[i + DEFLATE_WINDOW];
    for (DWORD i = 0; i < HASH_SIZE; ++i)
        d.head[i] = d.head[i] > DEFLATE_WINDOW ? d.head[i] - DEFLATE_WINDOW : 0;
    for (DWORD i = 0; i < DEFLATE_WINDOW; ++i)
        d.chain[i] = d.chain[i] > DEFLATE_WINDOW ? d.chain[i] - DEFLATE_WINDOW : 0;
    d.filled -= DEFLATE_WINDOW;
    d.at -= DEFLATE_WINDOW;
}

}  // namespace

bool deflate_begin(Deflate &d)
{
    const DWORD tables = (HASH_SIZE + DEFLATE_WINDOW + BLOCK_TOKENS) * sizeof(DWORD) + sizeof(Work);
    unsigned char *block = static_cast<unsigned char *>(block_alloc(2 * DEFLATE_WINDOW + tables + DEFLATE_OUT_ROOM));
    d.failed = !block;
    d.window = block;
    if (!block)
        return false;
    d.head = reinterpret_cast<DWORD *>(block + 2 * DEFLATE_WINDOW);
    d.chain = d.head + HASH_SIZE;
    d.tokens = d.chain + DEFLATE_WINDOW;
    d.out = block + 2 * DEFLATE_WINDOW + tables;
    for (DWORD i = 0; i < HASH_SIZE + DEFLATE_WINDOW; ++i)
        d.head[i] = 0;
    d.token_count = d.filled = d.at = d.out_used = d.bits = 0;
    d.bit_count = 0;
    return true;
}

// A step of at most DEFLATE_STEP bytes makes at most one block, so that
// what gathers stays within the room for it until the caller takes it.
DWORD deflate_put(Deflate &d, const unsigned char *bytes, DWORD n)
{
    DWORD taken = 0;
    while (taken < n && d.out_used < DEFLATE_OUT_SIZE) {
        if (d.filled == 2 * DEFLATE_WINDOW)
            slide(d);
        DWORD room = 2 * DEFLATE_WINDOW - d.filled, take = n - taken;
        take = take < room ? take : room;
        take = take < DEFLATE_STEP ? take : static_cast<DWORD>(DEFLATE_STEP);
        for (DWORD i = 0; i < take; ++i)
            d.window[d.filled + i] = bytes[taken + i];
        d.filled += take;
        taken += take;
        compress(d, false);
    }
    return taken;
}

void deflate_taken(Deflate &d, DWORD n)
{
    d.out_used -= n;
    for (DWORD i = 0; i < d.out_used; ++i)
        d.out[i] = d.out[n + i];
}

void deflate_finish(Deflate &d)
{
    compress(d, true);
    write_block(d, true);
    put_bits(d, 0, 7);  // the last byte's bits
}

void deflate_end(Deflate &d)
{
    if (d.window)
        block_free(d.window);
    d.window = nullptr;
}
