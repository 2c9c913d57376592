// What a reader or a writer has to say, filled where it is found and said
// by the tool, on the stream the tool chooses: what went wrong (a status
// that ends the run), or a note that is no fault (status 0). One record
// through every stage, as a loader returns one error type: the first fault
// found is the one reported.
#ifndef GLYPHROW_REPORT_H
#define GLYPHROW_REPORT_H

#include "status.h"
#include "../stream/stream.h"

enum : DWORD { REPORT_VALUES = 5 };

struct Report {
    int status;         // STATUS_DONE while nothing went wrong
    const char *name;   // the input's, before a text about one of its lines ("font.bdf:9: ..."), or null
    const char *lead;   // a format put before the text, or null
    const char *text;   // a format, as put_format takes it; null: nothing to say
    DWORD values[REPORT_VALUES];
};

Report report_of(int status, const char *text, const char *lead = nullptr);
// Fills the report with the fault, unless it holds one already; returns
// the report's status. A want of memory has no text: tool_status says it.
int fault(Report &r, int status, const char *text, const char *lead = nullptr);
// The report's line on the stream, nothing where it has no text; its status.
int say_report(Stream *to, const Report &r);

#endif
