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

bool block_grow(unsigned char **block, DWORD *capacity, DWORD used)
{
    if (*capacity >= LARGEST_BLOCK)
        return false;
    unsigned char *bigger = static_cast<unsigned char *>(block_alloc(2 * *capacity));
    if (!bigger)
        return false;
    for (DWORD i = 0; i < used; ++i)
        bigger[i] = (*block)[i];
    block_free(*block);
    *block = bigger;
    *capacity *= 2;
    return true;
}
