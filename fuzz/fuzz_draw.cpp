// Any font file, height and first code through glyphdraw over the fake
// platform, and the drawing back through glyphrow's conversion: a font of
// rows (bytes 0 to 63) must come back byte for byte; any other byte must
// end the run with status 7 and leave the drawing as it was. glyphcheck
// must find nothing in a drawing of whole glyphs at the height it was drawn
// at, and a partial last glyph at that height.
#include "../check/check.h"
#include "../convert/convert.h"
#include "../draw/draw.h"
#include "../platform/fake/fake_kernel32.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

int run(int (*tool_main)(int, char **), std::string a1, std::string a2, std::string a3 = "",
        std::string a4 = "")
{
    std::string a0 = "tool";
    char *argv[] = {&a0[0], &a1[0], &a2[0], &a3[0], &a4[0], nullptr};
    int argc = 1;
    while (argc < 5 && argv[argc][0])
        ++argc;
    argv[argc] = nullptr;
    return tool_main(argc, argv);
}

}  // namespace

// Bytes 0 to 3 choose the layout, and whether the font is kept raw or
// masked to rows; the rest is the font.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    fake::reset();
    stdout_stream = Stream{GetStdHandle(STD_OUTPUT_HANDLE), 0, 0};
    unsigned height = 1 + data[0] % 255;
    unsigned first = (data[1] | data[2] << 8 | data[3] << 16) % 0x110000;
    std::string font(reinterpret_cast<const char *>(data + 4), size - 4);
    bool raw = data[3] & 0x80;
    // A font of nothing but cells and line ends, with both, is taken for a
    // drawing given by mistake.
    bool rows = true, cells_alone = true, cell = false, line_end = false;
    for (char &byte : font) {
        if (!raw)
            byte &= 0x3F;
        rows = rows && static_cast<unsigned char>(byte) <= 0x3F;
        bool is_cell = byte == '*' || byte == '.' || byte == ' ';
        cell = cell || is_cell;
        line_end = line_end || byte == '\n';
        cells_alone = cells_alone && (is_cell || byte == '\n' || byte == '\r');
    }
    rows = rows && !(cells_alone && cell && line_end);
    fake::put_file("font.bin", font);
    fake::put_file("drawing.txt", "old");
    int status = run(draw_main, "font.bin", "drawing.txt", std::to_string(height), std::to_string(first));
    check(fake::open_handles() == 0 && fake::live_blocks() == 0 && fake::file("font.bin") == font);
    if (!rows) {
        check(status == STATUS_NOT_A_FONT && fake::file("drawing.txt") == "old");
        return 0;
    }
    check(status == (font.size() % height ? STATUS_PARTIAL_GLYPH : STATUS_DONE));
    check(run(convert_main, "drawing.txt", "again.bin") == STATUS_DONE);
    check(fake::file("again.bin") == font);
    bool whole = font.size() % height == 0;
    check(run(check_main, "drawing.txt", std::to_string(height)) == (whole ? STATUS_DONE : STATUS_FINDINGS));
    check(whole == fake::standard_output().empty());
    check(fake::open_handles() == 0 && fake::live_blocks() == 0);
    fake::reset();
    return 0;
}
