#include "forms.h"

namespace {

const char NO_CODE_LABEL[] = "no code";

enum : DWORD {
    LABEL_DIGITS = 4,  // "U+0041": at least four hex digits
    FOREIGN_DIGITS = 2,  // "0xC4"
    FIRST_SHOWN = 33,  // codes 33 to 126 show their character
    LAST_SHOWN = 126,
};

bool is_folder_end(char c)
{
    return c == '/' || c == '\\';
}

}  // namespace

// "U+0041 A": within 10 bytes however large the code (8 hex digits at
// most), so that a drawing's label line is one line piece and no piece of
// it can turn into a row.
char *make_label(char *at, DWORD code, bool foreign)
{
    if (code > MAX_CODE) {  // a glyph-row font may run past Unicode's last code
        for (const char *p = NO_CODE_LABEL; *p; ++p)
            *at++ = *p;
        return at;
    }
    *at++ = foreign ? '0' : 'U';
    *at++ = foreign ? 'x' : '+';
    at = format_number(at, code, HEX, foreign ? FOREIGN_DIGITS : LABEL_DIGITS);
    if (!foreign && code >= FIRST_SHOWN && code <= LAST_SHOWN) {
        *at++ = ' ';
        *at++ = static_cast<char>(code);
    }
    return at;
}

// Both of Windows' folder separators count on every platform, so that the
// native tools and the exes make the same names. The suffix is the base
// name's last dot on, unless that dot begins it (".hidden" has none).
void base_name(const char *name, const char **start, const char **end)
{
    *start = *end = name;
    const char *dot = nullptr;
    for (const char *p = name; *p; ++p) {
        if (is_folder_end(*p)) {
            *start = p + 1;
            dot = nullptr;
        } else if (*p == '.' && p != *start) {
            dot = p;
        }
        *end = p + 1;
    }
    if (dot)
        *end = dot;
}
