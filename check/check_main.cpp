#include "check.h"
#include "../platform/block.h"
#include "../readers/readers.h"
#include "../rows/foreign.h"
#include "../rows/row.h"
#include "../startup/startup.h"
#include "../stream/stream.h"

namespace {

const char USAGE_TEXT[] = "usage>glyphcheck source.txt [height]";
const char HELP_TEXT[] =
    "Reads a drawing exactly as glyphrow does and prints NAME:LINE: what, for each trap\n"
    "that glyphrow passes in silence: a row inside a long line, a short row, a stray\n"
    "cell, a row behind a tab or a byte order mark, text that isn't 8-bit, a lone\n"
    "carriage return, and with a height, a run of rows that isn't whole glyphs.\n"
    "  source.txt  the drawing\n"
    "  height      rows a glyph, 1 to 255, as 8 or 0x8 (default: runs not checked)\n"
    "Status 0: no findings; 7: findings. More: man glyphcheck, or README.md beside the exe.\n";

enum : unsigned char {
    TAB = 0x09,
    MARK_SIZE = 3,     // the UTF-8 byte order mark: EF BB BF
    UTF16_MARK_SIZE = 2,
};

const unsigned char UTF8_MARK[MARK_SIZE] = {0xEF, 0xBB, 0xBF};
const unsigned char UTF16LE_MARK[UTF16_MARK_SIZE] = {0xFF, 0xFE};
const unsigned char UTF16BE_MARK[UTF16_MARK_SIZE] = {0xFE, 0xFF};

// A line piece exactly as glyphrow takes it, and how long it is: it may
// hold zero bytes.
struct Piece {
    char text[LINE_LIMIT];
    const unsigned char *bytes;
    DWORD length;
};

struct Checker {
    Findings findings;
    DWORD height;          // 0 when no height was given
    DWORD line;            // the line the piece stands on, from 1
    DWORD column;          // the byte of that line the piece begins at, from 1
    bool cr_at_piece_end;  // the last piece ended in a carriage return
    DWORD lone_returns;    // carriage returns without a line feed, in all
    bool return_said;      // the first of them said, with the count
    bool one_long_line;    // they end every line: glyphrow reads one line
    bool zero_found;
    DWORD run_rows;        // the rows of the open run, and its first line
    DWORD run_line;
};

// The drawing, read whole in blocks, and where the next piece begins.
struct Drawing {
    const unsigned char *bytes;
    DWORD size, at;
};

// The next piece, cut as glyphrow's line pieces are: at most LINE_LIMIT - 1
// bytes, ending after a line feed.
bool read_piece(Drawing &d, Piece *piece)
{
    if (d.at == d.size)
        return false;
    DWORD n = 0;
    while (n < LINE_LIMIT - 1 && d.at < d.size) {
        unsigned char byte = d.bytes[d.at++];
        piece->text[n++] = static_cast<char>(byte);
        if (byte == LINE_FEED)
            break;
    }
    piece->text[n] = 0;
    piece->bytes = reinterpret_cast<const unsigned char *>(piece->text);
    piece->length = n;
    return true;
}

bool begins_with(const Piece &piece, const unsigned char *mark, DWORD n)
{
    for (DWORD i = 0; i < n; ++i)
        if (i >= piece.length || piece.bytes[i] != mark[i])
            return false;
    return true;
}

bool is_line_end(unsigned char byte)
{
    return byte == LINE_FEED || byte == CARRIAGE_RETURN;
}

void end_open_run(Checker &c)
{
    if (c.run_rows != 0)
        end_run(&c.findings, c.run_line, c.run_rows, c.height);
    c.run_rows = 0;
}

// A row piece. Only one that begins its line is checked cell by cell: a
// row inside a long line is a fault whatever its cells.
void check_row(Checker &c, const Piece &piece)
{
    if (c.height && c.run_rows++ == 0) {
        c.run_line = c.line;
        hold(&c.findings);
    }
    if (c.column != 1)
        return c.one_long_line ? void() : note(&c.findings, c.line, ROW_INSIDE_LINE, c.column);
    DWORD cells = 0;
    while (cells < ROW_CELLS && cells < piece.length && !is_line_end(piece.bytes[cells]))
        ++cells;
    if (cells < ROW_CELLS)
        note(&c.findings, c.line, SHORT_ROW, cells);
    for (DWORD i = 0; i < cells; ++i)
        if (!is_row_piece(piece.text + i))  // not a cell
            note(&c.findings, c.line, STRAY_CELL, i + 1, piece.bytes[i]);
}

// A line that glyphrow skips parts runs; it may hide a row behind tabs, or
// behind a byte order mark on the first line.
void check_skipped_line(Checker &c, const Piece &piece)
{
    end_open_run(c);
    DWORD tabs = 0;
    while (tabs < piece.length && piece.bytes[tabs] == TAB)
        ++tabs;
    if (tabs != 0 && tabs < piece.length && is_row_piece(piece.text + tabs))
        note(&c.findings, c.line, TAB_BEFORE_ROW);
    else if (c.line == 1 && begins_with(piece, UTF8_MARK, MARK_SIZE) && piece.length > MARK_SIZE &&
             is_row_piece(piece.text + MARK_SIZE))
        note(&c.findings, c.line, MARK_BEFORE_ROW);
}

// A lone carriage return is said once, with the count of them all; where
// they end every line, that one finding says so, and the rows inside the
// one long line (each a finding of its own otherwise) are not said again.
void note_lone_return(Checker &c)
{
    if (c.return_said)
        return;
    c.return_said = true;
    note(&c.findings, c.line, c.one_long_line ? ONE_LONG_LINE : LONE_CARRIAGE_RETURN, c.lone_returns);
}

// Zero bytes (once a drawing) and carriage returns not followed by a line
// feed; one at the piece's end is judged by the next piece.
void check_bytes(Checker &c, const Piece &piece)
{
    for (DWORD i = 0; i < piece.length; ++i) {
        unsigned char byte = piece.bytes[i];
        if (byte == 0 && !c.zero_found) {
            c.zero_found = true;
            note(&c.findings, c.line, ZERO_BYTE);
        }
        if (byte != CARRIAGE_RETURN)
            continue;
        if (i + 1 == piece.length)
            c.cr_at_piece_end = true;
        else if (piece.bytes[i + 1] != LINE_FEED)
            note_lone_return(c);
    }
}

void count_lone_returns(Checker &c, const Drawing &d)
{
    bool line_feed = false;
    for (DWORD i = 0; i < d.size; ++i) {
        line_feed = line_feed || d.bytes[i] == LINE_FEED;
        c.lone_returns += d.bytes[i] == CARRIAGE_RETURN && (i + 1 == d.size || d.bytes[i + 1] != LINE_FEED);
    }
    c.one_long_line = c.lone_returns && !line_feed;
}

// Returns false when the drawing can't be checked further.
bool check_piece(Checker &c, const Piece &piece)
{
    if (c.cr_at_piece_end && piece.bytes[0] != LINE_FEED)
        note_lone_return(c);
    c.cr_at_piece_end = false;
    if (c.line == 1 && c.column == 1 &&
        (begins_with(piece, UTF16LE_MARK, UTF16_MARK_SIZE) || begins_with(piece, UTF16BE_MARK, UTF16_MARK_SIZE))) {
        note(&c.findings, c.line, UTF16_MARK);
        return false;
    }
    if (is_row_piece(piece.text))
        check_row(c, piece);
    else if (c.column == 1)
        check_skipped_line(c, piece);
    check_bytes(c, piece);
    if (piece.bytes[piece.length - 1] == LINE_FEED) {
        ++c.line;
        c.column = 1;
    } else {
        c.column += piece.length;
    }
    return true;
}

// Piece by piece, as glyphrow reads them.
void check_source(Checker &c, Drawing &d)
{
    Piece piece;
    while (read_piece(d, &piece))
        if (!check_piece(c, piece))
            return;
    if (c.cr_at_piece_end)
        note_lone_return(c);
    end_open_run(c);
}

// The drawing read, told from another tool's input, then checked.
int check_drawing(Checker &c, Stream *source)
{
    unsigned char *bytes;
    Drawing d = {nullptr, 0, 0};
    Report said = report_of(STATUS_DONE, nullptr);
    int status = read_font(source, &bytes, &d.size, said);
    d.bytes = bytes;
    const char *foreign = status == STATUS_DONE ? foreign_input(bytes, d.size < FIRST_BLOCK_BYTES ? d.size : static_cast<DWORD>(FIRST_BLOCK_BYTES)) : nullptr;
    if (foreign)
        status = fault(said, STATUS_NOT_A_DRAWING, foreign);
    say_report(&stdout_stream, said);
    if (status == STATUS_DONE) {
        count_lone_returns(c, d);
        check_source(c, d);
    }
    if (bytes)
        block_free(bytes);
    return status;
}

}  // namespace

int check_main(int argc, char **argv)
{
    if (answered_help(argc, argv, "glyphcheck", USAGE_TEXT, HELP_TEXT))
        return STATUS_DONE;
    Checker c = {};
    c.line = c.column = 1;
    if (argc < 2 || (argc > 2 && !read_argument(&stdout_stream, "height", argv[2], HEIGHT_NUMBER, 1, MAX_HEIGHT, &c.height)))
        return report(USAGE_TEXT, STATUS_USAGE);
    int status;
    Stream *source = open_argument(&stdout_stream, argv[1], false, &status);
    if (!source)
        return status;
    c.findings.name = argv[1];
    status = check_drawing(c, source);
    close_argument(source);
    if (status != STATUS_DONE)
        return status;
    return c.findings.any ? static_cast<int>(STATUS_FINDINGS) : static_cast<int>(STATUS_DONE);
}
