#include "stream.h"

// Text mode, no end, no lookahead; the handles are bound at process start.
Stream stdin_stream;
Stream stdout_stream;
Stream stderr_stream;
