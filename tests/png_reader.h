// Reads a PNG as a decoder would, for the tests: every chunk's CRC checked,
// the image data inflated with zlib. Only greyscale of 2 or 8 bits, not
// interlaced, unfiltered; each pixel given as its 8-bit grey.
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
    if ((png.bit_depth != 8 && png.bit_depth != 2) || png.colour_type != 0 || png.interlace != 0)
        return png.error = "not plain greyscale of 2 or 8 bits", png;
    uLongf stride = (png.width * png.bit_depth + 7) / 8 + 1, size = stride * png.height;
    std::vector<uint8_t> raw(size + 1);
    uLongf got = size + 1;
    if (uncompress(raw.data(), &got, reinterpret_cast<const Bytef *>(data.data()), data.size()) != Z_OK || got != size)
        return png.error = "image data doesn't inflate to its size", png;
    for (uint32_t y = 0; y < png.height; ++y) {
        const uint8_t *line = raw.data() + y * stride;
        if (line[0] != 0)
            return png.error = "a filter other than none", png;
        std::vector<uint8_t> row(png.width);
        for (uint32_t x = 0; x < png.width; ++x)
            row[x] = png.bit_depth == 8 ? line[1 + x] : uint8_t(85 * (line[1 + x / 4] >> (6 - 2 * (x % 4)) & 3));
        png.rows.push_back(row);
    }
    return png;
}

// The sheet's documented layout: cells of 4 by 4 pixels, 16 glyphs to a
// line, a gap of 4 pixels around every glyph, a margin of 28 for the codes.
// Every pixel: black exactly where a cell is ink, white exactly where it is
// blank, and some other grey everywhere else, the rows a partial glyph
// lacks included; each line's code in its margin, one shade on another.
// What is wrong with the sheet, or "".
// first: the first glyph's code; a line past U+10FFFF has no code in its
// margin.
inline std::string sheet_errors(const Png &png, const std::string &font, int height, uint32_t first = 0x20)
{
    const size_t CELL = 4, GAP = 4, COLUMNS = 16, MARGIN = 28;
    if (!png.error.empty())
        return png.error;
    size_t glyphs = (font.size() + height - 1) / height;
    size_t columns = glyphs < COLUMNS ? glyphs : COLUMNS;
    size_t lines = (glyphs + COLUMNS - 1) / COLUMNS;
    if (png.width != MARGIN + columns * (6 * CELL + GAP) + GAP || png.height != lines * (height * CELL + GAP) + GAP)
        return "the sheet's size";
    std::vector<std::vector<int>> expected(png.height, std::vector<int>(png.width, -1));
    for (size_t row = 0; row < font.size(); ++row) {
        size_t glyph = row / height;
        size_t x0 = MARGIN + GAP + (glyph % COLUMNS) * (6 * CELL + GAP);
        size_t y0 = GAP + (glyph / COLUMNS) * (height * CELL + GAP) + (row % height) * CELL;
        for (size_t cell = 0; cell < 6; ++cell)
            for (size_t dy = 0; dy < CELL; ++dy)
                for (size_t dx = 0; dx < CELL; ++dx)
                    expected[y0 + dy][x0 + cell * CELL + dx] = (font[row] & (0x20 >> cell)) ? 0 : 255;
    }
    for (size_t y = 0; y < png.height; ++y)
        for (size_t x = 0; x < png.width; ++x) {
            int got = png.rows[y][x], want = expected[y][x];
            if (want >= 0 ? got != want : (got == 0 || got == 255))
                return "pixel " + std::to_string(x) + ", " + std::to_string(y);
        }
    for (size_t line = 0; line < lines; ++line) {
        std::vector<bool> shades(256);
        int count = 0;
        for (size_t y = 0; y < 5 && y < height * CELL; ++y)
            for (size_t x = 0; x < MARGIN; ++x)
                count += !shades[png.rows[GAP + line * (height * CELL + GAP) + y][x]] &&
                         (shades[png.rows[GAP + line * (height * CELL + GAP) + y][x]] = true);
        bool coded = first + line * COLUMNS <= 0x10FFFF;
        if (count != (coded ? 2 : 1))
            return (coded ? "no code in the margin of line " : "a code past U+10FFFF in the margin of line ") +
                   std::to_string(line);
    }
    return "";
}

#endif
