#include "startup.h"

namespace {

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
// never wrapped into range.
bool parse_number(const char *text, bool hex_allowed, DWORD low, DWORD high, DWORD *value)
{
    DWORD base = 10;
    if (hex_allowed && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
    }
    if (*text == 0)
        return false;
    DWORD n = 0;
    for (; *text; ++text) {
        int digit = digit_value(*text, base);
        if (digit < 0)
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
