#include "block.h"

// The heap is asked for anew each time: there is no global to initialise.
void *block_alloc(SIZE_T size)
{
    return HeapAlloc(GetProcessHeap(), 0, size);
}

void block_free(void *block)
{
    HeapFree(GetProcessHeap(), 0, block);
}
