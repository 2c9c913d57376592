#include "startup.h"
#include "../convert/convert.h"
#include "../stream/stream.h"

// The platform enters here with no runtime in between: nothing is
// initialised but what this function sets up, and nothing is released at the
// end, since the process ends with it.
extern "C" void process_start(void)
{
    stdin_stream.handle = GetStdHandle(STD_INPUT_HANDLE);
    stdout_stream.handle = GetStdHandle(STD_OUTPUT_HANDLE);
    stderr_stream.handle = GetStdHandle(STD_ERROR_HANDLE);
    int count = 0;
    char **arguments = split_command_line(&count);
    ExitProcess(arguments ? convert_main(count, arguments) : STATUS_NO_MEMORY);
}
