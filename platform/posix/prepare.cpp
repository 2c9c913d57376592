// What a Windows process has at its start and a POSIX one must be given:
// shared by the native tools' main and by the test runner that starts the
// exes on an emulated CPU, so that both meet the same process.
#include "../../startup/status.h"
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

void posix_prepare_process(void)
{
    // A reader that has gone away, or a file that reaches the size limit,
    // must make the write fail, as on Windows, not end the process before it
    // can give its message and status.
    signal(SIGPIPE, SIG_IGN);
    signal(SIGXFSZ, SIG_IGN);
    keep_standard_descriptors_taken();
}
