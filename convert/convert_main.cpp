#include "convert.h"
#include "../rows/foreign.h"
#include "../rows/row.h"
#include "../stream/stream.h"

// Every source byte passes through five layers of small functions, which
// only whole-program inlining folds together; the conversion's loop asks
// for all of them to be folded into it, as they were before it also
// converted from a first block. (Not where the build is for size: the exe.)
#if defined(__GNUC__) && !defined(__OPTIMIZE_SIZE__)
#define CONVERSION_LOOP __attribute__((flatten))
#else
#define CONVERSION_LOOP
#endif

namespace {

const char USAGE_TEXT[] = "usage>glyphrow source.txt font.bin";

// The source: its first block, read one platform call a byte as every byte
// is, and held so that what the source is can be told before the font file
// is made; then the rest of the stream.
struct SourceFile {
    Stream *stream;
    DWORD at, end;
    unsigned char first[FIRST_BLOCK_BYTES];
};

void read_first_block(SourceFile &s)
{
    s.at = s.end = 0;
    int byte;
    while (s.end < FIRST_BLOCK_BYTES && (byte = stream_getc(s.stream)) != STREAM_EOF)
        s.first[s.end++] = static_cast<unsigned char>(byte);
}

int source_getc(SourceFile &s)
{
    return s.at < s.end ? s.first[s.at++] : stream_getc(s.stream);
}

bool source_at_end(SourceFile &s)
{
    return s.at == s.end && stream_at_end(s.stream);
}

// A line piece, as stream_gets takes one: at most limit - 1 bytes, ending
// after a line feed; false at the end of the source.
bool source_gets(char *line, int limit, SourceFile &s)
{
    if (source_at_end(s))
        return false;
    int stored = 0, byte = 0;
    while (stored < limit - 1 && byte != LINE_FEED && (byte = source_getc(s)) != STREAM_EOF)
        line[stored++] = static_cast<char>(byte);
    line[stored] = 0;
    return true;
}

// A short piece leaves cells unwritten; they must read as blank, never as
// what an earlier, longer piece left in the buffer.
void clear_cells(char *line)
{
    for (int i = 0; i < ROW_CELLS; ++i)
        line[i] = 0;
}

// A row piece's byte; false when it can't be written.
bool put_row(const char *line, Stream *font)
{
    return !is_row_piece(line) || stream_putc(row_byte(line), font) != STREAM_EOF;
}

// Every row piece becomes one byte: the first block's pieces (the last may
// run on into the stream), then the rest straight from the stream, in the
// loop glyphrow always had, so that no byte past the first block costs
// more. Returns false as soon as a byte can't be written: going on would
// leave a hole in the font file.
CONVERSION_LOOP bool convert_rows(SourceFile &source, Stream *font)
{
    char line[LINE_LIMIT];
    while (source.at < source.end) {
        clear_cells(line);
        if (source_gets(line, LINE_LIMIT, source) && !put_row(line, font))
            return false;
    }
    if (source.end && stream_at_end(source.stream))
        return true;
    do {
        clear_cells(line);
        if (stream_gets(line, LINE_LIMIT, source.stream) && !put_row(line, font))
            return false;
    } while (!stream_at_end(source.stream));
    return true;
}

// Both streams are closed before anything is said. A lost row outranks a
// failed read, which outranks a failed close of the font file.
int finish(Stream *source, Stream *font, bool rows_written)
{
    bool read_failed = stream_error(source);
    stream_close(source);
    bool font_closed = stream_close(font) == 0;
    if (!rows_written)
        return report(CANT_WRITE_OUTPUT_TEXT, STATUS_CANT_WRITE_OUTPUT);
    if (read_failed)
        return report(CANT_READ_INPUT_TEXT, STATUS_CANT_READ_INPUT);
    if (!font_closed)
        return report(CANT_WRITE_OUTPUT_TEXT, STATUS_CANT_WRITE_OUTPUT);
    return STATUS_DONE;
}

// Ends a run before the font file is made: the output is as it was.
int refuse(Stream *source, const char *text, int status)
{
    stream_close(source);
    return report(text, status);
}

}  // namespace

int convert_main(int argc, char **argv)
{
    if (argc <= 2)
        return report(USAGE_TEXT, STATUS_USAGE);
    // The font file is opened, and so emptied, only once the source is known
    // to open and to be a drawing: a mistyped source name, or arguments in
    // the wrong order, must not cost the user a file.
    SourceFile source;
    source.stream = stream_open(argv[1], "rb");
    if (!source.stream)
        return report(CANT_OPEN_INPUT_TEXT, STATUS_CANT_OPEN_INPUT);
    read_first_block(source);
    if (stream_error(source.stream))
        return refuse(source.stream, CANT_READ_INPUT_TEXT, STATUS_CANT_READ_INPUT);
    if (const char *foreign = foreign_input(source.first, source.end))
        return refuse(source.stream, foreign, STATUS_NOT_A_DRAWING);
    Stream *font = stream_open(argv[2], "wb");
    if (!font)
        return refuse(source.stream, CANT_OPEN_OUTPUT_TEXT, STATUS_CANT_OPEN_OUTPUT);
    return finish(source.stream, font, convert_rows(source, font));
}
