// The checksums of zlib's and gzip's streams, and of PNG's chunks, each
// updated over n more bytes: CRC-32 from 0, Adler-32 from 1.
#ifndef GLYPHROW_CHECKSUM_H
#define GLYPHROW_CHECKSUM_H

#include "../platform/kernel32.h"

DWORD crc32_update(DWORD crc, const unsigned char *data, DWORD n);
DWORD adler32_update(DWORD adler, const unsigned char *data, DWORD n);

#endif
