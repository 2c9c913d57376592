#include "stream.h"

// Text mode, no end, no lookahead; the handles (and, where text mode
// passes bytes unchanged, the binary flag) are bound at process start.
Stream stdin_stream;
Stream stdout_stream;
Stream stderr_stream;
