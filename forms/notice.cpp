#include "forms.h"

// BDF quotes a property's text and doubles a quote inside it; a text that
// is not quoted is taken as it stands. Cut to what `to` holds.
DWORD unquote(const char *value, char *to)
{
    bool quoted = *value == '"';
    value += quoted;
    DWORD n = 0;
    for (; *value && n < NOTICE_SIZE - 1; ++value) {
        if (quoted && *value == '"' && *++value != '"')
            break;
        to[n++] = *value;
    }
    to[n] = 0;
    return n;
}
