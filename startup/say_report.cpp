#include "report.h"

Report report_of(int status, const char *text, const char *lead)
{
    Report r = {status, nullptr, lead, text, {0, 0, 0, 0, 0}};
    return r;
}

int fault(Report &r, int status, const char *text, const char *lead)
{
    if (r.status == STATUS_DONE) {
        r.status = status;
        r.text = text;
        r.lead = lead;
    }
    return r.status;
}

int say_report(Stream *to, const Report &r)
{
    if (!r.text)
        return r.status;
    Out out;
    out_begin(out, to);
    if (r.name)
        put_text(out, r.name);  // as the command line gave it, never a format
    if (r.lead)
        put_format(out, r.lead, r.values);
    put_format(out, r.text, r.values);
    put_byte(out, LINE_FEED);
    out_end(out);
    return r.status;
}
