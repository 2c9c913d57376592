// glyphpick's job: a range of glyphs out of a BDF, PSF or PCF font, placed
// in cells six wide, written in any of the shared forms.
#ifndef GLYPHROW_PICK_H
#define GLYPHROW_PICK_H

#include "../platform/kernel32.h"
#include "../startup/status.h"

enum : DWORD {
    DEFAULT_FIRST = 0x20,
    DEFAULT_LAST = 0x7E,
};

int pick_main(int argc, char **argv);

// The codes asked for, after the output: `first [last]` (a range, as ever);
// one argument of items parted by commas, each a code or a range `A-B`;
// `@FILE`, the characters of a text file; or `all`, every glyph the font
// has. A set is a map of the codes, a bit a code.
enum CodeChoiceKind { CODES_RANGE, CODES_SET, CODES_ALL };
struct CodeChoice {
    CodeChoiceKind kind;
    DWORD first, last;   // a range's
    unsigned char *map;  // a set's, owned; or null
    bool from_file;      // the set is a text's characters
};
struct Stream;
// STATUS_DONE, or the status that ends the run, said on the stream: a
// wrong set is a usage error naming the argument as typed (the usage line
// follows), a file that can't be opened or read is status 2 or 5.
int read_codes(Stream *messages, int argc, char **argv, CodeChoice &choice);
void codes_end(CodeChoice &choice);

#endif
