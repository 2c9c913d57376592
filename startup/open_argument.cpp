#include "startup.h"
#include "../platform/block.h"
#include "../stream/stream.h"

namespace {

const char STANDARD_NAME[] = "-";
const char NOT_ENOUGH_MEMORY_TEXT[] = "not enough memory.";

// Windows gives a folder the code it gives a file one may not open; a
// folder alone opens for reading with backup semantics (a file one may not
// read doesn't).
bool is_folder(const char *name)
{
    HANDLE h = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

// Asked at once, before any other call can change the code.
const char *cause_of_failed_open(const char *name)
{
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND: return ": no such file.\n";
    case ERROR_PATH_NOT_FOUND: return ": no such folder.\n";
    case ERROR_ACCESS_DENIED: return is_folder(name) ? ": a folder.\n" : ": no permission.\n";
    case ERROR_SHARING_VIOLATION: return ": in use.\n";
    default: return ".\n";
    }
}

// "can't open output file sub/dir/x.bin: no such folder.", the name as
// typed, never read as a format.
int say_cant_open(Stream *to, const char *name, bool output)
{
    const char *cause = cause_of_failed_open(name);
    Out out;
    out_begin(out, to);
    put_text(out, output ? "can't open output file " : "can't open input file ");
    put_text(out, name);
    put_text(out, cause);
    out_end(out);
    return output ? STATUS_CANT_OPEN_OUTPUT : STATUS_CANT_OPEN_INPUT;
}

}  // namespace

bool is_standard_name(const char *name)
{
    return text_same(name, STANDARD_NAME);
}

int tool_status(Stream *to, int status)
{
    return status == STATUS_NO_MEMORY ? say(to, status, NOT_ENOUGH_MEMORY_TEXT, nullptr) : status;
}

Stream *messages_for(const char *output)
{
    return output && is_standard_name(output) ? &stderr_stream : &stdout_stream;
}

Stream *open_argument(Stream *to, const char *name, bool output, int *status)
{
    if (!is_standard_name(name)) {
        Stream *stream = stream_open(name, output ? "wb" : "rb");
        if (!stream)
            *status = say_cant_open(to, name, output);
        return stream;
    }
    // Standard input or output as bytes: a row byte 0x0D is a row.
    Stream *stream = static_cast<Stream *>(block_alloc(sizeof(Stream)));
    if (!stream) {
        *status = STATUS_NO_MEMORY;
        return nullptr;
    }
    stream->handle = GetStdHandle(output ? STD_OUTPUT_HANDLE : STD_INPUT_HANDLE);
    stream->flags = STREAM_BINARY | STREAM_STANDARD;
    stream->lookahead = 0;
    return stream;
}

int close_argument(Stream *stream)
{
    if (!stream || !(stream->flags & STREAM_STANDARD))
        return stream_close(stream);
    block_free(stream);
    return 0;
}
