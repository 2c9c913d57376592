// A small unbuffered stream layer over platform handles. Every transfer goes
// straight to ReadFile or WriteFile; the only state besides the handle is a
// set of flags and one byte of lookahead for the end test.
#ifndef GLYPHROW_STREAM_H
#define GLYPHROW_STREAM_H

#include "../platform/kernel32.h"

struct Stream {
    HANDLE handle;
    DWORD flags;
    int lookahead;  // meaningful only while STREAM_LOOKAHEAD is set
};

enum : DWORD {
    STREAM_BINARY = 0x01,     // no line-end translation either way
    STREAM_END = 0x08,        // sticky: a read came up short, none reaches the platform again
    STREAM_LOOKAHEAD = 0x10,  // one byte is held in lookahead
    STREAM_ERROR = 0x20,      // sticky: a ReadFile call failed (not merely reached the end)
    STREAM_STANDARD = 0x40,   // a standard handle under a name ("-"): never closed
};

enum : int {
    STREAM_EOF = -1,
    LINE_FEED = 0x0A,
    CARRIAGE_RETURN = 0x0D,
};

extern Stream stdin_stream;
extern Stream stdout_stream;
extern Stream stderr_stream;

Stream *stream_open(const char *name, const char *mode);
int stream_close(Stream *stream);
DWORD stream_read(void *destination, DWORD size, DWORD count, Stream *stream);
DWORD stream_read_block(void *destination, DWORD n, Stream *stream);
int stream_getc(Stream *stream);
int stream_at_end(Stream *stream);
int stream_error(const Stream *stream);
char *stream_gets(char *buffer, int limit, Stream *stream);
DWORD stream_write(const void *data, DWORD size, DWORD count, Stream *stream);
// n bytes in one WriteFile, as they are; true when every one went out.
bool stream_write_whole(Stream *stream, const void *data, DWORD n);
int stream_putc(int value, Stream *stream);
int stream_puts(const char *text, Stream *stream);
// The bytes before the text's terminator.
DWORD text_length(const char *text);
// The same bytes up to the same terminator; the second, with ASCII letters
// of either case alike (a suffix, a registry's name).
bool text_same(const char *a, const char *b);
bool text_same_in_any_case(const char *a, const char *b);
int print_line(const char *text);
int stream_rewind(Stream *stream);
bool stream_seekable(const Stream *stream);

// Number text for messages and labels (base 10 or 16); see format.cpp.
enum : DWORD { DECIMAL = 10, HEX = 16 };
char *format_number(char *at, DWORD value, DWORD base, int min_digits);

// A small buffer in front of a stream, so that a form goes out in blocks:
// it is filled with the put_ functions and emptied when full and at the end.
// After a failed write nothing more is written.
enum : DWORD { OUT_BUFFER_SIZE = 1024 };
struct Out {
    Stream *stream;
    DWORD used;
    bool failed;
    bool foreign_codes;  // codes are another registry's: put as 0xC4, never U+00C4
    unsigned char buffer[OUT_BUFFER_SIZE];
};
void out_begin(Out &out, Stream *stream);
void put_bytes(Out &out, const void *bytes, DWORD n);
void put_text(Out &out, const char *text);
void put_number(Out &out, DWORD value, DWORD base, int min_digits);
// A byte, the common case (room left, no line feed) in line where it is put.
void put_byte_slowly(Out &out, unsigned char byte);
inline void put_byte(Out &out, unsigned char byte)
{
    if (out.used < OUT_BUFFER_SIZE - 1 && byte != LINE_FEED)
        out.buffer[out.used++] = byte;
    else
        put_byte_slowly(out, byte);
}
// A block that needs no buffer: what the buffer holds goes first, then the
// block in one write, as it is.
void put_block(Out &out, const void *bytes, DWORD n);
// Copies the format, each byte 1 to 7 in it standing for values[byte - 1]
// in decimal, signed ("SIZE \1 72 72\n"), and each byte 021 to 027 for
// values[byte - 021] as a code, "U+0041" (or "0x41" where foreign_codes).
enum : unsigned char { FORMAT_DECIMAL = 1, FORMAT_CODE = 021, FORMAT_VALUES = 7 };
void put_format(Out &out, const char *format, const DWORD *values);
// Empties the buffer; true when every byte went out.
bool out_end(Out &out);

// Says the format's text, as put_format makes it, as a line on the stream
// (a tool's messages go to standard output, or to standard error while its
// output does), and gives the status back; the second form says lead first.
int say(Stream *to, int status, const char *format, const DWORD *values);
int say(Stream *to, int status, const char *lead, const char *format, const DWORD *values);

// Bytes to read in blocks: a stream's, or bytes in memory.
struct Source {
    Stream *stream;  // or null: the bytes
    const unsigned char *bytes;
    DWORD size, taken;
};
Source source_of_stream(Stream *stream);
Source source_of_bytes(const unsigned char *bytes, DWORD size);
// What one read gives, however little; 0 only at the end or after a failed
// read (source_failed tells which).
DWORD source_read(Source &s, unsigned char *to, DWORD n);
bool source_failed(const Source &s);
bool source_seekable(const Source &s);
// Back to the first byte, for a second pass; false where it can't be.
bool source_rewind(Source &s);

#endif
