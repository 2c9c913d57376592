// Fonts as readers that this project did not write see them: FreeType for
// BDF, kbd's psfxtable for a PSF's Unicode table (its rows are taken at the
// offsets its header gives). Each gives, for every code, the rows of a
// six-cell glyph as row bytes (cell 1 in bit 5), the ink of a cell wider
// than six cut off.
#ifndef GLYPHROW_TESTS_FONT_READERS_H
#define GLYPHROW_TESTS_FONT_READERS_H

#include "scratch.h"

#include <cstdint>
#include <cstdio>
#include <iconv.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BDF_H
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// The files of a Debian package whose names end in `ending` (their base
// names): the fonts a test reads are the package's it installs, never every
// file of a shared folder, which holds the user's other fonts too.
inline std::vector<std::string> package_files(const std::string &package, const std::string &ending)
{
    std::vector<std::string> names;
    FILE *listing = popen(("dpkg -L '" + package + "'").c_str(), "r");
    if (!listing)
        return names;
    char line[4096];
    while (std::fgets(line, sizeof line, listing)) {
        std::string path = line;
        if (!path.empty() && path.back() == '\n')
            path.pop_back();
        if (path.size() > ending.size() && path.compare(path.size() - ending.size(), ending.size(), ending) == 0)
            names.push_back(path.substr(path.rfind('/') + 1));
    }
    pclose(listing);
    return names;
}

// A BDF's FONT_DESCENT, as the file says it.
inline long bdf_descent(const std::string &path)
{
    std::string bdf = read_file(path);
    size_t at = bdf.find("\nFONT_DESCENT ");
    return at == std::string::npos ? 0 : std::stol(bdf.substr(at + 14));
}

struct SeenFont {
    std::string error;  // empty when the font was read
    std::map<uint32_t, std::string> glyphs;
    std::set<uint32_t> cut;  // the codes whose ink falls outside the cell
    long descent = -1;       // FONT_DESCENT, as FreeType reads it (BDF only)
    bool unicode = false;    // FreeType takes the codes for Unicode's (BDF only)
    std::string registry;    // CHARSET_REGISTRY and CHARSET_ENCODING, "ISO10646-1" (BDF only)
    long default_char = -1;  // DEFAULT_CHAR, -1 where there is none (BDF only)
    std::string copyright;   // COPYRIGHT (BDF only)
};

// Each glyph that FreeType renders from the font, placed in a cell of
// `height` rows whose origin is (x, y) from the cell's bottom left, as the
// font's FONTBOUNDINGBOX places it.
inline SeenFont freetype_cells(const std::string &path, int height, int x, int y)
{
    SeenFont seen;
    FT_Library library;
    FT_Face face;
    if (FT_Init_FreeType(&library) || FT_New_Face(library, path.c_str(), 0, &face)) {
        seen.error = "FreeType can't open " + path;
        return seen;
    }
    if (!face->charmap && face->num_charmaps)
        FT_Set_Charmap(face, face->charmaps[0]);  // the font's own codes, as they stand
    if (!face->charmap)
        seen.error = "FreeType found no character map";
    seen.unicode = face->charmap && face->charmap->encoding == FT_ENCODING_UNICODE;
    BDF_PropertyRec property;
    if (FT_Get_BDF_Property(face, "FONT_DESCENT", &property) == 0)
        seen.descent = property.u.integer;
    if (FT_Get_BDF_Property(face, "DEFAULT_CHAR", &property) == 0)
        seen.default_char = property.type == BDF_PROPERTY_TYPE_CARDINAL ? static_cast<long>(property.u.cardinal)
                                                                        : property.u.integer;
    if (FT_Get_BDF_Property(face, "COPYRIGHT", &property) == 0 && property.type == BDF_PROPERTY_TYPE_ATOM)
        seen.copyright = property.u.atom;
    const char *registry = nullptr, *encoding = nullptr;
    if (FT_Get_BDF_Charset_ID(face, &encoding, &registry) == 0 && registry && encoding)
        seen.registry = std::string(registry) + "-" + encoding;
    FT_UInt index;
    for (FT_ULong code = FT_Get_First_Char(face, &index); index; code = FT_Get_Next_Char(face, code, &index)) {
        if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO)) {
            seen.error = "FreeType can't render U+" + std::to_string(code);
            break;
        }
        const FT_Bitmap &b = face->glyph->bitmap;
        std::string rows(height, '\0');
        for (unsigned r = 0; r < b.rows; ++r)
            for (unsigned c = 0; c < b.width; ++c) {
                int row = height + y - face->glyph->bitmap_top + static_cast<int>(r);
                int cell = face->glyph->bitmap_left - x + static_cast<int>(c);
                bool ink = b.buffer[r * b.pitch + c / 8] & (0x80 >> (c % 8));
                if (ink && row >= 0 && row < height && cell >= 0 && cell < 6)
                    rows[row] = static_cast<char>(rows[row] | (0x20 >> cell));
                else if (ink)
                    seen.cut.insert(static_cast<uint32_t>(code));
            }
        seen.glyphs[static_cast<uint32_t>(code)] = rows;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return seen;
}

