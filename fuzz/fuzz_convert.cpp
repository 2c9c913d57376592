// Any source bytes through the conversion over the fake platform; the font
// file must equal what a small model of the row rules, written here apart
// from the product, makes of the same bytes, or, for another tool's input,
// never be made.
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

// Another tool's input, as its first 512 bytes show it: a format's mark,
// or row bytes alone with fewer than half cells or line ends and a control
// byte no text holds.
bool model_foreign(const std::string &source)
{
    std::string first = source.substr(0, 512);
    for (const std::string mark : {std::string("STARTFONT"), std::string("\x36\x04"), std::string("\x72\xb5\x4a\x86"),
                                   std::string("\x01" "fcp"), std::string("\x1f\x8b"), std::string("\x89PNG\r\n\x1a\n")})
        if (first.compare(0, mark.size(), mark) == 0)
            return true;
    size_t texty = 0;
    bool control = false;
    for (unsigned char c : first) {
        if (c >= 0x40)
            return false;
        texty += c == ' ' || c == '*' || c == '.' || c == '\n' || c == '\r';
        control = control || (c < 0x20 && c != '\t' && c != '\n' && c != '\r');
    }
    return control && 2 * texty < first.size();
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
    int status = convert_main(3, argv);
    if (model_foreign(source)) {
        // Refused with one line, the font file never made.
        std::string said = fake::standard_output();
        if (status != 7 || fake::has_file("font.bin") || said.find("not a drawing") == std::string::npos ||
            said.find('\n') != said.size() - 1)
            std::abort();
    } else if (status != STATUS_DONE || fake::file("font.bin") != model_font(source) ||
               !fake::standard_output().empty()) {
        std::abort();
    }
    if (fake::open_handles() != 0 || fake::live_blocks() != 0 || fake::file("src.txt") != source)
        std::abort();
    fake::reset();
    return 0;
}
