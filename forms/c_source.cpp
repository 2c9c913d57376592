#include "forms.h"
#include "../rows/row.h"

namespace {

const char LOWER_HEX[] = "0123456789abcdef";
const char NAME_PREFIX[] = "font_";
enum : DWORD {
    C_NAME_KEEP = 255,                        // NAME_MAX: no file's name is longer
    C_NAME_SIZE = C_NAME_KEEP + 5 + 1 + 1,    // with "font_", a "_" after and the terminator
};
// Texts around the C name, in pieces (see put_named). \1 is the glyph
// count, \2 the height, \3 the first code. A source file declares the array extern first, so that C++
// gives it external linkage too (a const object would otherwise be
// internal).
const char HEADER_OPENING[] = "static const unsigned char \0[\1 * \2";
const char SOURCE_OPENING[] = "extern const unsigned char \0[];\nconst unsigned char \0[\1 * \2";
const char CLOSING[] = "};\nenum { \0_height = \2, \0_first = \3, \0_count = \1 };\n";
// A set whose codes are not one run gives them in an array of their own:
// glyph i's rows are at NAME + i * NAME_height, its code NAME_codes[i].
const char CODES_HEADER[] = "};\nstatic const unsigned long \0_codes[\1] = {\n";
const char CODES_SOURCE[] = "};\nextern const unsigned long \0_codes[];\nconst unsigned long \0_codes[\1] = {\n";
const char SET_CLOSING[] = "};\nenum { \0_height = \2, \0_count = \1 };\n";

bool is_letter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

// Names no compiler takes for an array: the keywords of C (C99 to C23) and
// of C++ (to C++20, its alternative tokens among them), `main`, and the
// names GNU's dialects define as macros. One after another, each ended by a
// zero byte.
const char TAKEN_NAMES[] =
    "alignas\0alignof\0and\0and_eq\0asm\0auto\0bitand\0bitor\0bool\0break\0case\0catch\0char\0"
    "char8_t\0char16_t\0char32_t\0class\0compl\0concept\0const\0consteval\0constexpr\0constinit\0"
    "const_cast\0continue\0co_await\0co_return\0co_yield\0decltype\0default\0delete\0do\0double\0"
    "dynamic_cast\0else\0enum\0explicit\0export\0extern\0false\0float\0for\0friend\0goto\0if\0"
    "inline\0int\0long\0mutable\0namespace\0new\0noexcept\0not\0not_eq\0nullptr\0operator\0or\0"
    "or_eq\0private\0protected\0public\0register\0reinterpret_cast\0requires\0restrict\0return\0"
    "short\0signed\0sizeof\0static\0static_assert\0static_cast\0struct\0switch\0template\0this\0"
    "thread_local\0throw\0true\0try\0typedef\0typeid\0typename\0typeof\0typeof_unqual\0union\0"
    "unsigned\0using\0virtual\0void\0volatile\0wchar_t\0while\0xor\0xor_eq\0_Alignas\0_Alignof\0"
    "_Atomic\0_BitInt\0_Bool\0_Complex\0_Decimal128\0_Decimal32\0_Decimal64\0_Generic\0_Imaginary\0"
    "_Noreturn\0_Static_assert\0_Thread_local\0main\0linux\0unix\0i386\0";

char c_character(char c)
{
    return is_letter(c) || is_digit(c) ? c : '_';
}

bool is_taken(const char *name)
{
    for (const char *taken = TAKEN_NAMES; *taken; taken += text_length(taken) + 1)
        if (text_same(name, taken))
            return true;
    return false;
}

// The output's base name as a C name that no compiler reserves: what a
// name can't hold becomes "_", leading ones are dropped and runs made one
// (a name that begins with "_" or holds "__" is the implementation's); one
// that then begins with a digit, or is empty, gets "font_" before it, and
// a taken one a "_" after it. A file's name is at most NAME_MAX bytes: a
// longer one is cut there.
DWORD c_name(const char *name, char *to)
{
    const char *start, *end;
    base_name(name, &start, &end);
    if (const char *compound = compound_suffix(name))
        end = compound;  // "font.gfx.h" names "font"
    if (end - start > static_cast<int>(C_NAME_KEEP))
        end = start + C_NAME_KEEP;
    while (start < end && c_character(*start) == '_')
        ++start;
    DWORD n = 0;
    if (start == end || is_digit(*start))
        for (const char *p = NAME_PREFIX; *p; ++p)
            to[n++] = *p;
    for (const char *p = start; p < end; ++p)
        if (n == 0 || c_character(*p) != '_' || to[n - 1] != '_')
            to[n++] = c_character(*p);
    to[n] = 0;
    if (is_taken(to))
        to[n++] = '_';
    to[n] = 0;
    return n;
}

}  // namespace

