#include "pick.h"
#include "../readers/readers.h"
#include "../forms/forms.h"
#include "../platform/block.h"
#include "../startup/startup.h"

namespace {

const char USAGE_TEXT[] = "usage>glyphpick font.bdf|font.psf|font.pcf[.gz] output [first [last]]";
const char HELP_TEXT[] =
    "Takes the glyphs of the codes first to last out of a BDF, PSF or PCF font, as it is\n"
    "or gzip-compressed (told by its content), into cells 6 wide, in the form the\n"
    "output's suffix asks for: .txt or none (a drawing), .png (a sheet), .bdf, .psf,\n"
    ".h, .c (C) or .bin (the font file).\n"
    "  first, last  codes, 0 to 0x10FFFF, as 65, 0x41 or U+0041 (default 0x20, and the\n"
    "               larger of first and 0x7E)\n"
    "Each run of codes the font lacks, and each glyph that loses ink, is said.\n"
    "More: man glyphpick, or README.md beside the exe.\n";
// The range: first to last, last at least first (by default, the larger of
// first and 0x7E).
bool read_arguments(Stream *messages, int argc, char **argv, Picked *p)
{
    DWORD first = DEFAULT_FIRST, last;
    if (argc < 3 || (argc > 3 && !read_argument(messages, "first", argv[3], CODE_NUMBER, 0, MAX_CODE, &first)))
        return false;
    last = first > DEFAULT_LAST ? first : DEFAULT_LAST;
    if (argc > 4 && !read_argument(messages, "last", argv[4], CODE_NUMBER, 0, MAX_CODE, &last))
        return false;
    if (last < first)
        return say_below_first(messages, argv[4], argv[3]);
    picked_begin_range(*p, first, last);
    return true;
}

// \21 and \22 the first and last code of a run, \3 the cell's height.
const char MISSING_RUN[] = "\21 to \22 are";
const char MISSING_ONE[] = "\21 is";
const char MISSING[] = " not in the font: left blank.\n";
const char NOTICE_CUT_TEXT[] = "a notice of the font's is longer than a BDF line keeps: cut to 1014 bytes.";
const char INK_CUT[] = "\21 loses ink outside the 6 by \3 cell.\n";
const char INK_CUT_RUN[] = "\21 to \22 lose ink outside the 6 by \3 cell.\n";

// What the font didn't give as it is, in code order: a line for each run of
// codes it lacks, and one for each glyph whose ink was cut. A font may lack
// thousands of runs: the lines go out a kilobyte at a time.
int say_losses(Stream *messages, const Picked &p)
{
    Out out;
    out_begin(out, messages);
    out.foreign_codes = p.foreign[0] && !p.translated;
    if (out.foreign_codes) {
        put_text(out, "codes are ");
        put_text(out, p.foreign);
        put_text(out, ", not Unicode: taken as they stand.\n");
    }
    if (p.left_out) {
        put_text(out, p.foreign);
        put_format(out, " has no character for the codes of \1 glyphs: left out.\n", &p.left_out);
    }
    int status = STATUS_DONE;
    for (DWORD i = 0; i < p.count; ++i) {
        DWORD values[3] = {p.first + i, p.first + i, p.height};
        if (!(p.state[i] & FOUND)) {
            while (i + 1 < p.count && !(p.state[i + 1] & FOUND))
                ++i;
            values[1] = p.first + i;
            put_format(out, values[1] != values[0] ? MISSING_RUN : MISSING_ONE, values);
            put_text(out, MISSING);
        } else if (p.state[i] & CUT) {
            while (i + 1 < p.count && (p.state[i + 1] & (FOUND | CUT)) == (FOUND | CUT))
                ++i;
            values[1] = p.first + i;
            put_format(out, values[1] != values[0] ? INK_CUT_RUN : INK_CUT, values);
            status = STATUS_INK_CUT;
        }
    }
    out_end(out);
    return status;
}

// The font is read whole and checked, and still held, before the output is
// opened (and so emptied): a malformed font touches nothing, and a font
// that is the output can't be opened as it.
int write_picked(Stream *messages, const char *name, Picked &p)
{
    Font f = {p.rows, p.count * p.height, p.height, p.first, p.descent, p.copyright, p.notice,
              p.foreign[0] && !p.translated ? p.foreign : nullptr};
    Form form = form_of(name);
    int status;
    Stream *out = open_argument(messages, name, true, &status);
    if (!out)
        return status;
    bool written = write_form(form, out, f, name);
    if (close_argument(out) != 0 || !written)
        return say(messages, STATUS_CANT_WRITE_OUTPUT, CANT_WRITE_OUTPUT_TEXT, nullptr);
    Report notes[FORM_NOTES];
    for (DWORD i = 0, n = form_notes(form, f, notes); i < n; ++i)
        say_report(messages, notes[i]);
    if (p.notice_cut)
        say(messages, STATUS_DONE, NOTICE_CUT_TEXT, nullptr);
    return say_losses(messages, p);
}

int pick(Stream *messages, char **argv, Picked &p)
{
    int status;
    Stream *font = open_argument(messages, argv[1], false, &status);
    if (!font)
        return status;
    Input in;
    Report report = report_of(STATUS_DONE, nullptr);
    if (!input_begin(in, argv[1], font))
        status = STATUS_NO_MEMORY;
    else if ((status = read_picked(in, p, report)) != STATUS_DONE)
        say_report(messages, report);
    input_end(in);
    // The font is still held while the output is opened: the same file
    // can't be both.
    if (status == STATUS_DONE)
        status = write_picked(messages, argv[2], p);
    close_argument(font);
    return status;
}

}  // namespace

// A drawing on standard output has the messages go to standard error.
int pick_main(int argc, char **argv)
{
    if (answered_help(argc, argv, "glyphpick", USAGE_TEXT, HELP_TEXT))
        return STATUS_DONE;
    Stream *messages = messages_for(argc > 2 ? argv[2] : nullptr);
    Picked p;
    picked_begin_range(p, DEFAULT_FIRST, DEFAULT_LAST);
    if (!read_arguments(messages, argc, argv, &p) || !form_known(messages, argv[2]))
        return say(messages, STATUS_USAGE, USAGE_TEXT, nullptr);
    int status = pick(messages, argv, p);
    picked_end(p);
    return status;
}
