#include "read_text.h"

namespace {

// Squeezes carriage returns out of bytes[0..n) in place; returns how many
// bytes are kept.
DWORD squeeze(unsigned char *bytes, DWORD n)
{
    DWORD kept = 0;
    for (DWORD i = 0; i < n; ++i) {
        if (bytes[i] != CARRIAGE_RETURN)
            bytes[kept++] = bytes[i];
    }
    return kept;
}

}  // namespace

DWORD drop_carriage_returns(Stream *stream, unsigned char *bytes, DWORD got)
{
    DWORD total = 0;
    while (got != 0) {
        DWORD kept = squeeze(bytes + total, got);
        total += kept;
        if (kept == got)
            break;
        got = read_some(stream, bytes + total, got - kept);
    }
    return total;
}
