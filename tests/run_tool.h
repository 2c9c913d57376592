// Runs the glyphrow tool as a process, in a folder of the test's, and hands
// back its exit status and every byte it wrote to standard output.
#ifndef GLYPHROW_TESTS_RUN_TOOL_H
#define GLYPHROW_TESTS_RUN_TOOL_H

#include <string>
#include <vector>

// A message line's end as the tool under test writes it: CR LF from an exe
// (Windows' text mode), a line feed alone from a native tool.
#ifdef EXE_LINE_ENDS
#define LINE_END "\r\n"
#else
#define LINE_END "\n"
#endif

// The exe's messages with their CR LF made line feeds, to compare with the
// native tool's.
std::string native_line_ends(std::string text);

enum class Output { captured, closed, reader_gone };

struct ToolRun {
    int status = -1;  // the exit status, or -1 when the process didn't exit
    std::string output;
    std::string errors;  // standard error, where an input file was given
};

// command: the runner's words (e.g. "wine") followed by the tool's path.
// file_size_limit: bytes that a file the tool writes may reach (0: no limit).
// input: a file that is standard input (else /dev/null); with one, standard
// error is caught in errors too.
ToolRun run_tool(const std::vector<std::string> &command, const std::vector<std::string> &args,
             const std::string &folder, Output output = Output::captured, long file_size_limit = 0,
             const std::string &input = "");

#endif
