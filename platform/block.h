// Memory blocks from the process's default heap. Contents are not cleared.
// block_alloc gives null when the heap refuses; every caller checks.
#ifndef GLYPHROW_PLATFORM_BLOCK_H
#define GLYPHROW_PLATFORM_BLOCK_H

#include "kernel32.h"

void *block_alloc(SIZE_T size);
void block_free(void *block);
// Doubles a block of *capacity bytes, keeping its first `used`: false, the
// old block kept, when the heap refuses or the block has LARGEST_BLOCK
// bytes already (so that a size stays a DWORD).
enum : DWORD { LARGEST_BLOCK = 0x80000000u };
bool block_grow(unsigned char **block, DWORD *capacity, DWORD used);

#endif
