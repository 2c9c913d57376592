#include "show.h"
#include "../startup/startup.h"
#include "../stream/stream.h"

// glyphshow's entry. The process ends here, so nothing is released.
extern "C" void glyphshow_start(void)
{
    int count = 0;
    char **arguments = start_process(&count);
    int status = arguments ? show_main(count, arguments) : STATUS_NO_MEMORY;
    ExitProcess(tool_status(&stderr_stream, status));  // every message of glyphshow's goes there
}
