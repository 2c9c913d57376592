#include "checksum.h"

namespace {

enum : DWORD {
    CRC_POLYNOMIAL = 0xEDB88320u,  // CRC-32 of zlib and PNG, reflected
    ADLER_MODULUS = 65521,
    ADLER_RUN = 5552,  // the most bytes whose sums can't overflow 32 bits
};

// A table of sixteen entries, a nibble at a time: small enough for the
// executable, four times fewer steps than a bit at a time.
const DWORD crc_nibble[16] = {
    0x00000000u, 0x1DB71064u, 0x3B6E20C8u, 0x26D930ACu, 0x76DC4190u, 0x6B6B51F4u,
    0x4DB26158u, 0x5005713Cu, 0xEDB88320u, 0xF00F9344u, 0xD6D6A3E8u, 0xCB61B38Cu,
    0x9B64C2B0u, 0x86D3D2D4u, 0xA00AE278u, 0xBDBDF21Cu,
};

}  // namespace

// crc is the running value as the format stores it: start at 0.
DWORD crc32_update(DWORD crc, const unsigned char *data, DWORD n)
{
    crc = ~crc;
    for (DWORD i = 0; i < n; ++i) {
        crc ^= data[i];
        crc = (crc >> 4) ^ crc_nibble[crc & 15];
        crc = (crc >> 4) ^ crc_nibble[crc & 15];
    }
    return ~crc;
}

// adler starts at 1.
DWORD adler32_update(DWORD adler, const unsigned char *data, DWORD n)
{
    DWORD a = adler & 0xFFFF, b = adler >> 16;
    while (n > 0) {
        DWORD run = n < ADLER_RUN ? n : ADLER_RUN;
        n -= run;
        while (run-- > 0) {
            a += *data++;
            b += a;
        }
        a %= ADLER_MODULUS;
        b %= ADLER_MODULUS;
    }
    return (b << 16) | a;
}
