#include "forms.h"

// The font file: the whole glyphs' row bytes, as glyphrow writes them.
void write_font_file(Out &out, const Font &font, const char *)
{
    put_block(out, font.row_bytes, whole_glyphs(font) * font.height);
}
