#include "forms.h"

namespace {

enum : DWORD {
    CHUNK_DATA = 8,     // after the data's length and the chunk's type
    CHUNK_OVERHEAD = 12,
    SIGNATURE_SIZE = 8,
    HEADER_DATA_SIZE = 13,
    ZLIB_HEADER_SIZE = 2,
    BLOCK_HEADER_SIZE = 5,
    ADLER_SIZE = 4,
    HEADER_SIZE = SIGNATURE_SIZE + CHUNK_OVERHEAD + HEADER_DATA_SIZE,
    ZLIB_CHUNK_SIZE = CHUNK_OVERHEAD + ZLIB_HEADER_SIZE,
    LONGEST_KEYWORD = 10,  // "Disclaimer"
    TRAILER_SIZE = CHUNK_OVERHEAD + BLOCK_HEADER_SIZE + ADLER_SIZE + CHUNK_OVERHEAD,
};

enum : unsigned char {
    BIT_DEPTH = 8,
    GREYSCALE = 0,        // colour type
    ZLIB_DEFLATE = 0x78,  // deflate with a 32 KiB window
    ZLIB_FLAGS = 0x01,    // no dictionary; 0x7801 is a multiple of 31
    STORED_BLOCK = 0x00,
    FINAL_STORED_BLOCK = 0x01,
    NO_FILTER = 0,
};

const unsigned char SIGNATURE[SIGNATURE_SIZE] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void put_be32(unsigned char *at, DWORD value)
{
    at[0] = static_cast<unsigned char>(value >> 24);
    at[1] = static_cast<unsigned char>(value >> 16);
    at[2] = static_cast<unsigned char>(value >> 8);
    at[3] = static_cast<unsigned char>(value);
}

// A stored block's header: its kind, then its length and the length's
// complement, both with the low byte first.
void put_block_header(unsigned char *at, unsigned char kind, DWORD length)
{
    at[0] = kind;
    at[1] = static_cast<unsigned char>(length);
    at[2] = static_cast<unsigned char>(length >> 8);
    at[3] = static_cast<unsigned char>(~length);
    at[4] = static_cast<unsigned char>(~length >> 8);
}

// Fills in the length, type and CRC around the data already at
// chunk + CHUNK_DATA; returns the chunk's whole size.
DWORD seal_chunk(unsigned char *chunk, const char *type, DWORD length)
{
    put_be32(chunk, length);
    for (int i = 0; i < 4; ++i)
        chunk[4 + i] = static_cast<unsigned char>(type[i]);
    put_be32(chunk + CHUNK_DATA + length, crc32_update(0, chunk + 4, 4 + length));
    return CHUNK_OVERHEAD + length;
}

// A text chunk: the keyword, a zero byte, and the maker's notice without
// BDF's quoting; none for no notice.
void put_text_chunk(Out &out, const char *keyword, const char *notice)
{
    if (!notice)
        return;
    unsigned char chunk[CHUNK_OVERHEAD + LONGEST_KEYWORD + 1 + NOTICE_SIZE];
    unsigned char *data = chunk + CHUNK_DATA;
    DWORD n = 0;
    while ((data[n] = static_cast<unsigned char>(keyword[n])) != 0)
        ++n;
    n += 1 + unquote(notice, reinterpret_cast<char *>(data + n + 1));
    put_block(out, chunk, seal_chunk(chunk, "tEXt", n));
}

}  // namespace

// The signature and the image header in one write, the maker's notices (as
// PNG's keywords name them), and the zlib stream's own header in an
// image-data chunk of its own.
void png_begin(Out &out, DWORD width, DWORD height, const Font &font)
{
    unsigned char header[HEADER_SIZE];
    for (DWORD i = 0; i < SIGNATURE_SIZE; ++i)
        header[i] = SIGNATURE[i];
    unsigned char *chunk = header + SIGNATURE_SIZE;
    unsigned char *data = chunk + CHUNK_DATA;
    put_be32(data, width);
    put_be32(data + 4, height);
    data[8] = BIT_DEPTH;
    data[9] = GREYSCALE;
    data[10] = data[11] = data[12] = 0;  // deflate, adaptive filters, no interlace
    seal_chunk(chunk, "IHDR", HEADER_DATA_SIZE);
    put_block(out, header, HEADER_SIZE);
    put_text_chunk(out, "Copyright", font.copyright);
    put_text_chunk(out, "Disclaimer", font.notice);
    unsigned char zlib[ZLIB_CHUNK_SIZE];
    zlib[CHUNK_DATA] = ZLIB_DEFLATE;
    zlib[CHUNK_DATA + 1] = ZLIB_FLAGS;
    put_block(out, zlib, seal_chunk(zlib, "IDAT", ZLIB_HEADER_SIZE));
}

// One scanline as one image-data chunk holding one stored block: the filter
// byte and the pixels. A scanline is far below a stored block's 65,535 bytes.
void png_scanline(Out &out, unsigned char *scanline, DWORD width, DWORD *adler)
{
    DWORD stored = 1 + width;
    put_block_header(scanline + CHUNK_DATA, STORED_BLOCK, stored);
    scanline[PNG_PIXELS - 1] = NO_FILTER;
    *adler = adler32_update(*adler, scanline + PNG_PIXELS - 1, stored);
    DWORD size = seal_chunk(scanline, "IDAT", BLOCK_HEADER_SIZE + stored);
    put_block(out, scanline, size);
}

// An empty final block closes the deflate data, the checksum the zlib
// stream, and the end chunk the image, in one write.
void png_end(Out &out, DWORD adler)
{
    unsigned char trailer[TRAILER_SIZE];
    put_block_header(trailer + CHUNK_DATA, FINAL_STORED_BLOCK, 0);
    put_be32(trailer + CHUNK_DATA + BLOCK_HEADER_SIZE, adler);
    DWORD size = seal_chunk(trailer, "IDAT", BLOCK_HEADER_SIZE + ADLER_SIZE);
    seal_chunk(trailer + size, "IEND", 0);
    put_block(out, trailer, TRAILER_SIZE);
}
