#include "startup.h"
#include "../stream/stream.h"

#ifndef GLYPHROW_VERSION
#error "the build gives the family's one version, from CMakeLists.txt"
#endif

namespace {

// `what: "typed"`: the typed text as it stands, never as a format.
void put_typed(Out &out, const char *what, const char *typed)
{
    put_text(out, what);
    put_text(out, ": \"");
    put_text(out, typed);
    put_byte(out, '"');
}

}  // namespace

bool read_argument(Stream *to, const char *what, const char *text, NumberKind kind, DWORD low, DWORD high,
                   DWORD *value)
{
    if (parse_number(text, true, low, high, value))
        return true;
    const DWORD range[] = {low, high};
    Out out;
    out_begin(out, to);
    put_typed(out, what, text);
    if (kind == HEIGHT_NUMBER) {
        put_format(out, " is not a number from \1 to \2.\n", range);
    } else {
        put_format(out, " is not a code from \1 to 0x", range);
        put_number(out, high, HEX, 1);
        put_text(out, ".\n");
    }
    out_end(out);
    return false;
}

bool say_below_first(Stream *to, const char *last, const char *first)
{
    Out out;
    out_begin(out, to);
    put_typed(out, "last", last);
    put_text(out, " is below first (\"");
    put_text(out, first);
    put_text(out, "\").\n");
    out_end(out);
    return false;
}

bool answered_help(int argc, char **argv, const char *name, const char *usage, const char *help)
{
    bool version = argc > 1 && text_same(argv[1], "--version");
    if (!version && (argc < 2 || !(text_same(argv[1], "--help") || text_same(argv[1], "-h"))))
        return false;
    Out out;
    out_begin(out, &stdout_stream);
    put_text(out, version ? name : usage);
    put_text(out, version ? " " GLYPHROW_VERSION "\n" : "\n");
    if (!version)
        put_text(out, help);
    out_end(out);
    return true;
}
