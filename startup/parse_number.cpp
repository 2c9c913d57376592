#include "startup.h"

namespace {

enum : DWORD { UNICODE_DIGITS = 6 };  // "U+10FFFF"

int digit_value(char c, DWORD base)
{
    int value = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                       : -1;
    return value < static_cast<int>(base) ? value : -1;
}

}  // namespace

// A whole argument must be the number: no sign, no blank, no trailing text.
// The value is tested against high after every digit, and high is far below
// what one more digit could overflow, so a long run of digits is refused,
// never wrapped into range. A code's forms: "0x41", and "U+0041" as the
// tools print codes, in either case, with one to six digits.
bool parse_number(const char *text, bool code_forms, DWORD low, DWORD high, DWORD *value)
{
    DWORD base = 10, most_digits = 0xFFFFFFFFu;
    char second = static_cast<char>(text[0] ? text[1] | 0x20 : 0);
    if (code_forms && ((text[0] == '0' && second == 'x') || ((text[0] | 0x20) == 'u' && text[1] == '+'))) {
        most_digits = text[0] == '0' ? most_digits : UNICODE_DIGITS;
        base = 16;
        text += 2;
    }
    if (*text == 0)
        return false;
    DWORD n = 0;
    for (DWORD digits = 1; *text; ++text, ++digits) {
        int digit = digit_value(*text, base);
        if (digit < 0 || digits > most_digits)
            return false;
        n = n * base + static_cast<DWORD>(digit);
        if (n > high)
            return false;
    }
    if (n < low)
        return false;
    *value = n;
    return true;
}
