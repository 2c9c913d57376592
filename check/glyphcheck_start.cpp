#include "check.h"
#include "../startup/startup.h"
#include "../stream/stream.h"

// glyphcheck's entry. The process ends here, so nothing is released.
extern "C" void glyphcheck_start(void)
{
    int count = 0;
    char **arguments = start_process(&count);
    int status = arguments ? check_main(count, arguments) : STATUS_NO_MEMORY;
    ExitProcess(tool_status(arguments ? &stdout_stream : &stdout_stream, status));
}
