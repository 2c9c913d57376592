#include "ink_box.h"
#include "../rows/row.h"

namespace {

const DWORD BYTES_A_LINE = 12;

void put_box_byte(Out &out, DWORD byte, DWORD n)
{
    put_text(out, n % BYTES_A_LINE ? " 0x" : "\n    0x");
    put_number(out, byte & 0xFF, HEX, 2);
    put_byte(out, ',');
}

}  // namespace

// Null rows (a code the font lacks) are a box without ink.
Box box_of(const unsigned char *rows, DWORD height)
{
    int top = -1, bottom = -1, left = ROW_CELLS, right = -1;
    for (DWORD r = 0; rows && r < height; ++r)
        for (int c = 0; c < static_cast<int>(ROW_CELLS); ++c)
            if (rows[r] & (0x20 >> c)) {
                top = top < 0 ? static_cast<int>(r) : top;
                bottom = static_cast<int>(r);
                left = c < left ? c : left;
                right = c > right ? c : right;
            }
    Box b = {0, 0, 0, 0};
    if (top >= 0)
        b = {top, left, right - left + 1, bottom - top + 1};
    return b;
}

DWORD box_bytes(const Box &b)
{
    return (static_cast<DWORD>(b.width * b.height) + 7) / 8;
}

// The box row after row, the most significant bit first, no padding
// between rows; the last byte filled out with zero bits.
void put_box_bits(Out &out, const unsigned char *rows, const Box &b)
{
    DWORD bits = 0, count = 0, n = 0;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) {
            bits = bits << 1 | ((rows[b.top + y] >> (ROW_CELLS - 1 - (b.left + x))) & 1);
            if (++count % 8 == 0)
                put_box_byte(out, bits, n++);
        }
    if (count % 8)
        put_box_byte(out, bits << (8 - count % 8), n);
}

void put_signed(Out &out, int value)
{
    if (value < 0)
        put_byte(out, '-');
    put_number(out, static_cast<DWORD>(value < 0 ? -value : value), DECIMAL, 1);
}
