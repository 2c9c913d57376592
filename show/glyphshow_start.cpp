#include "show.h"
#include "../startup/startup.h"

// glyphshow's entry. The process ends here, so nothing is released.
extern "C" void glyphshow_start(void)
{
    int count = 0;
    char **arguments = start_process(&count);
    ExitProcess(tool_status(arguments ? show_main(count, arguments) : STATUS_NO_MEMORY));
}
