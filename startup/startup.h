#ifndef GLYPHROW_STARTUP_H
#define GLYPHROW_STARTUP_H

enum : int {
    // Start-up couldn't get memory for the arguments; nothing was converted.
    STATUS_NO_MEMORY = 6,
};

// The process entry: the platform starts the process here. Never returns.
extern "C" [[noreturn]] void process_start(void);

// Splits the platform's command line into arguments. Stores the count (at
// least 1) and returns a vector of that many strings and a null entry, or
// null when memory for it can't be had.
char **split_command_line(int *count);

#endif
