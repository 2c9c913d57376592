#include "stream.h"

// Writes value in base 10 or 16 (upper-case digits) at `at`, at least
// min_digits long with leading zeros, and returns the end; no terminator.
char *format_number(char *at, DWORD value, DWORD base, int min_digits)
{
    static const char digits[] = "0123456789ABCDEF";
    char reversed[32];  // a DWORD has at most 32 digits, in base 2
    int n = 0;
    do {
        reversed[n++] = digits[value % base];
        value /= base;
    } while (value != 0 || n < min_digits);
    while (n > 0)
        *at++ = reversed[--n];
    return at;
}
