#include "forms.h"

namespace {

// The suffixes in the order of the forms after FORM_DRAWING, lower case,
// the dot included, one after another.
const char SUFFIXES[] = ".png\0.bdf\0.psf\0.h\0.c\0.bin\0";

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool ends_with(const char *name, DWORD length, const char *suffix)
{
    DWORD n = text_length(suffix);
    if (length < n)
        return false;
    for (DWORD i = 0; i < n; ++i)
        if (lower(name[length - n + i]) != suffix[i])
            return false;
    return true;
}

}  // namespace

Form form_of(const char *name)
{
    DWORD length = text_length(name);
    int form = FORM_DRAWING + 1;
    for (const char *suffix = SUFFIXES; *suffix; suffix += text_length(suffix) + 1, ++form)
        if (ends_with(name, length, suffix))
            return static_cast<Form>(form);
    return FORM_DRAWING;
}

bool write_form(Form form, Stream *stream, const Font &font, const char *name)
{
    Out out;
    out_begin(out, stream);
    switch (form) {
    case FORM_SHEET: write_sheet(out, font, name); break;
    case FORM_BDF: write_bdf(out, font, name); break;
    case FORM_PSF: write_psf(out, font, name); break;
    case FORM_C_HEADER: write_c_header(out, font, name); break;
    case FORM_C_SOURCE: write_c_source(out, font, name); break;
    case FORM_FONT_FILE: write_font_file(out, font, name); break;
    default: write_drawing(out, font, name); break;
    }
    return out_end(out);
}

DWORD whole_glyphs(const Font &font)
{
    return font.rows / font.height;
}

DWORD coded_glyphs(const Font &font)
{
    DWORD whole = whole_glyphs(font);
    if (font.first > MAX_CODE)
        return 0;
    DWORD room = MAX_CODE - font.first + 1;
    return whole < room ? whole : room;
}
