#include "forms.h"

// The font file: the whole glyphs' row bytes, as glyphrow writes them; a
// set's span, a blank glyph for each code it lacks.
void write_font_file(Out &out, const Font &font, const char *)
{
    if (!font.codes)
        return put_block(out, font.row_bytes, whole_glyphs(font) * font.height);
    DWORD cursor = 0;
    for (DWORD code = font.span_first;; ++code) {
        const unsigned char *rows = rows_of_code(font, code, &cursor);
        for (DWORD r = 0; r < font.height; ++r)
            put_byte(out, rows ? rows[r] : 0);
        if (code == font.span_last)
            return;
    }
}
