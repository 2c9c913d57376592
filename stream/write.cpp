#include "stream.h"

namespace {

// One WriteFile call; true only when the platform took every byte.
bool write_all(Stream *stream, const unsigned char *data, DWORD n, DWORD *put)
{
    *put = 0;
    BOOL ok = WriteFile(stream->handle, data, n, put, nullptr);
    return ok && *put == n;
}

DWORD run_length(const unsigned char *data, DWORD n)
{
    DWORD length = 0;
    while (length < n && data[length] != LINE_FEED)
        ++length;
    return length;
}

// Writes runs between line feeds as they are and each line feed as a
// carriage return and a line feed. Stops at the first call that fails or
// falls short, so that nothing follows a hole in the output. Returns how
// many of the caller's bytes went out (a line feed counts as one).
DWORD write_text(Stream *stream, const unsigned char *data, DWORD n)
{
    static const unsigned char line_end[2] = {CARRIAGE_RETURN, LINE_FEED};
    DWORD total = 0;
    while (total < n) {
        DWORD run = run_length(data + total, n - total);
        DWORD put;
        if (run != 0) {
            bool whole = write_all(stream, data + total, run, &put);
            total += put;
            if (!whole)
                break;
        }
        if (total == n || !write_all(stream, line_end, 2, &put))
            break;
        ++total;
    }
    return total;
}

}  // namespace

DWORD stream_write(const void *data, DWORD size, DWORD count, Stream *stream)
{
    DWORD n = size * count;
    if (n == 0)
        return 0;
    const unsigned char *bytes = static_cast<const unsigned char *>(data);
    DWORD total;
    if (stream->flags & STREAM_BINARY)
        write_all(stream, bytes, n, &total);
    else
        total = write_text(stream, bytes, n);
    return total / size;
}
