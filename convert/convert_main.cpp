#include "convert.h"
#include "../rows/row.h"
#include "../stream/stream.h"

namespace {

const char USAGE_TEXT[] = "usage>glyphrow source.txt font.bin";

// A short piece leaves cells unwritten; they must read as blank, never as
// what an earlier, longer piece left in the buffer.
void clear_cells(char *line)
{
    for (int i = 0; i < ROW_CELLS; ++i)
        line[i] = 0;
}

// Every row piece becomes one byte. Returns false as soon as one can't be
// written: going on would leave a hole in the font file.
bool convert_rows(Stream *source, Stream *font)
{
    char line[LINE_LIMIT];
    do {
        clear_cells(line);
        if (stream_gets(line, LINE_LIMIT, source) && is_row_piece(line)) {
            if (stream_putc(row_byte(line), font) == STREAM_EOF)
                return false;
        }
    } while (!stream_at_end(source));
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

}  // namespace

int convert_main(int argc, char **argv)
{
    if (argc <= 2)
        return report(USAGE_TEXT, STATUS_USAGE);
    // The font file is opened, and so emptied, only once the source is known
    // to open: a mistyped source name must not cost the user a font file.
    Stream *source = stream_open(argv[1], "rb");
    if (!source)
        return report(CANT_OPEN_INPUT_TEXT, STATUS_CANT_OPEN_INPUT);
    Stream *font = stream_open(argv[2], "wb");
    if (!font) {
        stream_close(source);
        return report(CANT_OPEN_OUTPUT_TEXT, STATUS_CANT_OPEN_OUTPUT);
    }
    return finish(source, font, convert_rows(source, font));
}
