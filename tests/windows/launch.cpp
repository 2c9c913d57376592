// launch PROGRAM LINE_FILE: runs PROGRAM with the bytes of LINE_FILE as its
// whole command line, inheriting the standard handles, and exits with its
// status (255 when it can't be started).
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 3)
        return 255;
    std::FILE *f = std::fopen(argv[2], "rb");
    if (!f)
        return 255;
    std::string line;
    for (int c; (c = std::fgetc(f)) != EOF;)
        line += static_cast<char>(c);
    std::fclose(f);

    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(argv[1], &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
        return 255;
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD status = 255;
    GetExitCodeProcess(pi.hProcess, &status);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return static_cast<int>(status);
}
