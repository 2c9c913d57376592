// An in-memory stand-in for the KERNEL32 functions, for unit tests.
// Files live in a table by name; every call is counted in order; any call
// can be made to fail, and any WriteFile to take only part of its data.
#ifndef GLYPHROW_FAKE_KERNEL32_H
#define GLYPHROW_FAKE_KERNEL32_H

#include "../kernel32.h"

#include <string>
#include <vector>

namespace fake {

enum Call {
    GET_STD_HANDLE,
    EXIT_PROCESS,
    GET_COMMAND_LINE,
    CREATE_FILE,
    SET_FILE_POINTER,
    READ_FILE,
    WRITE_FILE,
    CLOSE_HANDLE,
    GET_PROCESS_HEAP,
    HEAP_ALLOC,
    HEAP_FREE,
    GET_LAST_ERROR,
    CALL_KINDS
};

const char *call_name(Call call);

struct CreateArguments {
    std::string name;
    DWORD access, share, disposition, attributes;
    bool no_security, no_template;
};

// Forgets every file, count, fault, handle and block.
void reset();

void put_file(const std::string &name, const std::string &bytes);
// A folder: a file's name may begin with it and a slash; opening it fails
// as opening a folder does on Windows (ERROR_ACCESS_DENIED).
void put_folder(const std::string &name);
// Reading the file past its end fails with ERROR_BROKEN_PIPE, as a pipe
// whose writer has gone does on Windows.
void end_as_broken_pipe(const std::string &name);
bool has_file(const std::string &name);
std::string file(const std::string &name);
std::string standard_output();
void set_command_line(const std::string &line);

int calls(Call call);
// Every call since reset, in order.
std::vector<Call> call_log();
std::vector<CreateArguments> create_calls();
int writes_to(const std::string &name);

// The nth call (counted from 1 since reset) of one function, or of all of
// them together, fails as that function fails on Windows.
void fail_call(Call call, int nth);
void fail_overall_call(int nth);
// The nth WriteFile succeeds but takes only `accepted` bytes.
void accept_partially(int nth_write, DWORD accepted);
// Every write to standard output fails, as with a closed console.
void break_standard_output();

int open_handles();
int live_blocks();

// Runs an entry that ends with ExitProcess; returns the status it gave.
int run_process(void (*entry)(void));

}  // namespace fake

#endif