void put_c_name(Out &out, const char *name)
{
    char text[C_NAME_SIZE];
    put_bytes(out, text, c_name(name, text));
}

// The C name as the names made from it begin ("default_" and "_height"
// join as "default_height"): its last "_" left off.
void put_c_stem(Out &out, const char *name)
{
    char text[C_NAME_SIZE];
    DWORD n = c_name(name, text);
    put_bytes(out, text, n - (text[n - 1] == '_'));
}

namespace {

// "    0x0e, /* ..***. */": the byte, and a drawing of it.
void put_row(Out &out, int byte)
{
    char line[] = "    0x00, /* ...... */\n";
    line[6] = LOWER_HEX[byte >> 4];
    line[7] = LOWER_HEX[byte & 15];
    draw_row(byte, line + 13);
    put_bytes(out, line, sizeof line - 1);
}

}  // namespace

// A maker's notice as a comment of its own line: a "/*" or "*/" in it
// parted by a space, so that it neither nests nor ends the comment early.
void put_c_notice(Out &out, const char *value)
{
    if (!value)
        return;
    char text[NOTICE_SIZE];
    unquote(value, text);
    put_text(out, "/* ");
    char before = 0;
    for (const char *p = text; *p; before = *p++) {
        if ((before == '/' && *p == '*') || (before == '*' && *p == '/'))
            put_byte(out, ' ');
        put_byte(out, static_cast<unsigned char>(*p));
    }
    put_text(out, " */\n");
}

void put_c_label(Out &out, DWORD code, bool foreign)
{
    char label[LABEL_SIZE];
    put_text(out, "    /* ");
    put_bytes(out, label, static_cast<DWORD>(make_label(label, code, foreign) - label));
    put_text(out, " */\n");
}

namespace {


// The font file's bytes as a C array (the whole glyphs that have codes), a comment with its label before each
// glyph and one drawing each row, and its measures in an enum (constants
// that C can size arrays with). A header is for the one file that includes
// it; a source file is compiled on its own. C has no empty arrays: a font
// without glyphs holds one zero byte.
void put_codes(Out &out, const Font &font, const char *name, bool header, const DWORD *values)
{
    put_code_list(out, font, name, header, values[0]);
    put_named(out, SET_CLOSING, 2, values, put_c_stem, name);
}

void write_c(Out &out, const Font &font, const char *name, bool header)
{
    DWORD glyphs = coded_glyphs(font);
    const DWORD values[] = {glyphs, font.height, glyphs ? code_of(font, 0) : font.first};
    put_c_notice(out, font.copyright);
    put_c_notice(out, font.notice);
    put_named(out, header ? HEADER_OPENING : SOURCE_OPENING, header ? 1 : 2, values, put_c_name, name);
    put_text(out, glyphs ? "] = {\n" : " + 1] = {\n    0 /* no glyphs */\n");
    for (DWORD i = 0; i < glyphs * font.height; ++i) {
        if (i % font.height == 0)
            put_c_label(out, code_of(font, i / font.height), font.registry);
        put_row(out, font.row_bytes[i]);
    }
    if (codes_one_run(font, glyphs))
        put_named(out, CLOSING, 3, values, put_c_stem, name);
    else
        put_codes(out, font, name, header, values);
}

}  // namespace

bool codes_one_run(const Font &font, DWORD glyphs)
{
    return !font.codes || !glyphs || font.codes[glyphs - 1] - font.codes[0] == glyphs - 1;
}

void put_code_list(Out &out, const Font &font, const char *name, bool header, DWORD glyphs)
{
    put_named(out, header ? CODES_HEADER : CODES_SOURCE, header ? 1 : 2, &glyphs, put_c_stem, name);
    for (DWORD g = 0; g < glyphs; ++g) {
        put_text(out, "    0x");
        put_number(out, font.codes[g], HEX, 2);
        put_text(out, ",\n");
    }
}

void write_c_header(Out &out, const Font &font, const char *name)
{
    write_c(out, font, name, true);
}

void write_c_source(Out &out, const Font &font, const char *name)
{
    write_c(out, font, name, false);
}
