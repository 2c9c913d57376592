#include "forms.h"

void put_named(Out &out, const char *pieces, int names, const DWORD *values, NameWriter put_name,
               const char *name)
{
    for (;; --names) {
        put_format(out, pieces, values);
        if (names == 0)
            return;
        while (*pieces++)
            ;
        put_name(out, name);
    }
}
