// Exit statuses and messages that every tool of the family gives alike.
// A tool adds its own after STATUS_NO_MEMORY.
#ifndef GLYPHROW_STATUS_H
#define GLYPHROW_STATUS_H

enum : int {
    STATUS_DONE = 0,
    STATUS_USAGE = 1,
    STATUS_CANT_OPEN_INPUT = 2,
    STATUS_CANT_OPEN_OUTPUT = 3,
    STATUS_CANT_WRITE_OUTPUT = 4,
    STATUS_CANT_READ_INPUT = 5,
    STATUS_NO_MEMORY = 6,  // start-up couldn't get memory; nothing was done
};

inline constexpr char CANT_OPEN_INPUT_TEXT[] = "can't open input file.";
inline constexpr char CANT_OPEN_OUTPUT_TEXT[] = "can't open output file.";
inline constexpr char CANT_WRITE_OUTPUT_TEXT[] = "can't write output file.";
inline constexpr char CANT_READ_INPUT_TEXT[] = "can't read input file.";

// Says the text as a line on standard output and gives the status back.
int report(const char *text, int status);

#endif
