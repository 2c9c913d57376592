#include "posix_entry.h"

#include <cstdlib>
#include <cstring>

// Plain C library only: the native tool links no C++ runtime.
namespace {

char *command_line;

bool is_quote(char c) { return c == '"'; }

// An argument must be quoted when it would otherwise split or vanish.
bool needs_quotes(const char *argument)
{
    bool has_text = false;
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(argument); *p; ++p) {
        if (*p >= 1 && *p <= 32)
            return true;
        has_text = has_text || !is_quote(static_cast<char>(*p));
    }
    return !has_text;
}

// The splitter never copies a quote, on any platform, so quotes inside an
// argument are dropped here rather than left to pair with the wrong
// partner and swallow the arguments after it.
char *append_argument(char *at, const char *argument)
{
    bool quote = needs_quotes(argument);
    if (quote)
        *at++ = '"';
    for (const char *p = argument; *p; ++p)
        if (!is_quote(*p))
            *at++ = *p;
    if (quote)
        *at++ = '"';
    return at;
}

}  // namespace

char *posix_join_arguments(int argc, char **argv)
{
    size_t size = 1;
    for (int i = 0; i < argc; ++i)
        size += std::strlen(argv[i]) + 3;  // two quotes and a separator at most
    char *line = static_cast<char *>(std::malloc(size));
    if (!line)
        return nullptr;
    char *at = line;
    for (int i = 0; i < argc; ++i) {
        if (i)
            *at++ = ' ';
        at = append_argument(at, argv[i]);
    }
    *at = 0;
    return line;
}

bool posix_set_arguments(int argc, char **argv)
{
    std::free(command_line);
    command_line = posix_join_arguments(argc, argv);
    return command_line != nullptr;
}

char *posix_command_line(void)
{
    static char empty[] = "";
    return command_line ? command_line : empty;
}
