#include "startup.h"
#include "../platform/block.h"

namespace {

enum : unsigned char {
    TERMINATOR = 0,
    LAST_SEPARATOR = 32,  // bytes 1 to 32 separate arguments
    QUOTE = '"',
};

bool is_separator(unsigned char byte)
{
    return byte != TERMINATOR && byte <= LAST_SEPARATOR;
}

const unsigned char *skip_separators(const unsigned char *at)
{
    while (is_separator(*at))
        ++at;
    return at;
}

SIZE_T text_length(const unsigned char *text)
{
    SIZE_T length = 0;
    while (text[length] != TERMINATOR)
        ++length;
    return length;
}

// Copies the arguments one after another into text, each with its
// terminator. Quotes switch the in-quotes state and are never copied; a
// separator outside quotes ends an argument. Returns the count, at least 1.
int copy_arguments(const unsigned char *line, char *text)
{
    const unsigned char *at = skip_separators(line);
    bool quoted = false;
    int count = 0;
    for (;;) {
        while (*at != TERMINATOR) {
            if (*at == QUOTE)
                quoted = !quoted;
            else
                *text++ = static_cast<char>(*at);
            ++at;
            if (!quoted && *at <= LAST_SEPARATOR)
                break;
        }
        *text++ = TERMINATOR;
        ++count;
        at = skip_separators(at);
        if (*at == TERMINATOR)
            return count;
    }
}

void fill_vector(char **vector, char *text, int count)
{
    for (int i = 0; i < count; ++i) {
        vector[i] = text;
        while (*text++ != TERMINATOR) {
        }
    }
    vector[count] = nullptr;
}

}  // namespace

// Out of line although it runs once: its two blocks live until the process
// ends by design, and memcheck can tell them from a leak only by this frame.
__attribute__((noinline)) char **split_command_line(int *count)
{
    const unsigned char *line = reinterpret_cast<const unsigned char *>(GetCommandLineA());
    // Every terminator replaces a separator or the line's own terminator, and
    // quotes are never copied, so the line's length plus one always suffices.
    char *text = static_cast<char *>(block_alloc(text_length(line) + 1));
    if (!text)
        return nullptr;
    int n = copy_arguments(line, text);
    char **vector = static_cast<char **>(block_alloc((SIZE_T)(n + 1) * sizeof(char *)));
    if (!vector) {
        block_free(text);
        return nullptr;
    }
    fill_vector(vector, text, n);
    *count = n;
    return vector;
}
