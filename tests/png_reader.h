// Reads a PNG as a decoder would, for the tests: every chunk's CRC checked,
// the image data inflated with zlib. Only 8-bit greyscale, not interlaced.
#ifndef GLYPHROW_TESTS_PNG_READER_H
#define GLYPHROW_TESTS_PNG_READER_H

#include <cstdint>
#include <string>
#include <vector>
#include <zlib.h>

struct Png {
    std::string error;  // empty when the image was read
    uint32_t width = 0, height = 0;
    int bit_depth = 0, colour_type = -1, interlace = -1;
    std::vector<std::vector<uint8_t>> rows;  // the pixels, filter bytes removed
};

inline uint32_t png_be32(const std::string &b, size_t at)
{
    return (uint32_t(uint8_t(b[at])) << 24) | (uint32_t(uint8_t(b[at + 1])) << 16) |
           (uint32_t(uint8_t(b[at + 2])) << 8) | uint32_t(uint8_t(b[at + 3]));
}

inline Png read_png(const std::string &bytes)
{
    Png png;
    if (bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0)
        return png.error = "no signature", png;
    std::string data;
    bool ended = false;
    for (size_t at = 8; !ended;) {
        if (at + 12 > bytes.size())
            return png.error = "truncated", png;
        uint32_t length = png_be32(bytes, at);
        std::string type = bytes.substr(at + 4, 4);
        if (at + 12 + length > bytes.size())
            return png.error = "truncated " + type, png;
        uLong crc = crc32(0, reinterpret_cast<const Bytef *>(bytes.data() + at + 4), length + 4);
        if (crc != png_be32(bytes, at + 8 + length))
            return png.error = "bad CRC in " + type, png;
        std::string body = bytes.substr(at + 8, length);
        if (type == "IHDR") {
            png.width = png_be32(body, 0);
            png.height = png_be32(body, 4);
            png.bit_depth = uint8_t(body[8]);
            png.colour_type = uint8_t(body[9]);
            png.interlace = uint8_t(body[12]);
        } else if (type == "IDAT") {
            data += body;
        }
        ended = type == "IEND";
        at += 12 + length;
        if (ended && at != bytes.size())
            return png.error = "bytes after IEND", png;
    }
    if (png.bit_depth != 8 || png.colour_type != 0 || png.interlace != 0)
        return png.error = "not plain 8-bit greyscale", png;
    uLongf size = (png.width + 1) * png.height;
    std::vector<uint8_t> raw(size + 1);
    uLongf got = size + 1;
    if (uncompress(raw.data(), &got, reinterpret_cast<const Bytef *>(data.data()), data.size()) != Z_OK || got != size)
        return png.error = "image data doesn't inflate to its size", png;
    for (uint32_t y = 0; y < png.height; ++y) {
        const uint8_t *line = raw.data() + y * (png.width + 1);
        if (line[0] != 0)
            return png.error = "a filter other than none", png;
        png.rows.emplace_back(line + 1, line + 1 + png.width);
    }
    return png;
}

#endif
