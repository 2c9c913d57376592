// glyphdraw.exe (under Wine or emulated) writes the same bytes as the
// native glyphdraw, in every form, for fonts of every row and several
// layouts.
#include "run_tool.h"
#include "scratch.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> DRAW = {DRAW_COMMAND};
const std::vector<std::string> NATIVE_DRAW = {NATIVE_DRAW_COMMAND};

TEST(DrawBuilds, ExeWritesWhatTheNativeToolWrites)
{
    std::string rows;
    for (int byte = 0; byte < 64; ++byte)
        rows += static_cast<char>(byte);
    const std::vector<std::vector<std::string>> layouts = {
        {}, {"1", "0"}, {"7", "0x7e"}, {"255", "1114111"}};
    Scratch dir;
    write_file(dir.path("font.bin"), rows + rows + rows);
    for (const auto &layout : layouts) {
        for (const char *drawing : {"drawing.txt", "sheet.png", "font.bdf", "font.psf", "font.h", "font.c"}) {
            SCOPED_TRACE(std::string(drawing) + (layout.empty() ? "" : " " + layout[0]));
            std::vector<std::string> args = {"font.bin", drawing};
            args.insert(args.end(), layout.begin(), layout.end());
            ToolRun exe = run_tool(DRAW, args, dir.root());
            std::string exe_bytes = read_file(dir.path(drawing));
            ToolRun native = run_tool(NATIVE_DRAW, args, dir.root());
            EXPECT_EQ(exe.status, native.status);
            EXPECT_EQ(exe.output, native.output);
            EXPECT_FALSE(exe_bytes.empty());
            EXPECT_EQ(exe_bytes, read_file(dir.path(drawing)));
        }
    }
}

}  // namespace
