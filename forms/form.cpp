#include "forms.h"

namespace {

struct Suffix {
    const char *text;  // lower case, the dot included
    Form form;
};

const Suffix SUFFIXES[] = {
    {".png", FORM_SHEET}, {".bdf", FORM_BDF}, {".psf", FORM_PSF},
    {".h", FORM_C_HEADER}, {".c", FORM_C_SOURCE}, {".bin", FORM_FONT_FILE},
};

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

DWORD length_of(const char *text)
{
    DWORD length = 0;
    while (text[length])
        ++length;
    return length;
}

bool ends_with(const char *name, DWORD length, const char *suffix)
{
    DWORD n = length_of(suffix);
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
    DWORD length = length_of(name);
    for (const Suffix &s : SUFFIXES)
        if (ends_with(name, length, s.text))
            return s.form;
    return FORM_DRAWING;
}

bool write_form(Form form, Stream *out, const Font &font, const char *name)
{
    switch (form) {
    case FORM_SHEET: return write_sheet(out, font);
    case FORM_BDF: return write_bdf(out, font, name);
    case FORM_PSF: return write_psf(out, font);
    case FORM_C_HEADER: return write_c(out, font, name, true);
    case FORM_C_SOURCE: return write_c(out, font, name, false);
    case FORM_FONT_FILE: return write_font_file(out, font);
    default: return write_drawing(out, font);
    }
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
