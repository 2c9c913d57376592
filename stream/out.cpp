#include "stream.h"

// The stream layer keeps no buffer, and a font's form or a message is
// written in small pieces (a row, a hex byte, a number): gathered here, they
// reach the platform a kilobyte at a time.
namespace {

// The buffer holds its line ends as the stream wants them (see put_byte),
// so it goes out in one call, as on a binary stream.
void flush(Out &out)
{
    if (!out.failed && !stream_write_whole(out.stream, out.buffer, out.used))
        out.failed = true;
    out.used = 0;
}

}  // namespace

void out_begin(Out &out, Stream *stream)
{
    out.stream = stream;
    out.used = 0;
    out.failed = false;
    out.foreign_codes = false;
}

// A stream in text mode gets a carriage return before each line feed.
void put_byte_slowly(Out &out, unsigned char byte)
{
    if (out.used >= OUT_BUFFER_SIZE - 1)
        flush(out);
    if (byte == LINE_FEED && !(out.stream->flags & STREAM_BINARY))
        out.buffer[out.used++] = CARRIAGE_RETURN;
    out.buffer[out.used++] = byte;
}

void put_block(Out &out, const void *bytes, DWORD n)
{
    flush(out);
    if (!out.failed && !stream_write_whole(out.stream, bytes, n))
        out.failed = true;
}

void put_bytes(Out &out, const void *bytes, DWORD n)
{
    const unsigned char *at = static_cast<const unsigned char *>(bytes);
    for (DWORD i = 0; i < n; ++i)
        put_byte(out, at[i]);
}

void put_text(Out &out, const char *text)
{
    while (*text)
        put_byte(out, static_cast<unsigned char>(*text++));
}

void put_number(Out &out, DWORD value, DWORD base, int min_digits)
{
    char digits[32];
    char *end = format_number(digits, value, base, min_digits);
    put_bytes(out, digits, static_cast<DWORD>(end - digits));
}

void put_format(Out &out, const char *format, const DWORD *values)
{
    for (; *format; ++format) {
        unsigned char c = static_cast<unsigned char>(*format);
        if (c >= FORMAT_CODE && c < FORMAT_CODE + FORMAT_VALUES) {
            put_text(out, out.foreign_codes ? "0x" : "U+");
            put_number(out, values[c - FORMAT_CODE], HEX, out.foreign_codes ? 2 : 4);
        } else if (c >= FORMAT_DECIMAL && c < FORMAT_DECIMAL + FORMAT_VALUES) {
            DWORD value = values[c - FORMAT_DECIMAL];
            if (value & 0x80000000u) {
                put_byte(out, '-');
                value = 0 - value;
            }
            put_number(out, value, DECIMAL, 1);
        } else {
            put_byte(out, c);
        }
    }
}

bool out_end(Out &out)
{
    flush(out);
    return !out.failed;
}

int say(Stream *to, int status, const char *lead, const char *format, const DWORD *values)
{
    Out out;
    out_begin(out, to);
    put_format(out, lead, values);
    put_format(out, format, values);
    put_byte(out, LINE_FEED);
    out_end(out);
    return status;
}

int say(Stream *to, int status, const char *format, const DWORD *values)
{
    return say(to, status, "", format, values);
}
