// gzip's framing (RFC 1952) around the deflate core: each member's header,
// its optional fields passed over and its own CRC checked where it has one,
// and its trailer, the CRC-32 and length of what it inflated to.
#include "inflate.h"
#include "checksum.h"

namespace {

enum : unsigned char {
    GZIP_ID1 = 0x1F,
    GZIP_ID2 = 0x8B,
    GZIP_DEFLATE = 8,
    FLAG_HEADER_CRC = 0x02,
    FLAG_EXTRA = 0x04,
    FLAG_NAME = 0x08,
    FLAG_COMMENT = 0x10,
    FLAGS_RESERVED = 0xE0,
    FIXED_HEADER_REST = 6,  // the time, the extra flags and the system
};

const char BAD_CRC[] = "its CRC-32 doesn't match.";
const char BAD_SIZE[] = "its length doesn't match.";
const char BAD_HEADER[] = "a header that isn't gzip's.";
const char BAD_HEADER_CRC[] = "its header's CRC doesn't match.";
const char TRAILING[] = "bytes after its last member.";

// A byte of a member's header, counted into the header's own CRC-32.
int header_byte(Inflate &z)
{
    int byte = inflate_aligned_byte(z);
    unsigned char counted = static_cast<unsigned char>(byte);
    if (byte >= 0)
        z.crc = crc32_update(z.crc, &counted, 1);
    return byte;
}

bool skip_bytes(Inflate &z, DWORD n)
{
    for (; n > 0; --n)
        if (header_byte(z) < 0)
            return inflate_fail(z, INFLATE_ENDS_INSIDE);
    return true;
}

bool skip_text(Inflate &z)
{
    for (;;) {
        int byte = header_byte(z);
        if (byte < 0)
            return inflate_fail(z, INFLATE_ENDS_INSIDE);
        if (byte == 0)
            return true;
    }
}

bool header_le16(Inflate &z, DWORD *value)
{
    int low = header_byte(z), high = header_byte(z);
    if (low < 0 || high < 0)
        return inflate_fail(z, INFLATE_ENDS_INSIDE);
    *value = static_cast<DWORD>(low | high << 8);
    return true;
}

// FHCRC: the low half of the CRC-32 of the header before it.
bool header_crc(Inflate &z)
{
    DWORD kept = z.crc & 0xFFFF, crc;
    if (!inflate_aligned_le(z, 2, &crc))
        return false;
    return crc == kept || inflate_fail(z, BAD_HEADER_CRC);
}

}  // namespace

// A member's header, its first byte read: the optional fields passed over,
// its CRC checked where it has one.
bool gzip_member_header(Inflate &z, int first)
{
    unsigned char counted = static_cast<unsigned char>(first);
    z.crc = crc32_update(0, &counted, 1);
    int second = header_byte(z), method = header_byte(z), flags = header_byte(z);
    if (first != GZIP_ID1 || (second >= 0 && second != GZIP_ID2))
        return inflate_fail(z, z.members ? TRAILING : BAD_HEADER);
    if (flags < 0)
        return inflate_fail(z, INFLATE_ENDS_INSIDE);
    if (method != GZIP_DEFLATE || (flags & FLAGS_RESERVED))
        return inflate_fail(z, BAD_HEADER);
    DWORD extra = 0;
    if (!skip_bytes(z, FIXED_HEADER_REST) ||
        ((flags & FLAG_EXTRA) && !(header_le16(z, &extra) && skip_bytes(z, extra))) ||
        ((flags & FLAG_NAME) && !skip_text(z)) || ((flags & FLAG_COMMENT) && !skip_text(z)) ||
        ((flags & FLAG_HEADER_CRC) && !header_crc(z)))
        return false;
    z.member_size = 0;
    z.crc = 0;
    ++z.members;
    z.state = BLOCK_HEADER;
    return true;
}

// The member's CRC-32 and length, then another member or the end.
bool gzip_member_trailer(Inflate &z)
{
    DWORD crc, size;
    inflate_align(z);
    if (!inflate_aligned_le(z, 4, &crc) || !inflate_aligned_le(z, 4, &size))
        return false;
    if (crc != z.crc)
        return inflate_fail(z, BAD_CRC);
    if (size != z.member_size)
        return inflate_fail(z, BAD_SIZE);
    int next = inflate_aligned_byte(z);
    if (next < 0) {
        z.state = FINISHED;
        return true;
    }
    return gzip_member_header(z, next);
}

