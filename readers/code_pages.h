// The 8-bit encodings of X11's fonts (ISO 8859 parts 1 to 11 and 13 to 16,
// KOI8-R and KOI8-U, Windows-1251, TIS 620), to Unicode.
#ifndef GLYPHROW_CODE_PAGES_H
#define GLYPHROW_CODE_PAGES_H

#include "../platform/kernel32.h"

enum : DWORD {
    FIRST_GRAPHIC = 0x20,  // codes 0x20 to 0x7E are ASCII in each
    LAST_ASCII = 0x7E,
    ISO8859_UPPER = 0xA0,  // the first upper graphic code of ISO 8859,
    KOI8_UPPER = 0x80,     // and of KOI8 and Windows-1251
    LAST_8_BIT = 0xFF,
    NO_CHARACTER = 0xFFFFFFFFu,
};

struct CodePage {
    const char *registry, *encoding;  // encoding null: any
    DWORD upper;  // the first code of the table
    const unsigned char *table;  // the steps from code to code; null: the upper codes are Unicode's own
};

// The code page a font's registry and encoding name (in any case), or null.
const CodePage *find_code_page(const char *registry, const char *encoding);
// The Unicode code point of one of the page's graphic codes; NO_CHARACTER
// for any other code, and where the page has no character.
DWORD to_unicode(const CodePage &page, DWORD code);

#endif
