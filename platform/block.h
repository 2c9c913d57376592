// Memory blocks from the process's default heap. Contents are not cleared.
// block_alloc gives null when the heap refuses; every caller checks.
#ifndef GLYPHROW_PLATFORM_BLOCK_H
#define GLYPHROW_PLATFORM_BLOCK_H

#include "kernel32.h"

void *block_alloc(SIZE_T size);
void block_free(void *block);

#endif
