// pe_run: runs one of the family's PE32 exes on an emulated i386 CPU, for
// hosts that run no 32-bit code (where Wine can't start). It maps the image,
// binds its imports to the KERNEL32 functions the family calls and serves them: the
// file functions through the project's own POSIX layer, the rest here.
//
//   pe_run [--base ADDRESS] EXE [ARGUMENT...]   command line built from them
//   pe_run --verbatim EXE LINE_FILE              command line read from a file
//
// Exits with the exe's status; its own failures exit 255 with a line on
// standard error, which no tool of the family gives.
#include "../../platform/kernel32.h"
#include "../../platform/posix/posix_entry.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <unicorn/unicorn.h>
#include <vector>

namespace {

const int RUNNER_FAILED = 255;
const uint32_t PAGE = 0x1000;
const uint32_t STACK_BASE = 0x00100000, STACK_SIZE = 0x00100000;
const uint32_t THUNK_BASE = 0x7FFE0000, THUNK_SIZE = 16;
const uint32_t HEAP_BASE = 0x20000000, HEAP_SIZE = 0x40000000;
const uint32_t HEAP_HANDLE = 0x00150000;  // any nonzero value, as on Windows
const uint32_t INVALID_HANDLE = 0xFFFFFFFFu;

[[noreturn]] void fail(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    std::fputs("pe_run: ", stderr);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
    va_end(args);
    std::exit(RUNNER_FAILED);
}

// The functions an exe may import, in thunk order, with their stdcall
// argument counts (the callee pops them).
enum Function { CLOSE, CREATE, EXIT, COMMAND_LINE, LAST_ERROR, HEAP, STD_HANDLE, ALLOC, FREE, READ, SEEK, WRITE,
                ENTRY_RETURNED };
const struct { const char *name; uint32_t arguments; } FUNCTIONS[] = {
    {"CloseHandle", 1}, {"CreateFileA", 7}, {"ExitProcess", 1}, {"GetCommandLineA", 0},
    {"GetLastError", 0}, {"GetProcessHeap", 0}, {"GetStdHandle", 1}, {"HeapAlloc", 3}, {"HeapFree", 3},
    {"ReadFile", 5}, {"SetFilePointer", 4}, {"WriteFile", 5}, {"(entry returned)", 0},
};
const int FUNCTION_COUNT = sizeof FUNCTIONS / sizeof FUNCTIONS[0];

struct Machine {
    uc_engine *uc = nullptr;
    uint32_t command_line = 0;
    uint32_t heap_top = HEAP_BASE;
    std::set<uint32_t> blocks;
    bool exited = false;
    int status = RUNNER_FAILED;
};

uint32_t le(const std::vector<uint8_t> &bytes, size_t at, int size)
{
    if (at + size > bytes.size())
        fail("the image ends inside its headers");
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | bytes[at + i];
    return value;
}

void put(Machine &m, uint32_t address, const void *data, size_t size)
{
    if (size && uc_mem_write(m.uc, address, data, size) != UC_ERR_OK)
        fail("write of %zu bytes to unmapped memory at 0x%08x", size, address);
}

void get(Machine &m, uint32_t address, void *data, size_t size)
{
    if (size && uc_mem_read(m.uc, address, data, size) != UC_ERR_OK)
        fail("read of %zu bytes from unmapped memory at 0x%08x", size, address);
}

uint32_t get32(Machine &m, uint32_t address)
{
    uint32_t value;
    get(m, address, &value, 4);
    return value;
}

std::string get_string(Machine &m, uint32_t address)
{
    std::string text;
    for (char c; get(m, address++, &c, 1), c;)
        text += c;
    return text;
}

uint32_t heap_alloc(Machine &m, uint32_t size)
{
    uint32_t block = (m.heap_top + 7) & ~7u;
    if (size > HEAP_BASE + HEAP_SIZE - block)
        return 0;
    m.heap_top = block + (size ? size : 1);
    m.blocks.insert(block);
    return block;
}

// The image: headers and sections at base, relocated by base's distance
// from the preferred one. Returns the entry point's address.
uint32_t map_image(Machine &m, const std::vector<uint8_t> &file, uint32_t *base)
{
    uint32_t pe = le(file, 0x3C, 4);
    if (le(file, 0, 2) != 0x5A4D || le(file, pe, 4) != 0x4550 || le(file, pe + 4, 2) != 0x14C ||
        le(file, pe + 24, 2) != 0x10B)
        fail("not a PE32 image for i386");
    uint32_t sections = le(file, pe + 6, 2), optional = pe + 24;
    uint32_t preferred = le(file, optional + 28, 4);
    if (!*base)
        *base = preferred;
    uint32_t image_size = (le(file, optional + 56, 4) + PAGE - 1) & ~(PAGE - 1);
    if (uc_mem_map(m.uc, *base, image_size, UC_PROT_ALL) != UC_ERR_OK)
        fail("can't map the image at 0x%08x", *base);
    put(m, *base, file.data(), le(file, optional + 60, 4));
    uint32_t table = optional + le(file, pe + 20, 2);
    for (uint32_t s = 0; s < sections; ++s) {
        uint32_t at = table + 40 * s;
        uint32_t address = le(file, at + 12, 4), raw = le(file, at + 16, 4), from = le(file, at + 20, 4);
        if (from + raw > file.size())
            fail("section %u lies past the end of the file", s);
        put(m, *base + address, file.data() + from, raw);
    }
    return le(file, optional + 16, 4);
}

// The data directory entry n: its address (relative to the base) and size.
void directory(const std::vector<uint8_t> &file, int n, uint32_t *address, uint32_t *size)
{
    uint32_t pe = le(file, 0x3C, 4);
    *address = le(file, pe + 24 + 96 + 8 * n, 4);
    *size = le(file, pe + 24 + 96 + 8 * n + 4, 4);
}

void relocate(Machine &m, const std::vector<uint8_t> &file, uint32_t base)
{
    uint32_t pe = le(file, 0x3C, 4);
    uint32_t delta = base - le(file, pe + 24 + 28, 4);
    if (!delta)
        return;
    uint32_t at, size;
    directory(file, 5, &at, &size);
    if (!size)
        fail("the image has no relocations and can't be moved to 0x%08x", base);
    for (uint32_t end = at + size; at < end;) {
        uint32_t page = get32(m, base + at), block = get32(m, base + at + 4);
        if (block < 8)
            fail("a relocation block of %u bytes", block);
        for (uint32_t i = 8; i + 2 <= block; i += 2) {
            uint16_t entry;
            get(m, base + at + i, &entry, 2);
            if (entry >> 12 == 0)
                continue;  // padding
            if (entry >> 12 != 3)
                fail("relocation of type %u, not a 32-bit address", entry >> 12);
            uint32_t place = base + page + (entry & 0xFFF), value = get32(m, place) + delta;
            put(m, place, &value, 4);
        }
        at += block;
    }
}

int function_named(const std::string &name)
{
    for (int f = 0; f < ENTRY_RETURNED; ++f)
        if (name == FUNCTIONS[f].name)
            return f;
    return -1;
}

// Every import must be one of the twelve, from KERNEL32.dll; each slot of
// the import address table gets its function's thunk.
void bind_imports(Machine &m, const std::vector<uint8_t> &file, uint32_t base)
{
    uint32_t at, size;
    directory(file, 1, &at, &size);
    for (; size && get32(m, base + at + 12); at += 20) {
        std::string dll = get_string(m, base + get32(m, base + at + 12));
        if (strcasecmp(dll.c_str(), "KERNEL32.dll") != 0)
            fail("imports from %s", dll.c_str());
        uint32_t names = get32(m, base + at), slots = get32(m, base + at + 16);
        if (!names)
            names = slots;
        for (uint32_t i = 0;; i += 4) {
            uint32_t entry = get32(m, base + names + i);
            if (!entry)
                break;
            if (entry & 0x80000000u)
                fail("imports KERNEL32 ordinal %u", entry & 0xFFFF);
            std::string name = get_string(m, base + entry + 2);
            int f = function_named(name);
            if (f < 0)
                fail("imports %s, not one of the KERNEL32 functions the family may call", name.c_str());
            uint32_t thunk = THUNK_BASE + THUNK_SIZE * f;
            put(m, base + slots + i, &thunk, 4);
        }
    }
}

// Each thunk is "ret 4n": the hook serves the call, then the thunk returns
// and pops the arguments as a stdcall function does.
void write_thunks(Machine &m)
{
    if (uc_mem_map(m.uc, THUNK_BASE, PAGE, UC_PROT_READ | UC_PROT_EXEC) != UC_ERR_OK)
        fail("can't map the thunks");
    for (int f = 0; f < FUNCTION_COUNT; ++f) {
        uint32_t pop = 4 * FUNCTIONS[f].arguments;
        const uint8_t ret[3] = {0xC2, static_cast<uint8_t>(pop), static_cast<uint8_t>(pop >> 8)};
        put(m, THUNK_BASE + THUNK_SIZE * f, ret, sizeof ret);
    }
}

HANDLE host_handle(uint32_t handle)
{
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(static_cast<int32_t>(handle)));
}

