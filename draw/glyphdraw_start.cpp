#include "draw.h"
#include "../startup/startup.h"

// glyphdraw's entry. The process ends here, so nothing is released.
extern "C" void glyphdraw_start(void)
{
    int count = 0;
    char **arguments = start_process(&count);
    ExitProcess(tool_status(arguments ? draw_main(count, arguments) : STATUS_NO_MEMORY));
}
