// The native build's entry: POSIX starts programs at main, so main prepares
// what the Windows loader would have and hands over to process_start.
#include "../../startup/startup.h"
#include "posix_entry.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A closed standard descriptor would be handed to the next open, and the
// source or the font file would then receive the tool's messages.
void keep_standard_descriptors_taken(void)
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) < 0 && open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY) < 0)
            _exit(STATUS_NO_MEMORY);
    }
}

}  // namespace

int main(int argc, char **argv)
{
    // A reader that has gone away, or a file that reaches the size limit,
    // must make the write fail, as on Windows, not end the process before it
    // can give its message and status.
    signal(SIGPIPE, SIG_IGN);
    signal(SIGXFSZ, SIG_IGN);
    keep_standard_descriptors_taken();
    if (!posix_set_arguments(argc, argv))
        _exit(STATUS_NO_MEMORY);  // as start-up does when it can't split them
    TOOL_ENTRY();
}
