#include "forms.h"
#include "../rows/row.h"

namespace {

enum : DWORD {
    SWIDTH_SCALE = 6000,  // 1000 * the width, over the size in points (72 dpi)
};

// The header, in pieces around the family name (see put_named) and the
// registry, the maker's notices between them, then each glyph. In the
// formats, \1 is the height, \2 the size in decipoints, \3 the offset of
// the cell's bottom (minus the descent), \4 the ascent, \5 the descent, \6
// the default character, \7 the glyph count; in a glyph's, \1 its code, \2
// its scalable width, \3 the height, \4 the cell's bottom.
const char FONT_NAME[] = "STARTFONT 2.1\nFONT -glyphrow-\0-Medium-R-Normal--\1-\2-72-72-C-60-";
const char HEADER[] = "\nSIZE \1 72 72\nFONTBOUNDINGBOX 6 \1 0 \3\nSTARTPROPERTIES ";
const char PROPERTIES[] =
    "FONT_ASCENT \4\nFONT_DESCENT \5\nPIXEL_SIZE \1\n"
    "SPACING \"C\"\nFAMILY_NAME \"\0"
    "\"\nCHARSET_REGISTRY \"";
const char ENCODING_PROPERTY[] = "\"\nCHARSET_ENCODING \"";
const char DEFAULT_CHAR_PROPERTY[] = "DEFAULT_CHAR \6\n";
const char GLYPHS[] = "ENDPROPERTIES\nCHARS \7\n";
const char GLYPH[] = "\nENCODING \1\nSWIDTH \2 0\nDWIDTH 6 0\nBBX 6 \3 0 \4\nBITMAP\n";
const char UNICODE_REGISTRY[] = "ISO10646-1";  // its registry and encoding, as the font's own are

enum : DWORD {
    OWN_PROPERTIES = 7,  // and DEFAULT_CHAR where the font has a space
    LAST_BMP = 0xFFFF,
    FIRST_SURROGATE = 0xD800,
    LAST_SURROGATE = 0xDFFF,
};

// Characters that an XLFD field can't hold, and any control byte, which
// would break the line.
bool is_family_character(char c)
{
    unsigned char u = static_cast<unsigned char>(c);
    for (const char *p = "-*?,\"\x7f"; *p; ++p)
        if (c == *p)
            return false;
    return u >= 0x20;
}

void put_family(Out &out, const char *name)
{
    const char *start, *end;
    base_name(name, &start, &end);
    for (const char *p = start; p < end; ++p)
        put_byte(out, is_family_character(*p) ? static_cast<unsigned char>(*p) : ' ');
}

// Whether the font holds the space, which programs draw for a character
// the font lacks: DEFAULT_CHAR names it, or nothing (naming a glyph with
// ink would draw it for every missing character).
bool has_space(const Font &font, DWORD glyphs)
{
    for (DWORD g = 0; font.codes && g < glyphs; ++g)
        if (font.codes[g] == SPACE_CODE)
            return true;
    return !font.codes && font.first <= SPACE_CODE && SPACE_CODE - font.first < glyphs;
}

// "ISO10646-1" or the font's own ("GOST19768.74-1"): the registry, then,
// past its last "-", the encoding; each as put, or each as a property.
const char *registry_of(const Font &font)
{
    return font.registry ? font.registry : UNICODE_REGISTRY;
}

const char *encoding_of(const char *registry)
{
    const char *dash = nullptr;
    for (const char *p = registry; *p; ++p)
        if (*p == '-')
            dash = p;
    return dash;
}

void put_registry_properties(Out &out, const char *registry)
{
    const char *dash = encoding_of(registry);
    put_bytes(out, registry, dash ? static_cast<DWORD>(dash - registry) : text_length(registry));
    put_text(out, ENCODING_PROPERTY);
    put_text(out, dash ? dash + 1 : "");
    put_text(out, "\"\n");
}

// A property of the maker's, its value as the source font gave it.
void put_notice(Out &out, const char *keyword, const char *value)
{
    if (!value)
        return;
    put_text(out, keyword);
    put_text(out, value);
    put_byte(out, LINE_FEED);
}

void put_header(Out &out, const Font &font, const char *name, DWORD glyphs)
{
    bool space = has_space(font, glyphs);
    const DWORD values[] = {font.height, 10 * font.height, 0 - font.descent, font.height - font.descent,
                            font.descent, SPACE_CODE, glyphs};
    put_named(out, FONT_NAME, 1, values, put_family, name);
    put_text(out, registry_of(font));
    put_format(out, HEADER, values);
    put_number(out, OWN_PROPERTIES + space + (font.copyright != nullptr) + (font.notice != nullptr), DECIMAL, 1);
    put_byte(out, LINE_FEED);
    put_notice(out, "COPYRIGHT ", font.copyright);
    put_notice(out, "NOTICE ", font.notice);
    put_named(out, PROPERTIES, 1, values, put_family, name);
    put_registry_properties(out, registry_of(font));
    if (space)
        put_format(out, DEFAULT_CHAR_PROPERTY, values);
    put_format(out, GLYPHS, values);
}

// Glyph names as Adobe's rules make them of Unicode: "uni0041" in the
// Basic Multilingual Plane, "u1F600" past it; a code that is no Unicode
// character (a surrogate, or a code of another registry) is "char" and its
// code in decimal.
void put_glyph_name(Out &out, const Font &font, DWORD code)
{
    if (font.registry || (code >= FIRST_SURROGATE && code <= LAST_SURROGATE)) {
        put_text(out, "char");
        put_number(out, code, DECIMAL, 1);
    } else {
        put_text(out, code <= LAST_BMP ? "uni" : "u");
        put_number(out, code, HEX, 4);
    }
}

void put_glyph(Out &out, const Font &font, DWORD glyph)
{
    DWORD code = code_of(font, glyph);
    const DWORD values[] = {code, (SWIDTH_SCALE + font.height / 2) / font.height, font.height,
                            0 - font.descent};
    put_text(out, "STARTCHAR ");
    put_glyph_name(out, font, code);
    put_format(out, GLYPH, values);
    const unsigned char *rows = font.row_bytes + glyph * font.height;
    for (DWORD row = 0; row < font.height; ++row) {
        put_number(out, static_cast<DWORD>(rows[row]) << WIDE_ROW_SHIFT, HEX, 2);
        put_byte(out, LINE_FEED);
    }
    put_text(out, "ENDCHAR\n");
}

}  // namespace

// BDF 2.1: one character cell for every glyph, the whole glyphs that have
// Unicode codes.
void write_bdf(Out &out, const Font &font, const char *name)
{
    DWORD glyphs = coded_glyphs(font);
    put_header(out, font, name, glyphs);
    for (DWORD glyph = 0; glyph < glyphs; ++glyph)
        put_glyph(out, font, glyph);
    put_text(out, "ENDFONT\n");
}
