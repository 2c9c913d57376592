#include "stream.h"

// The tool's one way to speak: a line on standard output, which is in text
// mode, so it ends in a carriage return and a line feed.
int print_line(const char *text)
{
    static const char line_feed[] = {LINE_FEED, 0};
    if (stream_puts(text, &stdout_stream) != 0 || stream_puts(line_feed, &stdout_stream) != 0)
        return STREAM_EOF;
    return 0;
}
