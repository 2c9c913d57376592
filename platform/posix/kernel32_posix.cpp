// The KERNEL32 functions over POSIX, with the Windows behaviour the
// tool relies on. Handles are file descriptors.
#include "../kernel32.h"
#include "posix_entry.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// A text stream passes bytes unchanged on POSIX, as C's own streams do.
const bool platform_text_crlf = false;

namespace {

const BOOL TRUE_ = 1;
const BOOL FALSE_ = 0;
const mode_t NEW_FILE_MODE = 0666;  // narrowed by the umask, as for any tool
const uint64_t LARGEST_LOW_PART = 0xFFFFFFFEu;  // 0xFFFFFFFF is INVALID_SET_FILE_POINTER

// What GetLastError gives: the code of the last failed open, as Windows
// would have set it.
DWORD last_error = 0;

int descriptor(HANDLE handle)
{
    return static_cast<int>(reinterpret_cast<intptr_t>(handle));
}

HANDLE handle_of(int fd)
{
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd));
}

int open_flags(DWORD access, DWORD disposition)
{
    int flags = O_CLOEXEC | O_NOCTTY;
    if ((access & GENERIC_READ) && (access & GENERIC_WRITE))
        flags |= O_RDWR;
    else if (access & GENERIC_WRITE)
        flags |= O_WRONLY;
    else
        flags |= O_RDONLY;
    if (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS)
        flags |= O_CREAT;
    return flags;
}

