#include "forms.h"

namespace {

// The suffixes in the order of the forms from FORM_DRAWING on, the dot
// included, one after another.
constexpr char SUFFIXES[] = ".txt\0.png\0.bdf\0.psf\0.h\0.c\0.bin\0.gfx.h\0.cols.h\0.cols.c\0.lvgl.c\0";
constexpr int count_suffixes(const char *s)
{
    return *s ? (s[1] == 0) + count_suffixes(s + 1) : s[1] ? count_suffixes(s + 1) : 0;
}
static_assert(count_suffixes(SUFFIXES) == FORM_UNKNOWN, "a suffix for each form before FORM_UNKNOWN");

const char PLAIN_FORMS[] = " (the forms: .txt .png .bdf .psf .h .c .bin .gfx.h .cols.h .cols.c .lvgl.c).\n";

// A suffix of two dots: told by the whole of it, before the last dot's.
bool is_compound(const char *suffix)
{
    int dots = 0;
    for (; *suffix; ++suffix)
        dots += *suffix == '.';
    return dots == 2;
}

// Whether the name ends in the suffix, in any case.
const char *ends_in(const char *name, const char *suffix)
{
    DWORD n = text_length(name), s = text_length(suffix);
    return n > s && text_same_in_any_case(name + n - s, suffix) ? name + n - s : nullptr;
}

}  // namespace

// The suffix is the user's text, put as it stands, never as a format.
void say_form_not_known(Stream *to, const char *name, const char *forms)
{
    const char *start, *suffix;
    base_name(name, &start, &suffix);
    Out out;
    out_begin(out, to);
    put_text(out, "output form not known: ");
    put_text(out, suffix);
    put_text(out, forms ? forms : PLAIN_FORMS);
    out_end(out);
}

bool form_known(Stream *to, const char *name)
{
    if (form_of(name) != FORM_UNKNOWN)
        return true;
    say_form_not_known(to, name, nullptr);
    return false;
}

bool form_has_codes(Form form)
{
    return form == FORM_BDF || form == FORM_PSF || form == FORM_C_HEADER || form == FORM_C_SOURCE ||
           form == FORM_GFX || form == FORM_COLS_HEADER || form == FORM_COLS_SOURCE || form == FORM_LVGL;
}

const char *compound_suffix(const char *name)
{
    const char *start, *end;
    base_name(name, &start, &end);
    for (const char *known = SUFFIXES; *known; known += text_length(known) + 1) {
        const char *at = is_compound(known) ? ends_in(start, known) : nullptr;
        if (at)
            return at;
    }
    return nullptr;
}

Form form_of(const char *name)
{
    const char *start, *suffix;
    base_name(name, &start, &suffix);
    const char *compound = compound_suffix(name);
    if (!*suffix)
        return FORM_DRAWING;
    int form = FORM_DRAWING;
    for (const char *known = SUFFIXES; *known; known += text_length(known) + 1, ++form)
        if (text_same_in_any_case(compound ? compound : suffix, known))
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
    case FORM_GFX: write_gfx(out, font, name); break;
    case FORM_COLS_HEADER: write_cols_header(out, font, name); break;
    case FORM_COLS_SOURCE: write_cols_source(out, font, name); break;
    case FORM_LVGL: write_lvgl(out, font, name); break;
    default: write_drawing(out, font, name); break;
    }
    return out_end(out);
}

DWORD code_of(const Font &font, DWORD glyph)
{
    return font.codes ? font.codes[glyph] : font.first + glyph;
}

const unsigned char *rows_of_code(const Font &font, DWORD code, DWORD *cursor)
{
    DWORD glyphs = whole_glyphs(font);
    while (*cursor < glyphs && font.codes[*cursor] < code)
        ++*cursor;
    return *cursor < glyphs && font.codes[*cursor] == code ? font.row_bytes + *cursor * font.height : nullptr;
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

const char *form_refusal(Form form, const Font &font)
{
    return form == FORM_GFX ? gfx_refusal(font) : form == FORM_LVGL ? lvgl_refusal(font) : nullptr;
}

DWORD form_notes(Form form, const Font &font, Report *notes)
{
    DWORD n = 0;
    if (form == FORM_GFX && gfx_past_bytes(font))
        notes[n++] = report_of(STATUS_DONE, "Adafruit_GFX itself draws 8-bit codes only: this table, past 0xFF, is for TFT_eSPI and LovyanGFX.");
    if (form == FORM_PSF && !psf_laid_out(font)) {
        notes[n] = report_of(STATUS_DONE, "the console loads at most 512 glyphs; this PSF holds \1.");
        notes[n++].values[0] = coded_glyphs(font);
    }
    bool carried = form == FORM_SHEET || form == FORM_BDF || form == FORM_C_HEADER || form == FORM_C_SOURCE ||
                   form == FORM_GFX || form == FORM_COLS_HEADER || form == FORM_COLS_SOURCE || form == FORM_LVGL;
    if ((font.copyright || font.notice) && !carried)
        notes[n++] = report_of(STATUS_DONE, "the font's copyright notice is not carried into this form.");
    return n;
}
