#include "readers.h"
#include "../forms/forms.h"

namespace {

// What the input is instead of a BDF, PSF or PCF, by input_kind, from
// INPUT_ROW_FONT on; null for the fonts it reads.
const char *const OTHER_INPUT_TEXTS[] = {
    "input file is a glyph-row font, not a BDF, PSF or PCF font: glyphdraw reads it.",
    "input file is a drawing, not a BDF, PSF or PCF font: glyphrow converts it.",
    nullptr,
    nullptr,
    "input file is a PNG image, not a font.",
    "input file is gzip-compressed: unpack it first (zcat).",  // inside a gzip stream
    nullptr,
};
static_assert(sizeof OTHER_INPUT_TEXTS / sizeof OTHER_INPUT_TEXTS[0] == INPUT_PCF - INPUT_ROW_FONT + 1,
              "a text, or none, for each kind of input from INPUT_ROW_FONT on");

// The reader the input's kind asks for; a BDF's is also the one that says
// an input is no font at all.
int read_kind(Input &in, Picked &p, Report &report, InputKind kind)
{
    if (kind == INPUT_PSF)
        return read_psf(in, p, report);
    return kind == INPUT_PCF ? read_pcf(in, p, report) : read_bdf(in, p, report);
}

// A gzip stream is inflated first and what it holds told by its content
// in turn; then it is read to its end, so that a damaged end is never
// taken for a whole font.
int read_input(Input &in, Picked &p, Report &report)
{
    InputKind kind = input_kind(in.block, in.end);
    if (kind == INPUT_GZIP && in.end) {
        if (!input_inflate(in))
            return fault(report, STATUS_NO_MEMORY, nullptr);
        input_fill(in);
        kind = input_kind(in.block, in.end);
        if (input_failed(in))
            return STATUS_CANT_READ_INPUT;
    }
    // An empty input is no font of any kind.
    if (in.end && kind >= INPUT_ROW_FONT && OTHER_INPUT_TEXTS[kind - INPUT_ROW_FONT])
        return fault(report, STATUS_NOT_A_FONT, OTHER_INPUT_TEXTS[kind - INPUT_ROW_FONT]);
    int status = read_kind(in, p, report, kind);
    if (status == STATUS_DONE && in.inflate && !input_skip(in, 0xFFFFFFFFu) && input_failed(in))
        return STATUS_CANT_READ_INPUT;
    return status;
}

}  // namespace

int read_picked(Input &in, Picked &p, Report &report)
{
    int status = input_failed(in) ? static_cast<int>(STATUS_CANT_READ_INPUT) : read_input(in, p, report);
    if (status != STATUS_CANT_READ_INPUT)
        return status;
    // A damaged gzip stream ends the input early: what is wrong with it is
    // what is said, not that reading failed.
    report = report_of(STATUS_DONE, nullptr);
    if (in.inflate && in.inflate->damage)
        return fault(report, STATUS_NOT_A_FONT, in.inflate->damage, in.inflate->damage == GZIP_BOMB ? nullptr : GZIP_DAMAGED);
    return fault(report, STATUS_CANT_READ_INPUT, CANT_READ_INPUT_TEXT);
}