uint32_t guest_handle(HANDLE handle)
{
    return static_cast<uint32_t>(reinterpret_cast<intptr_t>(handle));
}

uint32_t transfer(Machine &m, const uint32_t *a, bool reading)
{
    std::vector<uint8_t> bytes(a[2]);
    DWORD done = 0;
    BOOL ok;
    if (reading) {
        ok = ReadFile(host_handle(a[0]), bytes.data(), a[2], &done, nullptr);
        put(m, a[1], bytes.data(), done);
    } else {
        get(m, a[1], bytes.data(), a[2]);
        ok = WriteFile(host_handle(a[0]), bytes.data(), a[2], &done, nullptr);
    }
    if (a[3])
        put(m, a[3], &done, 4);
    return ok;
}

uint32_t seek(Machine &m, const uint32_t *a)
{
    LONG high = a[2] ? static_cast<LONG>(get32(m, a[2])) : 0;
    DWORD low = SetFilePointer(host_handle(a[0]), static_cast<LONG>(a[1]), a[2] ? &high : nullptr, a[3]);
    if (a[2])
        put(m, a[2], &high, 4);
    return low;
}

// A null block is freed as nothing, as Windows does.
uint32_t heap_free(Machine &m, const uint32_t *a)
{
    if (a[0] != HEAP_HANDLE || (a[2] && !m.blocks.erase(a[2])))
        fail("HeapFree of 0x%08x, a block HeapAlloc never gave", a[2]);
    return 1;
}

