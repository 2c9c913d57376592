// A program compiled over a generated C file and run: how the tests read an
// output as its user's compiler and code do. Each prints a line a glyph,
// its code in hex, then its rows ("41 00 1c 22 ..."), which `rows_line`
// writes from a font's own rows for the comparison.
#ifndef GLYPHROW_TESTS_COMPILED_H
#define GLYPHROW_TESTS_COMPILED_H

#include "scratch.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// C as C99, C++ as C++17: the languages each C form is compiled in.
inline const std::vector<std::string> &c_and_cxx()
{
    static const std::vector<std::string> compilers = {std::string(C_COMPILER) + " -std=c99",
                                                       std::string(CXX_COMPILER) + " -x c++ -std=c++17"};
    return compilers;
}

// use.c holds the program; its output lands in "drawn". 0 when both the
// compiler and the program succeed.
inline int compile_run(const Scratch &dir, const std::string &compiler, const std::string &flags,
                       const std::string &program)
{
    write_file(dir.path("use.c"), program);
    return std::system((compiler + " -Wall -Wextra -Werror" + flags + " -I'" + dir.root() + "' '" + dir.path("use.c") +
                        "' -o '" + dir.path("use") + "' && '" + dir.path("use") + "' > '" + dir.path("drawn") + "'")
                           .c_str());
}

inline std::string rows_line(uint32_t code, const std::string &rows)
{
    char text[16];
    std::snprintf(text, sizeof text, "%x", code);
    std::string line = text;
    for (char row : rows) {
        std::snprintf(text, sizeof text, " %02x", static_cast<unsigned char>(row));
        line += text;
    }
    return line + "\n";
}

#endif
