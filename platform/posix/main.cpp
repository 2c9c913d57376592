// The native build's entry: POSIX starts programs at main, so main prepares
// what the Windows loader would have and hands over to process_start.
#include "../../startup/startup.h"
#include "posix_entry.h"

#include <unistd.h>

int main(int argc, char **argv)
{
    posix_prepare_process();
    if (!posix_set_arguments(argc, argv))
        _exit(STATUS_NO_MEMORY);  // as start-up does when it can't split them
    TOOL_ENTRY();
}