uint32_t serve(Machine &m, int f, const uint32_t *a)
{
    switch (f) {
    case CLOSE: return CloseHandle(host_handle(a[0]));
    case CREATE:
        return guest_handle(CreateFileA(get_string(m, a[0]).c_str(), a[1], a[2], nullptr, a[4], a[5], nullptr));
    case EXIT: m.exited = true; m.status = static_cast<int>(a[0] & 0xFF); uc_emu_stop(m.uc); return 0;
    case COMMAND_LINE: return m.command_line;
    case LAST_ERROR: return GetLastError();
    case HEAP: return HEAP_HANDLE;
    case STD_HANDLE: return guest_handle(GetStdHandle(a[0]));
    case ALLOC:
        if (a[0] != HEAP_HANDLE)
            fail("HeapAlloc on 0x%08x, not the process heap", a[0]);
        return heap_alloc(m, a[2]);
    case FREE: return heap_free(m, a);
    case READ: return transfer(m, a, true);
    case SEEK: return seek(m, a);
    case WRITE: return transfer(m, a, false);
    default: fail("the entry point returned");
    }
}

void on_thunk(uc_engine *uc, uint64_t address, uint32_t, void *user)
{
    Machine &m = *static_cast<Machine *>(user);
    int f = static_cast<int>((address - THUNK_BASE) / THUNK_SIZE);
    if (f >= FUNCTION_COUNT || (address - THUNK_BASE) % THUNK_SIZE)
        fail("a jump into the thunks at 0x%08x", static_cast<uint32_t>(address));
    uint32_t esp, a[7] = {};
    uc_reg_read(uc, UC_X86_REG_ESP, &esp);
    get(m, esp + 4, a, 4 * FUNCTIONS[f].arguments);
    uint32_t eax = serve(m, f, a);
    uc_reg_write(uc, UC_X86_REG_EAX, &eax);
}

