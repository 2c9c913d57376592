#include "pick.h"
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
const char NOT_A_FONT_TEXT[] = "input file is not a BDF or PSF font.";

// What the input is instead of a BDF or PSF, by input_kind, from
// INPUT_ROW_FONT on; null for the fonts it reads.
const char *const OTHER_INPUT_TEXTS[] = {
    "input file is a glyph-row font, not a BDF or PSF font: glyphdraw reads it.",
    "input file is a drawing, not a BDF or PSF font: glyphrow converts it.",
    nullptr,
    nullptr,
    "input file is a PNG image, not a font.",
    "input file is gzip-compressed: unpack it first (zcat).",  // inside a gzip stream
    nullptr,
};

// The range: first to last, last at least first (by default, the larger of
// first and 0x7E).
bool read_arguments(int argc, char **argv, Picked *p)
{
    p->first = DEFAULT_FIRST;
    if (argc < 3 || (argc > 3 && !read_argument("first", argv[3], CODE_NUMBER, 0, MAX_CODE, &p->first)))
        return false;
    p->last = p->first > DEFAULT_LAST ? p->first : DEFAULT_LAST;
    if (argc > 4 && !read_argument("last", argv[4], CODE_NUMBER, 0, MAX_CODE, &p->last))
        return false;
    if (p->last < p->first)
        return say_below_first(argv[4], argv[3]);
    p->count = p->last - p->first + 1;
    return true;
}

// \21 and \22 the first and last code of a run, \3 the cell's height.
const char MISSING_RUN[] = "\21 to \22 are";
const char MISSING_ONE[] = "\21 is";
const char MISSING[] = " not in the font: left blank.\n";
const char INK_CUT[] = "\21 loses ink outside the 6 by \3 cell.\n";

// What the font didn't give as it is, in code order: a line for each run of
// codes it lacks, and one for each glyph whose ink was cut. A font may lack
// thousands of runs: the lines go out a kilobyte at a time.
int say_losses(const Picked &p)
{
    Out out;
    out_begin(out, &stdout_stream);
    if (p.foreign[0] && !p.translated) {
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
            put_format(out, INK_CUT, values);
            status = STATUS_INK_CUT;
        }
    }
    out_end(out);
    return status;
}

// The font is read whole and checked, and still held, before the output is
// opened (and so emptied): a malformed font touches nothing, and a font
// that is the output can't be opened as it.
int write_picked(const char *name, Picked &p, bool from_bdf)
{
    Font f = {p.rows, p.count * p.height, p.height, p.first, p.descent, p.copyright, p.notice,
              p.foreign[0] && !p.translated};
    if (!from_bdf)
        f.descent = baseline_descent(f);
    Form form = form_of(name);
    Stream *out = stream_open(name, "wb");
    if (!out)
        return say(STATUS_CANT_OPEN_OUTPUT, CANT_OPEN_OUTPUT_TEXT, nullptr);
    bool written = write_form(form, out, f, name);
    if (stream_close(out) != 0 || !written)
        return say(STATUS_CANT_WRITE_OUTPUT, CANT_WRITE_OUTPUT_TEXT, nullptr);
    say_form_notes(form, f);
    return say_losses(p);
}

// The reader the input's kind asks for; a gzip stream is inflated first
// and what it holds told by its content in turn, and then read to its end,
// so that a damaged end is never taken for a whole font.
int read_kind(Input &in, Picked &p, InputKind *kind)
{
    if (*kind == INPUT_GZIP && in.end) {
        if (!input_inflate(in))
            return STATUS_NO_MEMORY;
        input_fill(in);
        *kind = input_kind(in.block, in.end);
        if (input_failed(in))
            return STATUS_CANT_READ_INPUT;
    }
    // An empty input is no font of any kind.
    if (in.end && *kind >= INPUT_ROW_FONT && OTHER_INPUT_TEXTS[*kind - INPUT_ROW_FONT])
        return say(STATUS_NOT_A_FONT, OTHER_INPUT_TEXTS[*kind - INPUT_ROW_FONT], nullptr);
    int status = *kind == INPUT_PSF ? read_psf(in, p) : *kind == INPUT_PCF ? read_pcf(in, p) : read_bdf(in, p);
    if (status == STATUS_DONE && in.inflate && !input_skip(in, 0xFFFFFFFFu) && input_failed(in))
        return STATUS_CANT_READ_INPUT;
    return status;
}

int pick(Stream *font, char **argv, Picked &p, unsigned char *block)
{
    Input in = {argv[1], font, block, 0, 0, nullptr};
    input_fill(in);
    InputKind kind = input_kind(in.block, in.end);
    int status = input_failed(in) ? STATUS_CANT_READ_INPUT : read_kind(in, p, &kind);
    if (status == STATUS_CANT_READ_INPUT && in.inflate && in.inflate->damage)
        status = say(STATUS_NOT_A_FONT, in.inflate->damage == GZIP_BOMB ? "" : GZIP_DAMAGED, in.inflate->damage, nullptr);
    input_end(in);
    if (status == NOT_BDF)
        return say(STATUS_NOT_A_FONT, NOT_A_FONT_TEXT, nullptr);
    if (status == STATUS_CANT_READ_INPUT)
        return say(status, CANT_READ_INPUT_TEXT, nullptr);
    // Any other failure was said by the reader; no memory says nothing.
    return status == STATUS_DONE ? write_picked(argv[2], p, kind != INPUT_PSF) : status;
}

}  // namespace

int pick_main(int argc, char **argv)
{
    if (answered_help(argc, argv, "glyphpick", USAGE_TEXT, HELP_TEXT))
        return STATUS_DONE;
    Picked p;
    p.rows = nullptr;
    p.descent = 0;
    p.foreign[0] = 0;
    p.translated = false;
    p.left_out = 0;
    p.copyright = p.notice = nullptr;
    if (!read_arguments(argc, argv, &p) || !form_known(argv[2]))
        return say(STATUS_USAGE, USAGE_TEXT, nullptr);
    Stream *font = stream_open(argv[1], "rb");
    if (!font)
        return say(STATUS_CANT_OPEN_INPUT, CANT_OPEN_INPUT_TEXT, nullptr);
    unsigned char *block = static_cast<unsigned char *>(block_alloc(INPUT_BLOCK_SIZE));
    int status = block ? pick(font, argv, p, block) : STATUS_NO_MEMORY;
    stream_close(font);
    if (block)
        block_free(block);
    picked_end(p);
    return status;
}
