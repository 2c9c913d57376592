// Any font through one of glyphpick's readers (the start of the reader's
// form, PSF's magic where PICK_PSF is defined, PCF's where PICK_PCF is, or
// "STARTFONT", is put before
// the fuzzer's bytes) over the fake platform,
// with a range from the first two bytes (and the font a pipe or a file): no crash, leak or held handle, the
// font never written, a malformed font leaving the output as it was, and a
// picked font of whole glyphs, one per code of the range.
#include "../pick/pick.h"
#include "../readers/readers.h"
#include "../platform/fake/fake_kernel32.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

#ifdef PICK_PSF
const char PICK_MAGIC[] = "\x72\xb5\x4a\x86";
#elif defined(PICK_PCF)
const char PICK_MAGIC[] = "\x01" "fcp";
#else
const char PICK_MAGIC[] = "STARTFONT";
#endif

void check(bool ok)
{
    if (!ok)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    fake::reset();
    stdout_stream = Stream{GetStdHandle(STD_OUTPUT_HANDLE), 0, 0};
    // The second byte's top bit makes the font a pipe, which can't be
    // rewound: the PSF reader then holds the glyphs.
    unsigned first = data[0] * 4, last = first + (data[1] & 0x7F);
    if (data[1] & 0x80)
        fake::fail_call(fake::SET_FILE_POINTER, 1);
    std::string font = std::string(PICK_MAGIC, sizeof PICK_MAGIC - 1) +
                       std::string(reinterpret_cast<const char *>(data + 2), size - 2);
    fake::put_file("font", font);
    fake::put_file("out.bin", "old");
    std::string args[] = {"glyphpick", "font", "out.bin", std::to_string(first), std::to_string(last)};
    char *argv[] = {&args[0][0], &args[1][0], &args[2][0], &args[3][0], &args[4][0], nullptr};
    int status = pick_main(5, argv);
    check(fake::open_handles() == 0 && fake::live_blocks() == 0 && fake::file("font") == font);
    std::string out = fake::file("out.bin"), said = fake::standard_output();
    check(said.empty() || said.substr(said.size() - 2) == "\r\n");
    if (status == STATUS_NOT_A_FONT) {
        check(out == "old" && !said.empty());
    } else {
        unsigned codes = last - first + 1;
        check(status == STATUS_DONE || status == STATUS_INK_CUT);
        check(!out.empty() && out.size() % codes == 0 && out.size() / codes <= 255);
        for (char row : out)
            check((static_cast<unsigned char>(row) & 0xC0) == 0);
    }
    fake::reset();
    return 0;
}
