#include "stream.h"

namespace {

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool text_same_in_any_case(const char *a, const char *b)
{
    while (*a && lower(*a) == lower(*b))
        ++a, ++b;
    return lower(*a) == lower(*b);
}

bool text_same(const char *a, const char *b)
{
    while (*a && *a == *b)
        ++a, ++b;
    return *a == *b;
}
