#include "foreign.h"

namespace {

// Each mark, as the file begins, and its line; a mark is its length
// byte and its bytes.
const unsigned char BDF_MARK[] = {9, 'S', 'T', 'A', 'R', 'T', 'F', 'O', 'N', 'T'};
const unsigned char PSF1_MARK[] = {2, 0x36, 0x04};
const unsigned char PSF2_MARK[] = {4, 0x72, 0xB5, 0x4A, 0x86};
const unsigned char PCF_MARK[] = {4, 0x01, 'f', 'c', 'p'};
const unsigned char GZIP_MARK[] = {2, 0x1F, 0x8B};
const unsigned char PNG_MARK[] = {8, 0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

const struct {
    const unsigned char *mark;
    const char *text;
} MARKED[] = {
    {BDF_MARK, "input file is a BDF font, not a drawing: glyphpick reads it."},
    {PSF1_MARK, "input file is a PSF font, not a drawing: glyphpick reads it."},
    {PSF2_MARK, "input file is a PSF font, not a drawing: glyphpick reads it."},
    {PCF_MARK, "input file is a PCF font, not a drawing: glyphpick reads it."},
    {GZIP_MARK, "input file is gzip-compressed, not a drawing: glyphpick reads it."},
    {PNG_MARK, "input file is a PNG image, not a drawing."},
};
const char ROW_FONT_TEXT[] = "input file is a glyph-row font, not a drawing: glyphdraw reads it.";

enum : unsigned char { TAB = 0x09, LF = 0x0A, CR = 0x0D, ROW_FONT_BELOW = 0x40 };

bool begins_with(const unsigned char *bytes, DWORD n, const unsigned char *mark)
{
    if (n < mark[0])
        return false;
    for (DWORD i = 0; i < mark[0]; ++i)
        if (bytes[i] != mark[i + 1])
            return false;
    return true;
}

// Row bytes alone (none at 0x40 or above), fewer than half of them cells
// or line ends, and a control byte that no text holds: a drawing, even a
// damaged one, fails at least one of the three.
bool is_row_font(const unsigned char *bytes, DWORD n)
{
    DWORD texty = 0;
    bool control = false;
    for (DWORD i = 0; i < n; ++i) {
        unsigned char c = bytes[i];
        if (c >= ROW_FONT_BELOW)
            return false;
        texty += c == ' ' || c == '*' || c == '.' || c == LF || c == CR;
        control = control || (c < ' ' && c != TAB && c != LF && c != CR);
    }
    return control && 2 * texty < n;
}

}  // namespace

const char *foreign_input(const unsigned char *bytes, DWORD n)
{
    for (const auto &marked : MARKED)
        if (begins_with(bytes, n, marked.mark))
            return marked.text;
    return is_row_font(bytes, n) ? ROW_FONT_TEXT : nullptr;
}
