#include "png.h"
#include "../deflate/checksum.h"

namespace {

enum : DWORD {
    CHUNK_DATA = 8,     // after the data's length and the chunk's type
    CHUNK_OVERHEAD = 12,
    SIGNATURE_SIZE = 8,
    HEADER_DATA_SIZE = 13,
    STREAM_HEADER_SIZE = 2,
    ADLER_SIZE = 4,
    HEADER_SIZE = SIGNATURE_SIZE + CHUNK_OVERHEAD + HEADER_DATA_SIZE,
    LONGEST_KEYWORD = 10,  // "Disclaimer"
    PACKED_PIECE = 256,    // bytes of a row packed at a time
};

// No name here begins "ZLIB": binutils takes a debug string section that
// begins so (as the first name of a link-time object's may) for one
// compressed the old way, and warns that it can't decompress it.
enum : unsigned char {
    BIT_DEPTH = 2,        // four shades
    GREYSCALE = 0,        // colour type
    STREAM_METHOD = 0x78, // zlib's header: deflate with a 32 KiB window
    STREAM_FLAGS = 0x01,  // no dictionary; 0x7801 is a multiple of 31
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

// The first n compressed bytes gathered, as one image-data chunk: its
// length and type, then the bytes as they lie, then its CRC.
void put_data_chunk(Png &png, DWORD n)
{
    Deflate &d = png.deflate;
    if (!n)
        return;
    unsigned char head[CHUNK_DATA], crc[4];
    put_be32(head, n);
    for (int i = 0; i < 4; ++i)
        head[4 + i] = static_cast<unsigned char>("IDAT"[i]);
    put_be32(crc, crc32_update(crc32_update(0, head + 4, 4), d.out, n));
    put_block(*png.out, head, CHUNK_DATA);
    put_block(*png.out, d.out, n);
    put_block(*png.out, crc, 4);
    deflate_taken(d, n);
}

// Image data goes out in chunks of DEFLATE_OUT_SIZE bytes as it gathers.
void put_full_chunks(Png &png)
{
    while (png.deflate.out_used >= DEFLATE_OUT_SIZE)
        put_data_chunk(png, DEFLATE_OUT_SIZE);
}

void compress_piece(Png &png, const unsigned char *bytes, DWORD n)
{
    png.adler = adler32_update(png.adler, bytes, n);
    for (DWORD taken = 0; taken < n; put_full_chunks(png))
        taken += deflate_put(png.deflate, bytes + taken, n - taken);
}

}  // namespace

// The signature and the image header in one write, the maker's notices (as
// PNG's keywords name them), then the zlib stream's own header, ahead of
// the compressed image data.
bool png_begin(Png &png, Out &out, DWORD width, DWORD height, const Font &font)
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
    png.out = &out;
    png.width = width;
    png.adler = 1;
    if (!deflate_begin(png.deflate)) {
        out.failed = true;  // no memory for the compressor: the image can't be made
        return false;
    }
    png.deflate.out[0] = STREAM_METHOD;
    png.deflate.out[1] = STREAM_FLAGS;
    png.deflate.out_used = STREAM_HEADER_SIZE;
    return true;
}

// The filter byte (none: the scanlines repeat, which deflate finds by
// itself) and the pixels, four to a byte from the high bits, packed and
// compressed a piece at a time, however wide the image.
void png_row(Png &png, const unsigned char *pixels)
{
    unsigned char packed[PACKED_PIECE];
    packed[0] = NO_FILTER;
    DWORD n = 1;
    for (DWORD x = 0; x < png.width; x += 4) {
        unsigned char byte = 0;
        for (DWORD i = 0; i < 4; ++i)
            byte = static_cast<unsigned char>(byte << 2 | (x + i < png.width ? pixels[x + i] : 0));
        packed[n++] = byte;
        if (n == PACKED_PIECE || x + 4 >= png.width) {
            compress_piece(png, packed, n);
            n = 0;
        }
    }
    if (n)  // an image without width: the filter byte alone
        compress_piece(png, packed, n);
}

// The last block, the checksum of the zlib stream, and the end chunk.
void png_end(Png &png)
{
    Deflate &d = png.deflate;
    deflate_finish(d);
    put_full_chunks(png);
    if (d.out_used + ADLER_SIZE > DEFLATE_OUT_SIZE)
        put_data_chunk(png, d.out_used);
    put_be32(d.out + d.out_used, png.adler);
    d.out_used += ADLER_SIZE;
    put_data_chunk(png, d.out_used);
    deflate_end(d);
    unsigned char end[CHUNK_OVERHEAD];
    put_block(*png.out, end, seal_chunk(end, "IEND", 0));
}
