#include "readers.h"

// A valid UTF-8 sequence (shortest form, no surrogate, at most U+10FFFF)
// is one code; any other byte is its own (Latin-1), so that no text is
// refused and none is misread.
DWORD next_text_code(const unsigned char *&at, const unsigned char *end)
{
    DWORD lead = *at++;
    int more = lead >= 0xF0 && lead <= 0xF4 ? 3 : lead >= 0xE0 && lead <= 0xEF ? 2 : lead >= 0xC2 && lead <= 0xDF ? 1 : 0;
    DWORD code = lead & (0x3Fu >> more);
    DWORD low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    DWORD high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    for (int i = 0; i < more; ++i) {
        DWORD c = at + i < end ? at[i] : 0;
        if (c < (i ? 0x80u : low) || c > (i ? 0xBFu : high))
            return lead;  // not a sequence: the lead byte alone
        code = code << 6 | (c & 0x3F);
    }
    at += more;
    return more ? code : lead;
}
