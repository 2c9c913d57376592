// The whole of the platform this tool may touch: eleven KERNEL32 functions,
// declared by hand with their Windows signatures, and the constants passed to
// them; and a twelfth, GetLastError, which the family's other tools ask to
// say why a file can't be opened (glyphrow never calls it, so its exe
// imports the eleven alone). The Windows build links the real KERNEL32 import library against these
// declarations; the native build and the unit tests link a layer of their own
// that defines the same names. Product code includes nothing else.
#ifndef GLYPHROW_PLATFORM_KERNEL32_H
#define GLYPHROW_PLATFORM_KERNEL32_H

#if defined(_WIN32)
#define WINAPI __stdcall
#define KERNEL32_API extern "C" __declspec(dllimport)
#define KERNEL32_NORETURN __declspec(noreturn)
#else
#define WINAPI
#define KERNEL32_API extern "C"
#define KERNEL32_NORETURN [[noreturn]]
#endif

typedef void *HANDLE;
typedef unsigned int DWORD;  // 32 bits under both ILP32 and LP64
typedef int LONG;            // Windows' LONG is 32 bits everywhere
typedef int BOOL;
typedef unsigned int UINT;
typedef __SIZE_TYPE__ SIZE_T;

enum : DWORD {
    STD_INPUT_HANDLE = (DWORD)-10,
    STD_OUTPUT_HANDLE = (DWORD)-11,
    STD_ERROR_HANDLE = (DWORD)-12,

    GENERIC_READ = 0x80000000u,
    GENERIC_WRITE = 0x40000000u,

    CREATE_ALWAYS = 2,
    OPEN_EXISTING = 3,
    OPEN_ALWAYS = 4,

    FILE_SHARE_READ = 1,  // an input may be read by others while it is read
    FILE_ATTRIBUTE_NORMAL = 0x80,
    FILE_FLAG_BACKUP_SEMANTICS = 0x02000000,  // lets a folder be opened, to tell it from a file
    FILE_BEGIN = 0,
    FILE_CURRENT = 1,
    FILE_END = 2,
    INVALID_SET_FILE_POINTER = 0xFFFFFFFFu,

    // What GetLastError gives after a failed CreateFileA or ReadFile.
    ERROR_FILE_NOT_FOUND = 2,
    ERROR_PATH_NOT_FOUND = 3,
    ERROR_ACCESS_DENIED = 5,  // a folder gives it too
    ERROR_SHARING_VIOLATION = 32,
    ERROR_BROKEN_PIPE = 109,  // a pipe's writer has gone: its end
};

#define INVALID_HANDLE_VALUE ((HANDLE)(SIZE_T)-1)

KERNEL32_API HANDLE WINAPI GetStdHandle(DWORD which);
KERNEL32_API KERNEL32_NORETURN void WINAPI ExitProcess(UINT status);
KERNEL32_API char *WINAPI GetCommandLineA(void);
KERNEL32_API HANDLE WINAPI CreateFileA(const char *name, DWORD access, DWORD share,
                                       void *security, DWORD disposition,
                                       DWORD attributes, HANDLE template_file);
KERNEL32_API DWORD WINAPI SetFilePointer(HANDLE file, LONG distance, LONG *distance_high,
                                         DWORD method);
KERNEL32_API BOOL WINAPI ReadFile(HANDLE file, void *buffer, DWORD size, DWORD *got,
                                  void *overlapped);
KERNEL32_API BOOL WINAPI WriteFile(HANDLE file, const void *data, DWORD size, DWORD *put,
                                   void *overlapped);
KERNEL32_API BOOL WINAPI CloseHandle(HANDLE object);
KERNEL32_API HANDLE WINAPI GetProcessHeap(void);
KERNEL32_API void *WINAPI HeapAlloc(HANDLE heap, DWORD flags, SIZE_T size);
KERNEL32_API BOOL WINAPI HeapFree(HANDLE heap, DWORD flags, void *block);
KERNEL32_API DWORD WINAPI GetLastError(void);

// A text stream's line ends are the platform's, as C's own streams have
// them: on Windows a line feed is written as CR LF and a carriage return
// read is dropped; on POSIX bytes pass unchanged. Each platform layer says
// which (the in-memory fake stands in for Windows).
extern const bool platform_text_crlf;

#endif
