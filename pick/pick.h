// glyphpick's job: a range of glyphs out of a BDF, PSF or PCF font, placed
// in cells six wide, written in any of the shared forms.
#ifndef GLYPHROW_PICK_H
#define GLYPHROW_PICK_H

#include "../platform/kernel32.h"

enum : DWORD {
    DEFAULT_FIRST = 0x20,
    DEFAULT_LAST = 0x7E,
};

int pick_main(int argc, char **argv);

#endif
