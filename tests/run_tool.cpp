#include "run_tool.h"

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// In the child: standard output as asked, everything else plain.
[[noreturn]] void exec_child(std::vector<char *> &argv, const std::string &folder, Output output,
                             int pipe_write, long file_size_limit, const std::string &input, int errors_fd)
{
    // The tool itself must cope with a gone reader and a file-size limit:
    // dispositions that this runner's own parent ignored would pass on.
    signal(SIGPIPE, SIG_DFL);
    signal(SIGXFSZ, SIG_DFL);
    if (file_size_limit) {
        rlimit limit = {static_cast<rlim_t>(file_size_limit), static_cast<rlim_t>(file_size_limit)};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (chdir(folder.c_str()) != 0)
        _exit(126);
    int null_fd = open("/dev/null", O_RDWR);
    int input_fd = input.empty() ? null_fd : open(input.c_str(), O_RDONLY);
    dup2(input_fd, STDIN_FILENO);
    if (errors_fd >= 0)
        dup2(errors_fd, STDERR_FILENO);
    if (output == Output::closed)
        close(STDOUT_FILENO);
    else
        dup2(pipe_write, STDOUT_FILENO);
    execvp(argv[0], argv.data());
    _exit(127);
}

std::string drain(int fd)
{
    std::string bytes;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, static_cast<size_t>(n));
    return bytes;
}

}  // namespace

ToolRun run_tool(const std::vector<std::string> &command, const std::vector<std::string> &args,
             const std::string &folder, Output output, long file_size_limit, const std::string &input)
{
    char errors_name[] = "/tmp/glyphrow-errors-XXXXXX";
    int errors_fd = input.empty() ? -1 : mkstemp(errors_name);
    std::vector<std::string> words = command;
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (std::string &w : words)
        argv.push_back(&w[0]);
    argv.push_back(nullptr);

    int fds[2];
    if (pipe(fds) != 0)
        return {};
    bool reading = output != Output::reader_gone;
    if (!reading)
        close(fds[0]);  // the reader is gone before the tool starts
    pid_t pid = fork();
    if (pid == 0) {
        if (reading)
            close(fds[0]);
        exec_child(argv, folder, output, fds[1], file_size_limit, input, errors_fd);
    }
    close(fds[1]);
    ToolRun run;
    if (reading) {
        run.output = drain(fds[0]);
        close(fds[0]);
    }
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    if (errors_fd >= 0) {
        lseek(errors_fd, 0, SEEK_SET);
        run.errors = drain(errors_fd);
        close(errors_fd);
        unlink(errors_name);
    }
    return run;
}

std::string native_line_ends(std::string text)
{
    for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;)
        text.erase(at, 1);
    return text;
}
