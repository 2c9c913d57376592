#include "stream.h"

DWORD text_length(const char *text)
{
    DWORD length = 0;
    while (text[length])
        ++length;
    return length;
}
