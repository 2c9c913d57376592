// Any text through glyphshow over the fake platform, drawn in a glyph-row
// font of 95 glyphs from U+0020 whose every row is inked at cell 1: no
// crash, leak or held handle; a drawing of one line a row of cells, as many
// rows as the text has lines times the height; a character the font lacks
// said once, on standard error, the drawing untouched by it.
#include "../show/show.h"
#include "../platform/fake/fake_kernel32.h"
#include "../stream/stream.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string text(reinterpret_cast<const char *>(data), size);
    if (text.empty() || text.find('\0') != std::string::npos)
        return 0;
    fake::reset();
    stdout_stream = Stream{GetStdHandle(STD_OUTPUT_HANDLE), 0, 0};
    stderr_stream = Stream{GetStdHandle(STD_ERROR_HANDLE), 0, 0};
    const unsigned height = 2;
    fake::put_file("font.bin", std::string(95 * height, '\x20'));
    std::string args[] = {"glyphshow", "font.bin", text, "out.txt", std::to_string(height)};
    char *argv[] = {&args[0][0], &args[1][0], &args[2][0], &args[3][0], &args[4][0], nullptr};
    int status = show_main(5, argv);
    check(fake::open_handles() == 0 && fake::live_blocks() == 0);
    check(status == 0);
    std::string drawing = fake::file("out.txt");
    size_t lines = 1;
    for (size_t i = 0; i < text.size(); ++i)
        lines += (text[i] == '\n' || (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n' && ++i)) &&
                 i + 1 < text.size();
    size_t rows = 0;
    for (char c : drawing) {
        rows += c == '\n';
        check(c == '\n' || c == '#' || c == ' ');
    }
    check(rows == lines * height);
    check(fake::standard_output().empty());  // the messages go to standard error
    fake::reset();
    return 0;
}
