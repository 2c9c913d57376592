// glyphdraw.exe (under Wine or emulated) writes the same bytes as the
// native glyphdraw, in every form, for fonts of every row and several
// layouts.
#include "run_tool.h"
#include "scratch.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

const std::vector<std::string> DRAW = {DRAW_COMMAND};
const std::vector<std::string> NATIVE_DRAW = {NATIVE_DRAW_COMMAND};
// The status of a form that cannot hold the font: nothing is written.
constexpr int REFUSED_STATUS = 7;

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
        for (const char *drawing : {"drawing.txt", "sheet.png", "font.bdf", "font.psf", "font.h", "font.c", "font.gfx.h",
                                    "font.cols.h", "font.cols.c", "font.lvgl.c"}) {
            SCOPED_TRACE(std::string(drawing) + (layout.empty() ? "" : " " + layout[0]));
            std::vector<std::string> args = {"font.bin", drawing};
            args.insert(args.end(), layout.begin(), layout.end());
            // Each run starts with no file, so a refusal (a layout the
            // display forms cannot hold) is seen to write nothing.
            std::remove(dir.path(drawing).c_str());
            ToolRun exe = run_tool(DRAW, args, dir.root());
            std::string exe_bytes = read_file(dir.path(drawing));
            std::remove(dir.path(drawing).c_str());
            ToolRun native = run_tool(NATIVE_DRAW, args, dir.root());
            EXPECT_EQ(exe.status, native.status);
            EXPECT_EQ(native_line_ends(exe.output), native.output);
            EXPECT_EQ(exe_bytes.empty(), native.status == REFUSED_STATUS);
            EXPECT_EQ(exe_bytes, read_file(dir.path(drawing)));
        }
    }
}

}  // namespace

namespace {

const std::vector<std::string> PICK = {PICK_COMMAND};
const std::vector<std::string> NATIVE_PICK = {NATIVE_PICK_COMMAND};

// glyphpick.exe and the native tool on the same arguments: the same status,
// the same messages (after the exe's CR LF), the same bytes written.
void expect_pick_alike(const Scratch &dir, const std::vector<std::string> &args)
{
    const std::string &out = args[1];
    ToolRun exe = run_tool(PICK, args, dir.root());
    std::string exe_bytes = read_file(dir.path(out));
    ToolRun native = run_tool(NATIVE_PICK, args, dir.root());
    EXPECT_EQ(exe.status, native.status);
    EXPECT_EQ(native_line_ends(exe.output), native.output);
    EXPECT_FALSE(exe_bytes.empty());
    EXPECT_EQ(exe_bytes, read_file(dir.path(out)));
}

// glyphpick.exe picks from a BDF and a PSF into every form what the native
// glyphpick does, losses said alike.
TEST(PickBuilds, ExeWritesWhatTheNativeToolWrites)
{
    Scratch dir;
    write_file(dir.path("font.bin"), read_file(SAMPLE_DIR "/sample-font.bin"));
    ASSERT_EQ(run_tool(NATIVE_DRAW, {"font.bin", "font.bdf"}, dir.root()).status, 0);
    ASSERT_EQ(run_tool(NATIVE_DRAW, {"font.bin", "font.psf"}, dir.root()).status, 0);
    for (const char *source : {"font.bdf", "font.psf"}) {
        for (const char *out : {"out.txt", "out.png", "out.bdf", "out.psf", "out.h", "out.c", "out.bin", "out.gfx.h",
                                "out.cols.h", "out.cols.c", "out.lvgl.c"}) {
            SCOPED_TRACE(std::string(source) + " to " + out);
            expect_pick_alike(dir, {source, out, "0x10", "0x50"});
        }
    }
    // A set, in the forms it changes.
    for (const char *out : {"set.bdf", "set.h", "set.txt", "set.cols.c", "set.lvgl.c"}) {
        SCOPED_TRACE(std::string("a set to ") + out);
        expect_pick_alike(dir, {"font.bdf", out, "0x41-0x43,0x30,0x50"});
    }
}

// Fonts as Debian ships them, gzip-compressed, a console PSF and an X11 PCF:
// glyphpick.exe inflates and reads them to the native tool's bytes.
TEST(PickBuilds, ExeReadsCompressedPsfAndPcfAsTheNativeToolDoes)
{
    Scratch dir;
    for (const char *source : {CONSOLE_FONTS "/Lat15-Terminus12x6.psf.gz", X11_FONTS "/6x13-ISO8859-2.pcf.gz"}) {
        for (const char *out : {"out.bin", "out.bdf"}) {
            SCOPED_TRACE(std::string(source) + " to " + out);
            expect_pick_alike(dir, {source, out, "0x20", "0x17F"});
        }
    }
}

}  // namespace