// A code of an 8-bit encoding in Unicode, by the C library's iconv; 0 where
// the encoding has no character for it.
inline uint32_t unicode_of(const std::string &encoding, uint32_t code)
{
    iconv_t convert = iconv_open("UTF-32LE", encoding.c_str());
    if (convert == reinterpret_cast<iconv_t>(-1))
        return 0;
    char in = static_cast<char>(code), out[4] = {};
    char *from = &in, *to = out;
    size_t in_left = 1, out_left = 4;
    size_t done = iconv(convert, &from, &in_left, &to, &out_left);
    iconv_close(convert);
    return done == static_cast<size_t>(-1) ? 0
                                           : uint32_t(uint8_t(out[0])) | uint32_t(uint8_t(out[1])) << 8 |
                                                 uint32_t(uint8_t(out[2])) << 16 | uint32_t(uint8_t(out[3])) << 24;
}

struct PsfHeader {
    uint32_t header_size = 0, count = 0, bytes_per_glyph = 0, height = 0, width = 0;
    bool has_table = false;
};

inline uint32_t le32(const std::string &b, size_t at)
{
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
           uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}

// Version 1 (36 04) or 2 (72 B5 4A 86), as the format's documentation has it.
inline PsfHeader psf_header(const std::string &b)
{
    PsfHeader h;
    if (b.size() >= 4 && uint8_t(b[0]) == 0x36 && uint8_t(b[1]) == 0x04) {
        h = {4, (b[2] & 1) ? 512u : 256u, uint8_t(b[3]), uint8_t(b[3]), 8, (b[2] & 2) != 0};
    } else if (b.size() >= 32 && le32(b, 0) == 0x864AB572u) {
        h = {le32(b, 8), le32(b, 16), le32(b, 20), le32(b, 24), le32(b, 28), (le32(b, 12) & 1) != 0};
    }
    return h;
}

// Every code psfxtable lists for a glyph (a sequence gives none), the first
// glyph that lists a code keeping it, with the glyph's rows read at the
// offset its header gives: cells 1 to 6 are bits 7 to 2 of a row's first
// byte. The table's entries, a line a glyph, go to table_lines.
inline SeenFont psfxtable_cells(const std::string &path, std::vector<std::string> *table_lines = nullptr)
{
    SeenFont seen;
    std::string bytes = read_file(path);
    PsfHeader h = psf_header(bytes);
    std::string table = path + ".table";
    std::string command = "psfxtable -i '" + path + "' -ot '" + table + "' 2>&1";
    if (!h.count || std::system(command.c_str()) != 0) {
        seen.error = "psfxtable can't read " + path;
        return seen;
    }
    uint32_t row_bytes = (h.width + 7) / 8;
    std::istringstream lines(read_file(table));
    for (std::string line; std::getline(lines, line);) {
        unsigned glyph;
        if (line.empty() || line[0] == '#' || std::sscanf(line.c_str(), "0x%x", &glyph) != 1)
            continue;
        std::string codes = line.substr(line.find('\t') == std::string::npos ? line.size() : line.find('\t') + 1);
        if (table_lines)
            table_lines->push_back(codes);
        std::istringstream words(codes);
        for (std::string word; words >> word;) {
            unsigned code;
            if (word.find(',') != std::string::npos || std::sscanf(word.c_str(), "U+%x", &code) != 1 ||
                seen.glyphs.count(code))
                continue;
            std::string rows(h.height, '\0');
            for (uint32_t r = 0; r < h.height; ++r)
                for (uint32_t x = 0; x < h.width; ++x) {
                    uint8_t byte = bytes.at(h.header_size + glyph * h.bytes_per_glyph + r * row_bytes + x / 8);
                    bool ink = byte & (0x80 >> (x % 8));
                    if (ink && x < 6)
                        rows[r] = static_cast<char>(rows[r] | (0x20 >> x));
                    else if (ink)
                        seen.cut.insert(code);
                }
            seen.glyphs[code] = rows;
        }
    }
    return seen;
}

#endif
