#include "pick.h"
#include "../forms/forms.h"
#include "../platform/block.h"
#include "../readers/readers.h"
#include "../startup/startup.h"

namespace {

const char ALL_WORD[] = "all";
const char NOT_A_SET_TEXT[] = " is not a code, a range A-B, a list of them parted by commas, @file or all.\n";
const char NO_CHARACTER_TEXT[] = " holds no character.\n";
const unsigned char BYTE_ORDER_MARK[] = {0xEF, 0xBB, 0xBF};

// `codes: "0x20-"` and why: the argument as typed, never as a format.
int say_wrong(Stream *messages, const char *typed, const char *why)
{
    Out out;
    out_begin(out, messages);
    put_text(out, "codes: \"");
    put_text(out, typed);
    put_byte(out, '"');
    put_text(out, why);
    out_end(out);
    return STATUS_USAGE;
}

// One code of an item, from `from` to `to` (not ended by a zero byte).
bool item_code(const char *from, const char *to, DWORD *code)
{
    char text[16];
    if (to - from < 1 || to - from >= static_cast<int>(sizeof text))
        return false;
    for (int i = 0; i < to - from; ++i)
        text[i] = from[i];
    text[to - from] = 0;
    return parse_number(text, true, 0, MAX_CODE, code);
}

// An item, a code or A-B, into the map.
bool add_item(unsigned char *map, const char *from, const char *to)
{
    const char *dash = from;
    while (dash < to && *dash != '-')
        ++dash;
    DWORD first, last;
    if (!item_code(from, dash, &first))
        return false;
    last = first;
    if (dash < to && !item_code(dash + 1, to, &last))
        return false;
    if (last < first)
        return false;
    for (DWORD code = first; code <= last; ++code)
        code_map_set(map, code);
    return true;
}

bool add_items(unsigned char *map, const char *text)
{
    const char *from = text;
    for (const char *at = text;; ++at) {
        if (*at && *at != ',')
            continue;
        if (!add_item(map, from, at))
            return false;
        if (!*at)
            return true;
        from = at + 1;
    }
}

// A text's characters, each once: line feeds, carriage returns and a
// leading byte order mark are no character of it.
DWORD add_text(unsigned char *map, const unsigned char *bytes, DWORD size)
{
    const unsigned char *at = bytes, *end = bytes + size;
    if (size >= sizeof BYTE_ORDER_MARK && at[0] == BYTE_ORDER_MARK[0] && at[1] == BYTE_ORDER_MARK[1] &&
        at[2] == BYTE_ORDER_MARK[2])
        at += sizeof BYTE_ORDER_MARK;
    DWORD characters = 0;
    while (at < end) {
        DWORD code = next_text_code(at, end);
        if (code == LINE_FEED || code == CARRIAGE_RETURN)
            continue;
        code_map_set(map, code);
        ++characters;
    }
    return characters;
}

int read_file_codes(Stream *messages, const char *typed, unsigned char *map)
{
    int status;
    Stream *file = open_argument(messages, typed + 1, false, &status);
    if (!file)
        return status;
    unsigned char *bytes;
    DWORD size;
    Report report = report_of(STATUS_DONE, nullptr);
    status = read_font(file, &bytes, &size, report);
    close_argument(file);
    if (status == STATUS_DONE && !add_text(map, bytes, size))
        status = say_wrong(messages, typed, NO_CHARACTER_TEXT);
    say_report(messages, report);
    if (bytes)
        block_free(bytes);
    return status;
}

bool is_set(const char *text)
{
    for (; *text; ++text)
        if (*text == ',' || *text == '-')
            return true;
    return false;
}

// A single code, or first and last, as ever.
int read_range(Stream *messages, int argc, char **argv, CodeChoice &choice)
{
    if (!read_argument(messages, "first", argv[3], CODE_NUMBER, 0, MAX_CODE, &choice.first))
        return STATUS_USAGE;
    choice.last = choice.first > DEFAULT_LAST ? choice.first : static_cast<DWORD>(DEFAULT_LAST);
    if (argc > 4 && !read_argument(messages, "last", argv[4], CODE_NUMBER, 0, MAX_CODE, &choice.last))
        return STATUS_USAGE;
    if (choice.last < choice.first) {
        say_below_first(messages, argv[4], argv[3]);
        return STATUS_USAGE;
    }
    return STATUS_DONE;
}

}  // namespace

int read_codes(Stream *messages, int argc, char **argv, CodeChoice &choice)
{
    // Field by field: an aggregate's initial values would be data in the exe.
    choice.kind = CODES_RANGE;
    choice.first = DEFAULT_FIRST;
    choice.last = DEFAULT_LAST;
    choice.map = nullptr;
    choice.from_file = false;
    if (argc <= 3)
        return STATUS_DONE;
    const char *typed = argv[3];
    if (text_same(typed, ALL_WORD)) {
        choice.kind = CODES_ALL;
        return STATUS_DONE;
    }
    if (*typed != '@' && !is_set(typed))
        return read_range(messages, argc, argv, choice);
    choice.kind = CODES_SET;
    choice.from_file = *typed == '@';
    choice.map = code_map_begin();
    if (!choice.map)
        return STATUS_NO_MEMORY;
    if (choice.from_file)
        return read_file_codes(messages, typed, choice.map);
    return add_items(choice.map, typed) ? static_cast<int>(STATUS_DONE) : say_wrong(messages, typed, NOT_A_SET_TEXT);
}

void codes_end(CodeChoice &choice)
{
    if (choice.map)
        block_free(choice.map);
    choice.map = nullptr;
}
