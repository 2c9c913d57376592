#include "fake_kernel32.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>

namespace fake {
namespace {

struct Open {
    std::string name;
    size_t position = 0;
    bool readable = false, writable = false;
    bool shared = false;  // opened for reading, others may read it too
};

const char *const STDIN_NAME = "<stdin>";
const char *const STDOUT_NAME = "<stdout>";
const char *const STDERR_NAME = "<stderr>";

struct State {
    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    std::set<std::string> broken_pipes;  // reading them fails at their end, as a pipe's does
    DWORD last_error = 0;
    std::map<HANDLE, Open> handles;
    std::set<void *> blocks;
    int counts[CALL_KINDS] = {};
    int overall = 0;
    std::vector<Call> log;
    std::map<Call, std::set<int>> failing;
    std::set<int> failing_overall;
    std::map<int, DWORD> partial_writes;
    std::vector<CreateArguments> creates;
    std::map<std::string, int> writes;
    bool stdout_broken = false;
    std::vector<char> command_line = std::vector<char>(1, 0);  // exactly sized: a sanitizer sees over-reads
    std::uintptr_t next_handle = 0x1000;
    HANDLE standard[3] = {};
    std::jmp_buf *exit_to = nullptr;
    int exit_status = 0;
};

State state;
int heap_marker;

HANDLE new_handle(const std::string &name, bool readable, bool writable)
{
    HANDLE h = reinterpret_cast<HANDLE>(state.next_handle);
    state.next_handle += 0x10;
    state.handles[h] = Open{name, 0, readable, writable};
    return h;
}

// Counts the call and says whether it is one that must fail.
bool enter(Call call)
{
    int nth = ++state.counts[call];
    ++state.overall;
    state.log.push_back(call);
    return state.failing[call].count(nth) || state.failing_overall.count(state.overall);
}

Open *find(HANDLE h)
{
    auto it = state.handles.find(h);
    return it == state.handles.end() ? nullptr : &it->second;
}

bool is_standard(HANDLE h)
{
    return h == state.standard[0] || h == state.standard[1] || h == state.standard[2];
}

// Whether an open of the name must fail as in use: someone holds it, and
// either side refuses to share it.
bool held_open(const std::string &name, bool shared)
{
    for (auto &entry : state.handles)
        if (entry.second.name == name && !is_standard(entry.first) && !(shared && entry.second.shared))
            return true;
    return false;
}

bool folder_exists(const std::string &name)
{
    size_t slash = name.rfind('/');
    return slash == std::string::npos || state.folders.count(name.substr(0, slash)) != 0;
}

HANDLE refuse(DWORD error)
{
    state.last_error = error;
    return INVALID_HANDLE_VALUE;
}

}  // namespace

const char *call_name(Call call)
{
    static const char *const names[CALL_KINDS] = {
        "GetStdHandle", "ExitProcess", "GetCommandLineA", "CreateFileA",
        "SetFilePointer", "ReadFile", "WriteFile", "CloseHandle",
        "GetProcessHeap", "HeapAlloc", "HeapFree", "GetLastError"};
    return names[call];
}

void reset()
{
    for (void *block : state.blocks)
        std::free(block);
    state = State();
    state.files[STDIN_NAME] = "";
    state.files[STDOUT_NAME] = "";
    state.files[STDERR_NAME] = "";
    state.standard[0] = new_handle(STDIN_NAME, true, false);
    state.standard[1] = new_handle(STDOUT_NAME, false, true);
    state.standard[2] = new_handle(STDERR_NAME, false, true);
}

void put_file(const std::string &name, const std::string &bytes) { state.files[name] = bytes; }
void put_folder(const std::string &name) { state.folders.insert(name); }
void end_as_broken_pipe(const std::string &name) { state.broken_pipes.insert(name); }
bool has_file(const std::string &name) { return state.files.count(name) != 0; }
std::string file(const std::string &name) { return has_file(name) ? state.files[name] : ""; }
std::string standard_output() { return state.files[STDOUT_NAME]; }
void set_command_line(const std::string &line)
{
    state.command_line.assign(line.c_str(), line.c_str() + line.size() + 1);
    state.command_line.shrink_to_fit();
}
int calls(Call call) { return state.counts[call]; }
std::vector<Call> call_log() { return state.log; }
std::vector<CreateArguments> create_calls() { return state.creates; }
int writes_to(const std::string &name) { return state.writes[name]; }
void fail_call(Call call, int nth) { state.failing[call].insert(nth); }
void fail_overall_call(int nth) { state.failing_overall.insert(nth); }
void accept_partially(int nth_write, DWORD accepted) { state.partial_writes[nth_write] = accepted; }
void break_standard_output() { state.stdout_broken = true; }
int open_handles() { return static_cast<int>(state.handles.size()) - 3; }
int live_blocks() { return static_cast<int>(state.blocks.size()); }

int run_process(void (*entry)(void))
{
    std::jmp_buf back;
    state.exit_to = &back;
    if (setjmp(back) == 0)
        entry();  // never returns: ExitProcess jumps back here
    state.exit_to = nullptr;
    return state.exit_status;
}

}  // namespace fake

// The fake stands in for Windows, line ends and all.
const bool platform_text_crlf = true;

using namespace fake;

