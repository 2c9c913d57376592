// Any bytes as a gzip stream through the family's inflater, over the fake
// platform, in blocks of a size the first byte chooses, against zlib as the
// oracle: no crash or leak; what the inflater takes whole, zlib takes whole
// to the same bytes, member by member; and what zlib takes whole, so does
// the inflater (unless past its limit).
#include "../deflate/inflate.h"
#include "../platform/fake/fake_kernel32.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <zlib.h>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

// Every member in turn, as gzip -d takes them; false for damage anywhere.
bool zlib_inflate(const std::string &in, std::string &out)
{
    size_t at = 0;
    do {
        z_stream z = {};
        inflateInit2(&z, 15 + 16);
        z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(in.data() + at));
        z.avail_in = static_cast<uInt>(in.size() - at);
        int result = Z_OK;
        while (result == Z_OK) {
            unsigned char buffer[4096];
            z.next_out = buffer;
            z.avail_out = sizeof buffer;
            result = inflate(&z, Z_NO_FLUSH);
            out.append(reinterpret_cast<char *>(buffer), sizeof buffer - z.avail_out);
            if (result == Z_BUF_ERROR && z.avail_in == 0)
                break;
        }
        at += z.total_in;
        inflateEnd(&z);
        if (result != Z_STREAM_END)
            return false;
    } while (at < in.size());
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    fake::reset();
    DWORD block = 1 + data[0] % 64 * 97;
    std::string in(reinterpret_cast<const char *>(data + 1), size - 1);
    fake::put_file("in.gz", in);
    Stream *stream = stream_open("in.gz", "rb");
    check(stream != nullptr);
    Source source = source_of_stream(stream);
    Inflate z;
    check(inflate_begin(z, &source));
    std::string ours;
    unsigned char buffer[64 * 97 + 1];
    for (DWORD got; (got = inflate_read(z, buffer, block)) > 0;)
        ours.append(reinterpret_cast<char *>(buffer), got);
    bool whole = !z.damage && !stream_error(stream);
    inflate_end(z);
    stream_close(stream);
    check(fake::open_handles() == 0 && fake::live_blocks() == 0);
    std::string theirs;
    bool zlib_whole = !in.empty() && zlib_inflate(in, theirs);
    if (whole)
        check(zlib_whole && ours == theirs);
    if (zlib_whole && theirs.size() <= MOST_INFLATED)
        check(whole && ours == theirs);
    fake::reset();
    return 0;
}
