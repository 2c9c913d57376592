#include "forms.h"

namespace {

// The suffixes in the order of the forms from FORM_DRAWING on, the dot
// included, one after another.
const char SUFFIXES[] = ".txt\0.png\0.bdf\0.psf\0.h\0.c\0.bin\0";

}  // namespace

// The suffix is the user's text, put as it stands, never as a format.
bool form_known(const char *name)
{
    if (form_of(name) != FORM_UNKNOWN)
        return true;
    const char *start, *suffix;
    base_name(name, &start, &suffix);
    Out out;
    out_begin(out, &stdout_stream);
    put_text(out, "output form not known: ");
    put_text(out, suffix);
    put_text(out, " (the forms: .txt .png .bdf .psf .h .c .bin).\n");
    out_end(out);
    return false;
}

bool form_has_codes(Form form)
{
    return form == FORM_BDF || form == FORM_PSF || form == FORM_C_HEADER || form == FORM_C_SOURCE;
}

Form form_of(const char *name)
{
    const char *start, *suffix;
    base_name(name, &start, &suffix);
    if (!*suffix)
        return FORM_DRAWING;
    int form = FORM_DRAWING;
    for (const char *known = SUFFIXES; *known; known += text_length(known) + 1, ++form)
        if (text_same_in_any_case(suffix, known))
            return static_cast<Form>(form);
    return FORM_UNKNOWN;
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

void say_form_notes(Form form, const Font &font)
{
    DWORD glyphs = coded_glyphs(font);
    if (form == FORM_PSF && !psf_laid_out(font))
        say(0, "the console loads at most 512 glyphs; this PSF holds \1.", &glyphs);
    bool carried = form == FORM_SHEET || form == FORM_BDF || form == FORM_C_HEADER || form == FORM_C_SOURCE;
    if ((font.copyright || font.notice) && !carried)
        say(0, "the font's copyright notice is not carried into this form.", nullptr);
}
