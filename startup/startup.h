#ifndef GLYPHROW_STARTUP_H
#define GLYPHROW_STARTUP_H

#include "status.h"
#include "../platform/kernel32.h"

// The first steps of every tool's entry: binds the standard streams to the
// platform's handles, then splits the command line. Returns the argument
// vector and stores the count, or returns null when memory for the
// arguments can't be had.
char **start_process(int *count);

// Splits the platform's command line into arguments. Stores the count (at
// least 1) and returns a vector of that many strings and a null entry, or
// null when memory for it can't be had.
char **split_command_line(int *count);

// Reads an argument as a whole number from low to high, in decimal, or in
// hex after "0x" or "0X" where hex_allowed; high must stay below 0x0FFFFFFF.
// Returns false, storing nothing, for anything else.
bool parse_number(const char *text, bool hex_allowed, DWORD low, DWORD high, DWORD *value);

// Each tool's entry: the platform starts the process there. Never returns.
extern "C" [[noreturn]] void process_start(void);     // glyphrow
extern "C" [[noreturn]] void glyphdraw_start(void);
extern "C" [[noreturn]] void glyphcheck_start(void);
extern "C" [[noreturn]] void glyphpick_start(void);

#endif
