// A test exe, never shipped: built as the tools are, but importing one
// KERNEL32 function beyond the twelve, so that the emulated runner's
// refusal of it, by name, can be seen.
#include "../../platform/kernel32.h"

KERNEL32_API DWORD WINAPI GetTickCount(void);

extern "C" void stray_start(void)
{
    ExitProcess(GetTickCount());
}
