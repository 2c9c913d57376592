#include "check.h"
#include "../platform/block.h"
#include "../rows/row.h"
#include "../stream/stream.h"

namespace {

enum : DWORD {
    FINDING_SIZE = 160,  // the longest finding's line, with room to spare
    FIRST_HELD_SIZE = 1024,
    FIRST_SHOWN = 33,    // a byte from 33 to 126 is shown as itself
    LAST_SHOWN = 126,
    BYTE_DIGITS = 2,
};

char *append(char *at, const char *text)
{
    while (*text)
        *at++ = *text++;
    return at;
}

char *append_number(char *at, DWORD value)
{
    return format_number(at, value, DECIMAL, 1);
}

// A byte as the user would see it: "x", or 0x09 where it can't be shown.
char *append_byte(char *at, DWORD byte)
{
    if (byte >= FIRST_SHOWN && byte <= LAST_SHOWN) {
        *at++ = '"';
        *at++ = static_cast<char>(byte);
        *at++ = '"';
        return at;
    }
    return format_number(append(at, "byte 0x"), byte, HEX, BYTE_DIGITS);
}

// What was found, and what glyphrow will make of it.
char *append_finding(char *at, Finding finding, DWORD a, DWORD b)
{
    switch (finding) {
    case ROW_INSIDE_LINE:
        at = append_number(append(at, "a row starts at byte "), a);
        return append(at, " of a long line; glyphrow adds it as an extra row.");
    case SHORT_ROW:
        at = append_number(append(append_number(append(at, "a row has only "), a), " of its "), ROW_CELLS);
        return append(at, " cells; glyphrow reads the missing ones as blank.");
    case STRAY_CELL:
        at = append_byte(append(append_number(append(at, "cell "), a), " is "), b);
        return append(at, ", not \"*\", \".\" or a space; glyphrow reads it as blank.");
    case TAB_BEFORE_ROW:
        return append(at, "a tab before a row; glyphrow skips the whole line.");
    case MARK_BEFORE_ROW:
        return append(at, "a UTF-8 byte order mark before a row; glyphrow skips the whole line.");
    case UTF16_MARK:
        return append(at, "a UTF-16 byte order mark: not 8-bit text; glyphrow can't read it as drawn.");
    case ZERO_BYTE:
        return append(at, "a zero byte: not 8-bit text; glyphrow reads it as a blank or skips it.");
    case LONE_CARRIAGE_RETURN:
        at = append(append_number(append(at, "a carriage return without a line feed ("), a), " in all); ");
        return append(at, "glyphrow doesn't end a line at one.");
    case ONE_LONG_LINE:
        at = append(append_number(append(at, "carriage returns alone end its "), a), " lines (old Mac line ends); ");
        return append(at, "glyphrow reads the file as one long line.");
    case RUN_NOT_WHOLE:
        at = append(append_number(append(at, "a run of rows holds "), a), ", not a multiple of the height ");
        return append(append_number(at, b), "; glyphrow shifts every glyph after it.");
    }
    return at;
}

void print(const char *text, DWORD n)
{
    stream_write(text, 1, n, &stdout_stream);  // standard output is in text mode: CR LF
}

// Keeps a finding back, its name and its text; false when no memory can be
// had for it.
bool keep(Findings *findings, const char *name, DWORD name_length, const char *text, DWORD n)
{
    DWORD needed = findings->held_used + name_length + n;
    if (needed > findings->held_size) {
        DWORD size = findings->held_size ? 2 * findings->held_size : FIRST_HELD_SIZE;
        while (size < needed)
            size *= 2;
        char *held = static_cast<char *>(block_alloc(size));
        if (!held)
            return false;
        for (DWORD i = 0; i < findings->held_used; ++i)
            held[i] = findings->held[i];
        block_free(findings->held);
        findings->held = held;
        findings->held_size = size;
    }
    for (DWORD i = 0; i < name_length; ++i)
        findings->held[findings->held_used++] = name[i];
    for (DWORD i = 0; i < n; ++i)
        findings->held[findings->held_used++] = text[i];
    return true;
}

}  // namespace

void note(Findings *findings, DWORD line, Finding finding, DWORD a, DWORD b)
{
    // "font.txt:12: ...", as compilers and linters print a line, so that
    // editors and CI annotations find it.
    char text[FINDING_SIZE];
    char *at = append(append_number(append(text, ":"), line), ": ");
    at = append_finding(at, finding, a, b);
    *at++ = LINE_FEED;
    DWORD n = static_cast<DWORD>(at - text);
    DWORD name_length = text_length(findings->name);
    findings->any = true;
    // Out of memory, a finding goes out at once: out of order, never lost.
    if (!findings->holding || !keep(findings, findings->name, name_length, text, n)) {
        print(findings->name, name_length);
        print(text, n);
    }
}

void hold(Findings *findings)
{
    findings->holding = true;
}

void end_run(Findings *findings, DWORD line, DWORD rows, DWORD height)
{
    findings->holding = false;
    if (rows % height != 0)
        note(findings, line, RUN_NOT_WHOLE, rows, height);
    if (!findings->held)
        return;
    print(findings->held, findings->held_used);
    block_free(findings->held);
    findings->held = nullptr;
    findings->held_used = findings->held_size = 0;
}
