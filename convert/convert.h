// glyphrow's job: a font drawn in text, one row of six cells a line, into a
// font file of one byte a row.
#ifndef GLYPHROW_CONVERT_H
#define GLYPHROW_CONVERT_H

#include "../startup/status.h"

int convert_main(int argc, char **argv);

#endif
