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

// Reads an argument as a whole number from low to high, in decimal, or,
// where code_forms, in hex after "0x" or "0X" or as "U+0041" or "u+41" (one
// to six digits); high must stay below 0x0FFFFFFF. Returns false, storing
// nothing, for anything else.
bool parse_number(const char *text, bool code_forms, DWORD low, DWORD high, DWORD *value);

// An argument that is a number: a height (low to high, decimal) or a code
// (0 to high, said in hex), in any form parse_number takes for a code.
// False, having said which argument is wrong and what was typed, such as
// `height: "12px" is not a number from 1 to 255.`; the usage line follows.
enum NumberKind { HEIGHT_NUMBER, CODE_NUMBER };
struct Stream;
bool read_argument(Stream *to, const char *what, const char *text, NumberKind kind, DWORD low, DWORD high,
                   DWORD *value);
// `last: "0x20" is below first ("0x7E").`; false.
bool say_below_first(Stream *to, const char *last, const char *first);

// "--help" or "-h" as the first argument says the usage line and the help
// that follows it; "--version" says the tool's name and the family's
// version. True then: the tool ends with status 0, having opened nothing.
bool answered_help(int argc, char **argv, const char *name, const char *usage, const char *help);

// A file named on the command line, for every tool but glyphrow (which
// takes every argument as a path): "-" is standard input, or standard
// output, read or written as bytes; any other name a file, opened for
// reading (shared) or writing. Null when it can't be opened, having said
// so on the stream (`can't open output file sub/x.bin: no such folder.`)
// and stored the status (STATUS_NO_MEMORY said by tool_status).
bool is_standard_name(const char *name);
Stream *open_argument(Stream *to, const char *name, bool output, int *status);
int close_argument(Stream *stream);
// Where a tool's messages go: standard output, or standard error where the
// output named is standard output.
Stream *messages_for(const char *output);
// A tool's status as the process ends with it: a want of memory, which
// the readers and writers give back unsaid, is said ("not enough memory.").
int tool_status(Stream *to, int status);

// Each tool's entry: the platform starts the process there. Never returns.
extern "C" [[noreturn]] void process_start(void);     // glyphrow
extern "C" [[noreturn]] void glyphdraw_start(void);
extern "C" [[noreturn]] void glyphcheck_start(void);
extern "C" [[noreturn]] void glyphpick_start(void);
extern "C" [[noreturn]] void glyphshow_start(void);

#endif
