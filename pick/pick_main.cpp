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
    ".h, .c (C), .bin (the font file), .gfx.h, .cols.h, .cols.c or .lvgl.c.\n"
    "  first, last  codes, 0 to 0x10FFFF, as 65, 0x41 or U+0041 (default 0x20, and the\n"
    "               larger of first and 0x7E)\n"
    "  or a set     0x20-0x7E,0xB0,U+20AC; @file, a text's characters; all, every glyph\n"
    "Each run of codes the font lacks, and each glyph that loses ink, is said.\n"
    "More: man glyphpick, or README.md beside the exe.\n";
// \21 and \22 the first and last code of a run, \3 the cell's height.
const char MISSING_RUN[] = "\21 to \22 are";
const char MISSING_ONE[] = "\21 is";
const char MISSING_BLANK[] = " not in the font: left blank.\n";
const char MISSING_OUT[] = " not in the font: left out.\n";
const char GAPS_TEXT[] = "\1 blank glyphs fill the gaps between the codes.";
const char NOT_UNICODE_FILE_TEXT[] = ", not Unicode: a text file's characters can't name them.";
const char NOTICE_CUT_TEXT[] = "a notice of the font's is longer than a BDF line keeps: cut to 1014 bytes.";
const char INK_CUT[] = "\21 loses ink outside the 6 by \3 cell.\n";
const char INK_CUT_RUN[] = "\21 to \22 lose ink outside the 6 by \3 cell.\n";

// What the font didn't give as it is, in code order: a line for each run of
// codes it lacks, and one for each glyph whose ink was cut. A font may lack
// thousands of runs: the lines go out a kilobyte at a time.
// Whether the code after index i is the next one of the set, with the same
// state as far as `mask` goes: a run goes on.
bool run_goes_on(const Picked &p, DWORD i, unsigned char mask, unsigned char state)
{
    return i + 1 < p.count && picked_code_at(p, i + 1) == picked_code_at(p, i) + 1 && (p.state[i + 1] & mask) == state;
}

int say_losses(Stream *messages, const Picked &p, bool left_out)
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
        DWORD values[3] = {picked_code_at(p, i), picked_code_at(p, i), p.height};
        if (!(p.state[i] & FOUND)) {
            while (run_goes_on(p, i, FOUND, 0))
                ++i;
            values[1] = picked_code_at(p, i);
            put_format(out, values[1] != values[0] ? MISSING_RUN : MISSING_ONE, values);
            put_text(out, left_out ? MISSING_OUT : MISSING_BLANK);
        } else if (p.state[i] & CUT) {
            while (run_goes_on(p, i, FOUND | CUT, FOUND | CUT))
                ++i;
            values[1] = picked_code_at(p, i);
            put_format(out, values[1] != values[0] ? INK_CUT_RUN : INK_CUT, values);
            status = STATUS_INK_CUT;
        }
    }
    out_end(out);
    return status;
}

// What the output holds that is no fault, then what the font lacks.
int say_notes(Stream *messages, const Picked &p, const Font &f, Form form, bool gaps, bool left_out)
{
    Report notes[FORM_NOTES];
    for (DWORD i = 0, n = form_notes(form, f, notes); i < n; ++i)
        say_report(messages, notes[i]);
    if (p.notice_cut)
        say(messages, STATUS_DONE, NOTICE_CUT_TEXT, nullptr);
    DWORD blanks = p.last - p.first + 1 - p.count;
    if (gaps && blanks)
        say(messages, STATUS_DONE, GAPS_TEXT, &blanks);
    return say_losses(messages, p, left_out);
}

// The glyphs the font has, and their codes, in one block of its own: what
// BDF and PSF hold, and C of a set. Null for want of memory.
unsigned char *found_glyphs(const Picked &p, Font &f)
{
    DWORD found = 0;
    for (DWORD i = 0; i < p.count; ++i)
        found += (p.state[i] & FOUND) != 0;
    unsigned char *block = static_cast<unsigned char *>(block_alloc(found * (sizeof(DWORD) + p.height) + 1));
    if (!block)
        return nullptr;
    DWORD *codes = reinterpret_cast<DWORD *>(block);
    unsigned char *rows = block + found * sizeof(DWORD);
    DWORD n = 0;
    for (DWORD i = 0; i < p.count; ++i) {
        if (!(p.state[i] & FOUND))
            continue;
        codes[n] = picked_code_at(p, i);
        for (DWORD r = 0; r < p.height; ++r)
            rows[n * p.height + r] = p.rows[i * p.height + r];
        ++n;
    }
    f.row_bytes = rows;
    f.rows = found * p.height;
    f.codes = codes;
    f.first = found ? codes[0] : p.first;
    return block;
}

