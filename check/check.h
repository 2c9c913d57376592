// glyphcheck's job: the drawing read exactly as glyphrow reads it, and a
// finding with its line number for each trap that glyphrow forgives
// silently: rows made of pieces of long lines, short rows, stray cells,
// rows hidden behind a tab or a byte order mark, text that isn't 8-bit,
// lone carriage returns, and runs of rows that aren't whole glyphs.
#ifndef GLYPHROW_CHECK_H
#define GLYPHROW_CHECK_H

#include "../startup/status.h"
#include "../platform/kernel32.h"

enum : int {
    STATUS_FINDINGS = 7,
};

int check_main(int argc, char **argv);

// The kinds of finding, the certain faults first.
enum Finding {
    ROW_INSIDE_LINE,  // a: the byte of the line the row starts at
    SHORT_ROW,        // a: the cells the row has
    STRAY_CELL,       // a: the cell, b: its byte
    TAB_BEFORE_ROW,
    MARK_BEFORE_ROW,
    UTF16_MARK,
    ZERO_BYTE,
    LONE_CARRIAGE_RETURN,  // a: how many there are in all
    ONE_LONG_LINE,    // a: the lines that carriage returns alone end
    RUN_NOT_WHOLE,    // a: the rows in the run, b: the height
};

// Where findings go: to standard output at once, or, while a run of rows
// is open and not yet judged, held back so that the run's own finding,
// which belongs at its first line, can go out before them.
struct Findings {
    const char *name;  // the drawing's, as the command line gave it
    bool any;
    bool holding;
    char *held;
    DWORD held_used;
    DWORD held_size;
};

void note(Findings *findings, DWORD line, Finding finding, DWORD a = 0, DWORD b = 0);
// A run of rows begins at a line: findings are held from now on.
void hold(Findings *findings);
// The run that began at line ends with this many rows: its own finding, if
// they aren't whole glyphs of this height, then the held ones go out.
void end_run(Findings *findings, DWORD line, DWORD rows, DWORD height);

#endif
