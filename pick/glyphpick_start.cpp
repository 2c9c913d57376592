#include "pick.h"
#include "../startup/startup.h"

// glyphpick's entry. The process ends here, so nothing is released.
extern "C" void glyphpick_start(void)
{
    int count = 0;
    char **arguments = start_process(&count);
    ExitProcess(tool_status(arguments ? pick_main(count, arguments) : STATUS_NO_MEMORY));
}
