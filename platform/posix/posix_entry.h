#ifndef GLYPHROW_POSIX_ENTRY_H
#define GLYPHROW_POSIX_ENTRY_H

// The command line that GetCommandLineA hands out on POSIX: rebuilt from
// the argv that main received. Setting it fails only for want of memory.
char *posix_command_line(void);
bool posix_set_arguments(int argc, char **argv);

// Builds one command line from arguments so that splitting it gives them
// back, less any double quotes inside them. Returns a malloc'd string.
char *posix_join_arguments(int argc, char **argv);

// Signals and standard descriptors as a Windows process finds them: a gone
// reader or a file-size limit is a failed write, and no file opened later
// can take a closed standard descriptor's number.
void posix_prepare_process(void);

#endif
