// Files named on the command line, as every build of the family opens them:
// one that can't be opened is named as typed, with its cause; "-" is
// standard input or output, read and written as bytes; and runs side by
// side may read one input at once.
#include "run_tool.h"
#include "scratch.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::vector<std::string> GLYPHROW = {TOOL_COMMAND};
const std::vector<std::string> DRAW = {DRAW_COMMAND};
const std::vector<std::string> CHECK = {CHECK_COMMAND};
const std::vector<std::string> PICK = {PICK_COMMAND};
const std::vector<std::string> SHOW = {SHOW_COMMAND};

// Two glyphs of one row: a row byte 0x0D among them, which a text stream
// would take for a line end.
const std::string FONT = "\x3f\x0d";
const std::string BDF =
    "STARTFONT 2.1\nFONTBOUNDINGBOX 6 1 0 0\nCHARS 1\nSTARTCHAR A\nENCODING 65\nBBX 6 1 0 0\n"
    "BITMAP\n84\nENDCHAR\nENDFONT\n";

struct Unopened {
    const char *name;
    const std::vector<std::string> *tool;
    std::vector<std::string> args;
    int status;
    std::string said;
};

void lay_out(const Scratch &dir)
{
    write_file(dir.path("font.bin"), FONT);
    write_file(dir.path("src.txt"), "******\n");
    mkdir(dir.path("folder").c_str(), 0700);
}

TEST(Open, AFileThatCantBeOpenedIsNamedWithItsCause)
{
    const std::vector<Unopened> cases = {
        {"missing input", &DRAW, {"none.bin", "out.txt", "1"}, 2, "can't open input file none.bin: no such file."},
        {"input in a missing folder", &CHECK, {"no/src.txt"}, 2, "can't open input file no/src.txt: no such folder."},
        {"a folder as input", &PICK, {"folder", "out.txt"}, 2, "can't open input file folder: a folder."},
        {"output in a missing folder", &DRAW, {"font.bin", "sub/dir/x.bin", "1"}, 3,
         "can't open output file sub/dir/x.bin: no such folder."},
        {"a folder as output", &DRAW, {"font.bin", "folder", "1"}, 3, "can't open output file folder: a folder."},
        {"an output nobody may make", &DRAW, {"font.bin", "/sys/x.txt", "1"}, 3,
         "can't open output file /sys/x.txt: no permission."},
        {"output is the input", &DRAW, {"font.bin", "font.bin", "1"}, 3, "can't open output file font.bin: in use."},
        {"glyphshow's output in a missing folder", &SHOW, {"font.bin", "A", "no/x.png", "1"}, 3,
         "can't open output file no/x.png: no such folder."},
        // glyphrow keeps its own texts.
        {"glyphrow's missing input", &GLYPHROW, {"none.txt", "out.bin"}, 2, "can't open input file."},
        {"glyphrow's output in a missing folder", &GLYPHROW, {"src.txt", "no/out.bin"}, 3, "can't open output file."},
    };
    for (const Unopened &c : cases) {
        SCOPED_TRACE(c.name);
        Scratch dir;
        lay_out(dir);
        ToolRun r = run_tool(*c.tool, c.args, dir.root(), Output::captured, 0, dir.path("font.bin"));
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.output + r.errors, c.said + LINE_END);
        EXPECT_EQ(read_file(dir.path("font.bin")), FONT);
    }
}

struct Standard {
    const char *name;
    const std::vector<std::string> *tool;
    std::vector<std::string> args;
    std::string input;
    int status;
    std::string output;     // standard output
    std::string file;       // out.txt afterwards, if made
};

TEST(Open, DashIsStandardInputOrOutputAsBytes)
{
    const std::vector<Standard> cases = {
        {"a drawing to standard output", &DRAW, {"font.bin", "-", "1", "0x41"}, "", 0,
         "U+0041 A\n******\nU+0042 B\n..**.*\n", ""},
        {"a font from standard input, bytes as they are", &DRAW, {"-", "out.txt", "1", "0x41"}, FONT, 0, "",
         "U+0041 A\n******\nU+0042 B\n..**.*\n"},
        {"both", &DRAW, {"-", "-", "2"}, FONT, 0, "U+0020\n******\n..**.*\n", ""},
        {"glyphpick to standard output", &PICK, {"font.bdf", "-", "0x41", "0x41"}, "", 0, "U+0041 A\n*....*\n", ""},
        {"glyphpick from standard input", &PICK, {"-", "out.txt", "0x41", "0x41"}, BDF, 0, "", "U+0041 A\n*....*\n"},
        {"glyphcheck of standard input", &CHECK, {"-"}, "******\n**\n", 7, "-:2: a row has only 2 of its 6 cells; glyphrow reads the missing ones as blank." LINE_END, ""},
    };
    for (const Standard &c : cases) {
        SCOPED_TRACE(c.name);
        Scratch dir;
        lay_out(dir);
        write_file(dir.path("font.bdf"), BDF);
        write_file(dir.path("in"), c.input);
        ToolRun r = run_tool(*c.tool, c.args, dir.root(), Output::captured, 0, dir.path("in"));
        EXPECT_EQ(r.status, c.status) << r.errors;
        EXPECT_EQ(r.output, c.output);
        EXPECT_EQ(read_file(dir.path("out.txt")), c.file);
        EXPECT_FALSE(file_exists(dir.path("-")));
    }
}

// As make -j starts them: twelve runs at once, each of the three tools
// that read a drawing or a font, on one input.
TEST(Open, RunsSideBySideReadOneInput)
{
    Scratch dir;
    lay_out(dir);
    std::vector<pid_t> runs;
    for (int i = 0; i < 12; ++i) {
        pid_t pid = fork();
        if (pid == 0) {
            std::string n = std::to_string(i);
            ToolRun r = i % 3 == 0   ? run_tool(GLYPHROW, {"src.txt", "row" + n + ".bin"}, dir.root())
                        : i % 3 == 1 ? run_tool(CHECK, {"src.txt"}, dir.root())
                                     : run_tool(DRAW, {"font.bin", "draw" + n + ".txt", "1"}, dir.root());
            _exit(r.status);
        }
        runs.push_back(pid);
    }
    for (pid_t pid : runs) {
        int wstatus = 0;
        waitpid(pid, &wstatus, 0);
        EXPECT_TRUE(WIFEXITED(wstatus) && WEXITSTATUS(wstatus) == 0);
    }
    EXPECT_EQ(read_file(dir.path("row0.bin")), "\x3f");
}

}  // namespace
