#ifndef GLYPHROW_POSIX_ENTRY_H
#define GLYPHROW_POSIX_ENTRY_H

// The command line that GetCommandLineA hands out on POSIX: rebuilt from
// the argv that main received. Setting it fails only for want of memory.
char *posix_command_line(void);
bool posix_set_arguments(int argc, char **argv);

// Builds one command line from arguments so that splitting it gives them
// back, less any double quotes inside them. Returns a malloc'd string.
char *posix_join_arguments(int argc, char **argv);

#endif