// Share mode 0: nobody else may hold a regular file while we do; an input
// opened with FILE_SHARE_READ may be read by others at once, but never
// written. The lock is taken before anything is truncated, so a refused
// open changes nothing. Devices and pipes are shared freely, as on Windows.
bool claim(int fd, DWORD share, DWORD disposition)
{
    struct stat st;
    if (fstat(fd, &st) != 0)
        return false;
    if (S_ISDIR(st.st_mode)) {
        last_error = ERROR_ACCESS_DENIED;
        return false;
    }
    if (!S_ISREG(st.st_mode))
        return true;
    if (flock(fd, ((share & FILE_SHARE_READ) ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0) {
        last_error = ERROR_SHARING_VIOLATION;
        return false;
    }
    return disposition != CREATE_ALWAYS || ftruncate(fd, 0) == 0;
}

bool folder_exists(const char *name)
{
    const char *slash = std::strrchr(name, '/');
    if (!slash)
        return true;  // the current folder
    char *folder = strndup(name, slash == name ? 1 : static_cast<size_t>(slash - name));
    struct stat st;
    bool exists = folder && stat(folder, &st) == 0 && S_ISDIR(st.st_mode);
    std::free(folder);
    return exists;
}

// Windows' code for why open failed: a missing file and a missing folder
// differ, a folder and no permission are alike.
DWORD error_of(int error, const char *name)
{
    switch (error) {
    case ENOENT: return folder_exists(name) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case ETXTBSY: return ERROR_SHARING_VIOLATION;
    default: return ERROR_ACCESS_DENIED;
    }
}

// FILE_FLAG_BACKUP_SEMANTICS opens a folder, as Windows lets it; here only
// a folder, so that a file that can't be read is never taken for one.
HANDLE open_folder(const char *name)
{
    int fd = open(name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        last_error = error_of(errno, name);
    return fd < 0 ? INVALID_HANDLE_VALUE : handle_of(fd);
}

// Called after a failed read or write: makes it again while it was
// interrupted, and returns the last result.
ssize_t read_again(int fd, void *buffer, size_t size)
{
    ssize_t n = -1;
    while (n < 0 && errno == EINTR)
        n = read(fd, buffer, size);
    return n;
}

ssize_t write_again(int fd, const void *data, size_t size)
{
    ssize_t n = -1;
    while (n < 0 && errno == EINTR)
        n = write(fd, data, size);
    return n;
}

}  // namespace

extern "C" {

HANDLE WINAPI GetStdHandle(DWORD which)
{
    switch (which) {
    case STD_INPUT_HANDLE: return handle_of(STDIN_FILENO);
    case STD_OUTPUT_HANDLE: return handle_of(STDOUT_FILENO);
    case STD_ERROR_HANDLE: return handle_of(STDERR_FILENO);
    default: return INVALID_HANDLE_VALUE;
    }
}

void WINAPI ExitProcess(UINT status)
{
    _exit(static_cast<int>(status));
}

char *WINAPI GetCommandLineA(void)
{
    return posix_command_line();
}

HANDLE WINAPI CreateFileA(const char *name, DWORD access, DWORD share, void *, DWORD disposition,
                          DWORD attributes, HANDLE)
{
    if (attributes & FILE_FLAG_BACKUP_SEMANTICS)
        return open_folder(name);
    int fd;
    do
        fd = open(name, open_flags(access, disposition), NEW_FILE_MODE);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        last_error = error_of(errno, name);
        return INVALID_HANDLE_VALUE;
    }
    if (!claim(fd, share, disposition)) {
        close(fd);
        return INVALID_HANDLE_VALUE;
    }
    return handle_of(fd);
}

// With a high part the distance is 64 bits, the high part signed; without
// one it is the low part alone, signed, and a position that doesn't fit in
// 32 bits fails and leaves the position where it was, as on Windows.
DWORD WINAPI SetFilePointer(HANDLE file, LONG distance, LONG *distance_high, DWORD method)
{
    int64_t move = distance;
    if (distance_high)
        move = static_cast<int64_t>((static_cast<uint64_t>(static_cast<DWORD>(*distance_high)) << 32) |
                                    static_cast<DWORD>(distance));
    int whence = method == FILE_END ? SEEK_END : method == FILE_CURRENT ? SEEK_CUR : SEEK_SET;
    int fd = descriptor(file);
    off_t before = lseek(fd, 0, SEEK_CUR);
    off_t at = lseek(fd, static_cast<off_t>(move), whence);
    if (at < 0)
        return INVALID_SET_FILE_POINTER;
    if (!distance_high && static_cast<uint64_t>(at) > LARGEST_LOW_PART) {
        lseek(fd, before, SEEK_SET);
        return INVALID_SET_FILE_POINTER;
    }
    if (distance_high)
        *distance_high = static_cast<LONG>(static_cast<uint64_t>(at) >> 32);
    return static_cast<DWORD>(at);
}

// A call interrupted by a signal is made again: Windows never reports one.
// The retry stands apart from the first call, which every source byte
// makes: a loop around that call costs it a fifth more instructions.
BOOL WINAPI ReadFile(HANDLE file, void *buffer, DWORD size, DWORD *got, void *)
{
    ssize_t n = read(descriptor(file), buffer, size);
    if (n < 0)
        n = read_again(descriptor(file), buffer, size);
    *got = n < 0 ? 0 : static_cast<DWORD>(n);
    return n < 0 ? FALSE_ : TRUE_;
}

// Every byte, as Windows writes to a file, a pipe or a console: POSIX may
// take fewer from a pipe, a terminal or a call a signal interrupts, so the
// rest is written until it is all out or a real error comes.
BOOL WINAPI WriteFile(HANDLE file, const void *data, DWORD size, DWORD *put, void *)
{
    const char *bytes = static_cast<const char *>(data);
    DWORD done = 0;
    while (done < size) {
        ssize_t n = write(descriptor(file), bytes + done, size - done);
        if (n < 0)
            n = write_again(descriptor(file), bytes + done, size - done);
        if (n <= 0)
            break;
        done += static_cast<DWORD>(n);
    }
    *put = done;
    return done == size ? TRUE_ : FALSE_;
}

BOOL WINAPI CloseHandle(HANDLE object)
{
    // Linux frees the descriptor even when close reports an error, so
    // EINTR is not retried.
    return close(descriptor(object)) == 0 ? TRUE_ : FALSE_;
}

HANDLE WINAPI GetProcessHeap(void)
{
    static int heap;  // any address will do: there is one heap
    return &heap;
}

void *WINAPI HeapAlloc(HANDLE, DWORD, SIZE_T size)
{
    return std::malloc(size ? size : 1);
}

BOOL WINAPI HeapFree(HANDLE, DWORD, void *block)
{
    std::free(block);
    return TRUE_;
}

DWORD WINAPI GetLastError(void)
{
    return last_error;
}

}  // extern "C"
