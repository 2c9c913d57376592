// Any source bytes through the conversion over the fake platform; the font
// file must equal what a small model of the row rules, written here apart
// from the product, makes of the same bytes.
#include "../convert/convert.h"
#include "../platform/fake/fake_kernel32.h"
#include "../stream/stream.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// Pieces of at most 11 bytes, each ending after a line feed; a piece that
// begins with a cell is a row of its first six bytes, missing cells blank.
std::string model_font(const std::string &source)
{
    std::string font;
    size_t at = 0;
    while (at < source.size()) {
        size_t end = at;
        while (end < source.size() && end - at < 11) {
            if (source[end++] == '\n')
                break;
        }
        std::string piece = source.substr(at, end - at);
        at = end;
        char first = piece[0];
        if (first != ' ' && first != '*' && first != '.')
            continue;
        int byte = 0;
        for (size_t cell = 0; cell < 6; ++cell)
            if (cell < piece.size() && piece[cell] == '*')
                byte |= 0x20 >> cell;
        font += static_cast<char>(byte);
    }
    return font;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string source(reinterpret_cast<const char *>(data), size);
    fake::reset();
    stdout_stream = Stream{GetStdHandle(STD_OUTPUT_HANDLE), 0, 0};
    fake::put_file("src.txt", source);
    char name[] = "glyphrow", src[] = "src.txt", font[] = "font.bin";
    char *argv[] = {name, src, font, nullptr};
    if (convert_main(3, argv) != STATUS_DONE)
        std::abort();
    if (fake::file("font.bin") != model_font(source) || !fake::standard_output().empty())
        std::abort();
    if (fake::open_handles() != 0 || fake::live_blocks() != 0 || fake::file("src.txt") != source)
        std::abort();
    fake::reset();
    return 0;
}