bool on_unmapped(uc_engine *uc, uc_mem_type type, uint64_t address, int size, int64_t, void *)
{
    uint32_t eip;
    uc_reg_read(uc, UC_X86_REG_EIP, &eip);
    const char *what = type == UC_MEM_FETCH_UNMAPPED ? "fetch" : type == UC_MEM_WRITE_UNMAPPED ? "write" : "access";
    fail("%s of %d bytes at unmapped 0x%08x, eip 0x%08x", what, size, static_cast<uint32_t>(address), eip);
}

bool on_invalid_instruction(uc_engine *uc, void *)
{
    uint32_t eip;
    uc_reg_read(uc, UC_X86_REG_EIP, &eip);
    fail("an instruction the emulated CPU doesn't know at eip 0x%08x", eip);
}

std::vector<uint8_t> read_bytes(const char *path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        fail("can't read %s", path);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void set_command_line(Machine &m, const std::string &line)
{
    m.command_line = heap_alloc(m, static_cast<uint32_t>(line.size() + 1));
    put(m, m.command_line, line.c_str(), line.size() + 1);
}

void map_stack_and_heap(Machine &m)
{
    if (uc_mem_map(m.uc, STACK_BASE, STACK_SIZE, UC_PROT_READ | UC_PROT_WRITE) != UC_ERR_OK ||
        uc_mem_map(m.uc, HEAP_BASE, HEAP_SIZE, UC_PROT_READ | UC_PROT_WRITE) != UC_ERR_OK)
        fail("can't map the stack and the heap");
}

// The entry is called as Windows calls it, with a return address that no
// tool should ever reach: each ends through ExitProcess.
void start(Machine &m, uint32_t entry)
{
    uint32_t esp = STACK_BASE + STACK_SIZE - 16, returned = THUNK_BASE + THUNK_SIZE * ENTRY_RETURNED;
    put(m, esp, &returned, 4);
    uc_reg_write(m.uc, UC_X86_REG_ESP, &esp);
    uc_hook hooks[3];
    uc_hook_add(m.uc, &hooks[0], UC_HOOK_CODE, reinterpret_cast<void *>(on_thunk), &m, THUNK_BASE,
                THUNK_BASE + PAGE - 1);
    uc_hook_add(m.uc, &hooks[1], UC_HOOK_MEM_INVALID, reinterpret_cast<void *>(on_unmapped), &m, 1, 0);
    uc_hook_add(m.uc, &hooks[2], UC_HOOK_INSN_INVALID, reinterpret_cast<void *>(on_invalid_instruction), &m, 1, 0);
    uc_err err = uc_emu_start(m.uc, entry, 0, 0, 0);
    if (!m.exited) {
        uint32_t eip;
        uc_reg_read(m.uc, UC_X86_REG_EIP, &eip);
        fail("the emulation stopped at eip 0x%08x: %s", eip, uc_strerror(err));
    }
}

}  // namespace

int main(int argc, char **argv)
{
    posix_prepare_process();  // as the native tools start
    int first = 1;
    uint32_t base = 0;
    bool verbatim = false;
    if (argc > 2 && std::strcmp(argv[1], "--base") == 0) {
        base = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 0));
        first = 3;
    } else if (argc == 4 && std::strcmp(argv[1], "--verbatim") == 0) {
        verbatim = true;
        first = 2;
    }
    if (first >= argc)
        fail("usage: pe_run [--base ADDRESS] EXE [ARGUMENT...] | pe_run --verbatim EXE LINE_FILE");
    std::vector<uint8_t> image = read_bytes(argv[first]);
    Machine m;
    if (uc_open(UC_ARCH_X86, UC_MODE_32, &m.uc) != UC_ERR_OK)
        fail("can't open the emulated CPU");
    uint32_t entry = map_image(m, image, &base);
    relocate(m, image, base);
    write_thunks(m);
    bind_imports(m, image, base);
    map_stack_and_heap(m);
    if (verbatim) {
        std::vector<uint8_t> line = read_bytes(argv[3]);
        set_command_line(m, std::string(line.begin(), line.end()));
    } else {
        char *line = posix_join_arguments(argc - first, argv + first);
        set_command_line(m, line);
        std::free(line);
    }
    start(m, base + entry);
    return m.status;
}