// The font is read whole and checked, and still held, before the output is
// opened (and so emptied): a malformed font touches nothing, and a font
// that is the output can't be opened as it. BDF and PSF hold the glyphs
// the font has, and so does C for a set (a range's C keeps its blanks, so
// that `font + (c - first) * height` holds); the forms without codes hold
// the set's span, blank where it or the font has none.
int write_picked(Stream *messages, const char *name, Picked &p, bool set)
{
    Font f = {p.rows, p.count * p.height, p.height, p.first, p.descent, p.copyright, p.notice,
              p.foreign[0] && !p.translated ? p.foreign : nullptr, p.codes, p.first, p.last};
    Form form = form_of(name);
    bool only_found = form == FORM_BDF || form == FORM_PSF || form == FORM_LVGL || (set && form_has_codes(form));
    unsigned char *found = only_found ? found_glyphs(p, f) : nullptr;
    if (only_found && !found)
        return STATUS_NO_MEMORY;
    int status;
    const char *why = form_refusal(form, f);
    Stream *out = why ? nullptr : open_argument(messages, name, true, &status);
    if (why)
        status = say(messages, STATUS_NOT_A_FONT, why, nullptr);
    bool written = out && write_form(form, out, f, name);
    if (out && (close_argument(out) != 0 || !written))
        status = say(messages, STATUS_CANT_WRITE_OUTPUT, CANT_WRITE_OUTPUT_TEXT, nullptr);
    else if (out)
        status = say_notes(messages, p, f, form, set && !only_found, only_found);
    if (found)
        block_free(found);
    return status;
}

// The registry's name is the font's text, put as it stands.
int say_not_unicode(Stream *messages, const Picked &p)
{
    Out out;
    out_begin(out, messages);
    put_text(out, "codes are ");
    put_text(out, p.foreign);
    put_text(out, NOT_UNICODE_FILE_TEXT);
    put_byte(out, LINE_FEED);
    out_end(out);
    return STATUS_USAGE;
}

// Every glyph the font has: the input is held in memory (a pipe's too,
// and a gzip stream as it came) and read twice, once to learn the codes it
// has, once for their glyphs.
int read_all(Input &in, Picked &p, Report &report)
{
    unsigned char *bytes, *map = nullptr;
    DWORD size;
    int status = input_hold(in, &bytes, &size, report);
    if (status == STATUS_DONE && !(map = code_map_begin()))
        status = fault(report, STATUS_NO_MEMORY, nullptr);
    for (int pass = 0; pass < 2 && status == STATUS_DONE; ++pass) {
        Input again;
        if (pass == 0)
            picked_begin_census(p, map);
        else if (!picked_begin_set(p, map))
            status = fault(report, STATUS_NO_MEMORY, nullptr);
        if (status == STATUS_DONE && !input_begin_bytes(again, in.name, bytes, size))
            status = fault(report, STATUS_NO_MEMORY, nullptr);
        else if (status == STATUS_DONE)
            status = read_picked(again, p, report);
        input_end(again);
        if (pass == 0)
            picked_end(p);
    }
    if (map)
        block_free(map);
    if (bytes)
        block_free(bytes);
    return status;
}

// The font read into the picked glyphs the codes ask for.
int read_chosen(Input &in, const CodeChoice &choice, Picked &p, Report &report)
{
    if (choice.kind == CODES_ALL)
        return read_all(in, p, report);
    if (choice.kind == CODES_RANGE)
        picked_begin_range(p, choice.first, choice.last);
    else if (!picked_begin_set(p, choice.map))
        return fault(report, STATUS_NO_MEMORY, nullptr);
    return read_picked(in, p, report);
}

int pick(Stream *messages, char **argv, const CodeChoice &choice, Picked &p)
{
    int status;
    Stream *font = open_argument(messages, argv[1], false, &status);
    if (!font)
        return status;
    Input in;
    Report report = report_of(STATUS_DONE, nullptr);
    if (!input_begin(in, argv[1], font))
        status = STATUS_NO_MEMORY;
    else if ((status = read_chosen(in, choice, p, report)) != STATUS_DONE)
        say_report(messages, report);
    input_end(in);
    // A text's characters are Unicode's: a font of another registry's codes
    // has none of them to give.
    if (status == STATUS_DONE && choice.from_file && p.foreign[0] && !p.translated)
        status = say_not_unicode(messages, p);
    // The font is still held while the output is opened: the same file
    // can't be both.
    if (status == STATUS_DONE)
        status = write_picked(messages, argv[2], p, choice.kind != CODES_RANGE);
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
    CodeChoice choice;
    int status = argc < 3 ? static_cast<int>(STATUS_USAGE) : read_codes(messages, argc, argv, choice);
    if (status == STATUS_DONE && !form_known(messages, argv[2]))
        status = STATUS_USAGE;
    if (status == STATUS_USAGE)
        say(messages, STATUS_USAGE, USAGE_TEXT, nullptr);
    Picked p;
    picked_begin_range(p, DEFAULT_FIRST, DEFAULT_LAST);
    if (status == STATUS_DONE)
        status = pick(messages, argv, choice, p);
    if (argc >= 3)
        codes_end(choice);
    picked_end(p);
    return status;
}
