#include "startup.h"
#include "../stream/stream.h"

// The platform enters a tool with no runtime in between: nothing is
// initialised but what this sets up, and nothing it makes is ever released.
char **start_process(int *count)
{
    stdin_stream.handle = GetStdHandle(STD_INPUT_HANDLE);
    stdout_stream.handle = GetStdHandle(STD_OUTPUT_HANDLE);
    stderr_stream.handle = GetStdHandle(STD_ERROR_HANDLE);
    if (!platform_text_crlf)
        stdin_stream.flags = stdout_stream.flags = stderr_stream.flags = STREAM_BINARY;
    return split_command_line(count);
}
