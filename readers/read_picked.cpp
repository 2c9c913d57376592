#include "readers.h"
#include "../forms/forms.h"

namespace {

const char NOT_A_FONT_TEXT[] = "input file is not a BDF, PSF or PCF font.";

// What the input is instead of a BDF or PSF, by input_kind, from
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

}  // namespace

void input_begin(Input &in, const char *name, Stream *stream, unsigned char *block)
{
    in = {name, stream, block, 0, 0, nullptr};
    input_fill(in);
}

int read_picked(Input &in, Picked &p, bool *psf)
{
    InputKind kind = input_kind(in.block, in.end);
    int status = input_failed(in) ? STATUS_CANT_READ_INPUT : read_kind(in, p, &kind);
    if (status == STATUS_CANT_READ_INPUT && in.inflate && in.inflate->damage)
        status = say(STATUS_NOT_A_FONT, in.inflate->damage == GZIP_BOMB ? "" : GZIP_DAMAGED, in.inflate->damage, nullptr);
    input_end(in);
    *psf = kind == INPUT_PSF;
    if (status == NOT_BDF)
        return say(STATUS_NOT_A_FONT, NOT_A_FONT_TEXT, nullptr);
    if (status == STATUS_CANT_READ_INPUT)
        return say(status, CANT_READ_INPUT_TEXT, nullptr);
    return status;  // any other failure was said by the reader; no memory says nothing
}
