// PCF fonts built byte by byte, every table in the low byte first, for
// tests that need a PCF no real font is: one glyph given to a run of codes.
#ifndef GLYPHROW_TESTS_PCF_BYTES_H
#define GLYPHROW_TESTS_PCF_BYTES_H

#include <cstdint>
#include <string>
#include <utility>

inline void put16(std::string &s, uint32_t v)
{
    s += static_cast<char>(v), s += static_cast<char>(v >> 8);
}

inline void put32(std::string &s, uint32_t v)
{
    put16(s, v & 0xFFFF), put16(s, v >> 16);
}

// A metric as PCF stores one uncompressed: bearings, width, ascent,
// descent, attributes.
inline void put_metric(std::string &s, int left, int right, int ascent, int descent)
{
    for (int v : {left, right, right - left, ascent, descent, 0})
        put16(s, static_cast<uint32_t>(v));
}

// Codes first to last all have the one glyph `width` pixels wide, `ascent`
// rows above the baseline and `descent` below, its bitmap stored as given
// (rows padded to bytes, bit 0 the leftmost), on a cell 6 wide of
// cell_ascent and cell_descent rows.
inline std::string one_glyph_pcf(int cell_ascent, int cell_descent, int width, int ascent, int descent,
                                 const std::string &bitmap, uint32_t first, uint32_t last)
{
    std::string accelerators(4, '\0'), metrics(4, '\0'), bitmaps(4, '\0'), encodings(4, '\0');
    accelerators += std::string(8, '\0');
    put32(accelerators, static_cast<uint32_t>(cell_ascent)), put32(accelerators, static_cast<uint32_t>(cell_descent));
    put32(accelerators, 0);
    put_metric(accelerators, 0, 6, cell_ascent, cell_descent);
    put_metric(accelerators, 0, 6, cell_ascent, cell_descent);
    put32(metrics, 1);
    put_metric(metrics, 0, width, ascent, descent);
    put32(bitmaps, 1);
    put32(bitmaps, 0);
    for (int i = 0; i < 4; ++i)
        put32(bitmaps, static_cast<uint32_t>(bitmap.size()));
    bitmaps += bitmap;
    put16(encodings, first), put16(encodings, last), put16(encodings, 0), put16(encodings, 0), put16(encodings, 0);
    for (uint32_t code = first; code <= last; ++code)
        put16(encodings, 0);
    const std::pair<uint32_t, const std::string *> tables[] = {
        {1u << 1, &accelerators}, {1u << 2, &metrics}, {1u << 3, &bitmaps}, {1u << 5, &encodings}};
    std::string pcf("\x01" "fcp", 4);
    put32(pcf, 4);
    uint32_t offset = 8 + 4 * 16;
    for (const auto &[type, table] : tables) {
        put32(pcf, type), put32(pcf, 0), put32(pcf, static_cast<uint32_t>(table->size())), put32(pcf, offset);
        offset += static_cast<uint32_t>(table->size());
    }
    for (const auto &table : tables)
        pcf += *table.second;
    return pcf;
}

#endif