extern "C" {

HANDLE WINAPI GetStdHandle(DWORD which)
{
    if (enter(GET_STD_HANDLE))
        return INVALID_HANDLE_VALUE;
    switch (which) {
    case STD_INPUT_HANDLE: return state.standard[0];
    case STD_OUTPUT_HANDLE: return state.standard[1];
    case STD_ERROR_HANDLE: return state.standard[2];
    default: return INVALID_HANDLE_VALUE;
    }
}

void WINAPI ExitProcess(UINT status)
{
    enter(EXIT_PROCESS);
    if (!state.exit_to)
        std::abort();  // only run_process may host an entry
    state.exit_status = static_cast<int>(status);
    std::longjmp(*state.exit_to, 1);
}

char *WINAPI GetCommandLineA(void)
{
    enter(GET_COMMAND_LINE);  // can't fail on Windows; the count is kept
    return state.command_line.data();
}

HANDLE WINAPI CreateFileA(const char *name, DWORD access, DWORD share, void *security,
                          DWORD disposition, DWORD attributes, HANDLE template_file)
{
    state.creates.push_back(CreateArguments{name, access, share, disposition, attributes,
                                            security == nullptr, template_file == nullptr});
    if (enter(CREATE_FILE) || !*name)
        return refuse(ERROR_ACCESS_DENIED);
    bool shared = access == GENERIC_READ && (share & FILE_SHARE_READ);
    if (state.folders.count(name))
        return attributes & FILE_FLAG_BACKUP_SEMANTICS ? new_handle(name, false, false) : refuse(ERROR_ACCESS_DENIED);
    if (!folder_exists(name))
        return refuse(ERROR_PATH_NOT_FOUND);
    if (held_open(name, shared))
        return refuse(ERROR_SHARING_VIOLATION);
    bool exists = has_file(name);
    if ((disposition == OPEN_EXISTING || (attributes & FILE_FLAG_BACKUP_SEMANTICS)) && !exists)
        return refuse(ERROR_FILE_NOT_FOUND);
    if (disposition == CREATE_ALWAYS || !exists)
        state.files[name] = "";
    HANDLE h = new_handle(name, (access & GENERIC_READ) != 0, (access & GENERIC_WRITE) != 0);
    state.handles[h].shared = shared;
    return h;
}

DWORD WINAPI SetFilePointer(HANDLE file, LONG distance, LONG *distance_high, DWORD method)
{
    Open *open = find(file);
    if (enter(SET_FILE_POINTER) || !open || distance_high)
        return INVALID_SET_FILE_POINTER;
    size_t from = method == FILE_END ? state.files[open->name].size() : method == FILE_CURRENT ? open->position : 0;
    open->position = from + distance;
    return static_cast<DWORD>(open->position);
}

BOOL WINAPI ReadFile(HANDLE file, void *buffer, DWORD size, DWORD *got, void *)
{
    *got = 0;
    Open *open = find(file);
    if (enter(READ_FILE) || !open || !open->readable)
        return 0;
    const std::string &data = state.files[open->name];
    size_t n = open->position < data.size() ? std::min<size_t>(size, data.size() - open->position) : 0;
    if (n == 0 && state.broken_pipes.count(open->name)) {
        state.last_error = ERROR_BROKEN_PIPE;
        return 0;
    }
    data.copy(static_cast<char *>(buffer), n, open->position);
    open->position += n;
    *got = static_cast<DWORD>(n);
    return 1;
}

BOOL WINAPI WriteFile(HANDLE file, const void *data, DWORD size, DWORD *put, void *)
{
    *put = 0;
    Open *open = find(file);
    bool fails = enter(WRITE_FILE);
    if (fails || !open || !open->writable || (file == state.standard[1] && state.stdout_broken))
        return 0;
    ++state.writes[open->name];
    auto partial = state.partial_writes.find(state.counts[WRITE_FILE]);
    DWORD n = partial != state.partial_writes.end() ? std::min(size, partial->second) : size;
    std::string &bytes = state.files[open->name];
    if (bytes.size() < open->position + n)
        bytes.resize(open->position + n);
    bytes.replace(open->position, n, static_cast<const char *>(data), n);
    open->position += n;
    *put = n;
    return 1;
}

// A failed close still lets the handle go, as close(2) does on Linux.
BOOL WINAPI CloseHandle(HANDLE object)
{
    bool fails = enter(CLOSE_HANDLE);
    if (!find(object) || is_standard(object))
        return 0;
    state.handles.erase(object);
    return fails ? 0 : 1;
}

HANDLE WINAPI GetProcessHeap(void)
{
    return enter(GET_PROCESS_HEAP) ? nullptr : &heap_marker;
}

void *WINAPI HeapAlloc(HANDLE heap, DWORD, SIZE_T size)
{
    if (enter(HEAP_ALLOC) || heap != &heap_marker)
        return nullptr;
    void *block = std::malloc(size ? size : 1);
    state.blocks.insert(block);
    return block;
}

BOOL WINAPI HeapFree(HANDLE heap, DWORD, void *block)
{
    if (enter(HEAP_FREE) || heap != &heap_marker || !state.blocks.count(block))
        return 0;
    state.blocks.erase(block);
    std::free(block);
    return 1;
}

DWORD WINAPI GetLastError(void)
{
    enter(GET_LAST_ERROR);
    return state.last_error;
}

}  // extern "C"
