#include "stream.h"
#include "../platform/block.h"

namespace {

struct OpenKind {
    DWORD access;
    DWORD disposition;
    bool to_end;
};

// The first mode character picks the kind; later characters may add "+"
// (update) and "b" (binary). Anything else is ignored, letters are
// case-sensitive. Returns false for an unknown first character.
bool parse_mode(const char *mode, OpenKind *kind, DWORD *flags)
{
    switch (mode[0]) {
    case 'r': *kind = {GENERIC_READ, OPEN_EXISTING, false}; break;
    case 'w': *kind = {GENERIC_WRITE, CREATE_ALWAYS, false}; break;
    case 'a': *kind = {GENERIC_WRITE, OPEN_ALWAYS, true}; break;
    default: return false;
    }
    for (const char *p = mode + 1; *p; ++p) {
        if (*p == '+')
            kind->access = GENERIC_READ | GENERIC_WRITE;
        else if (*p == 'b')
            *flags |= STREAM_BINARY;
    }
    return true;
}

// An input is shared for reading, so that runs side by side (as make -j
// starts them) may read one file at once; anything written is held alone,
// and so can't be a file that another run, or this one, is reading.
bool open_handle(Stream *stream, const char *name, const OpenKind &kind)
{
    DWORD share = kind.access == GENERIC_READ ? static_cast<DWORD>(FILE_SHARE_READ) : 0u;
    stream->handle = CreateFileA(name, kind.access, share, nullptr, kind.disposition,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (stream->handle == INVALID_HANDLE_VALUE)
        return false;
    if (kind.to_end && SetFilePointer(stream->handle, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER) {
        CloseHandle(stream->handle);  // the open fails; don't leave the file held
        return false;
    }
    return true;
}

}  // namespace

Stream *stream_open(const char *name, const char *mode)
{
    OpenKind kind;
    DWORD flags = platform_text_crlf ? 0u : static_cast<DWORD>(STREAM_BINARY);
    if (!parse_mode(mode, &kind, &flags))
        return nullptr;
    Stream *stream = static_cast<Stream *>(block_alloc(sizeof(Stream)));
    if (!stream)
        return nullptr;
    stream->flags = flags;
    if (!open_handle(stream, name, kind)) {
        block_free(stream);
        return nullptr;
    }
    return stream;
}
