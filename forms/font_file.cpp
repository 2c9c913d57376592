#include "forms.h"

// The font file: the whole glyphs' row bytes, as glyphrow writes them.
bool write_font_file(Stream *out, const Font &font)
{
    DWORD n = whole_glyphs(font) * font.height;
    return stream_write(font.row_bytes, 1, n, out) == n;
}
