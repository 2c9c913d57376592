// Bytes gzip-compressed by zlib, as gzip itself writes them, for tests that
// give the tools a compressed font.
#ifndef GLYPHROW_TESTS_GZIP_BYTES_H
#define GLYPHROW_TESTS_GZIP_BYTES_H

#include <string>
#include <zlib.h>

inline std::string gzip(const std::string &bytes, int level = 9)
{
    z_stream z = {};
    deflateInit2(&z, level, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, bytes.size()) + 64, '\0');
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    z.next_out = reinterpret_cast<Bytef *>(&out[0]);
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

#endif
