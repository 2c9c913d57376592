#include "convert.h"
#include "../startup/startup.h"

// glyphrow's entry. The process ends here, so nothing is released.
extern "C" void process_start(void)
{
    int count = 0;
    char **arguments = start_process(&count);
    ExitProcess(arguments ? convert_main(count, arguments) : STATUS_NO_MEMORY);
}
