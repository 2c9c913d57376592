#include "pick.h"
#include "../startup/startup.h"
#include "../stream/stream.h"

// glyphpick's entry. The process ends here, so nothing is released.
extern "C" void glyphpick_start(void)
{
    int count = 0;
    char **arguments = start_process(&count);
    int status = arguments ? pick_main(count, arguments) : STATUS_NO_MEMORY;
    ExitProcess(tool_status(arguments ? messages_for(count > 2 ? arguments[2] : nullptr) : &stdout_stream, status));
}
