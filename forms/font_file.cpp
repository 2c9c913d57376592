#include "forms.h"

// The font file: the whole glyphs' row bytes, as glyphrow writes them.
bool write_font_file(Stream *out, const Font &font, const char *)
{
    return stream_write_whole(out, font.row_bytes, whole_glyphs(font) * font.height);
}
