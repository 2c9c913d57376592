// The forms a font is written in, shared by every tool that writes fonts:
// a drawing, a glyph sheet (PNG), BDF, PSF, C source and the font file. Each writer takes a
// whole font held in memory and writes it to an open stream; the output's
// name chooses the writer.
#ifndef GLYPHROW_FORMS_H
#define GLYPHROW_FORMS_H

#include "../startup/report.h"
#include "../stream/stream.h"

enum : DWORD {
    MAX_CODE = 0x10FFFF,  // the last Unicode code point
    SPACE_CODE = 0x20,
};

// PSF, as glyphdraw writes it (version 2) and glyphpick reads it.
enum : DWORD {
    PSF1_MAGIC = 0x0436,       // 36 04 in the file
    PSF2_MAGIC = 0x864AB572u,  // 72 B5 4A 86 in the file
    PSF2_HEADER_SIZE = 32,
    PSF2_HAS_TABLE = 1,        // a flag: a Unicode table follows the glyphs
    PSF2_SEPARATOR = 0xFF,     // ends a glyph's entry in the table
    PSF2_SEQUENCE = 0xFE,      // begins a sequence of code points in an entry
    PCF_MAGIC = 0x70636601u,   // 01 66 63 70 in the file: "\1fcp"
    CONSOLE_GLYPHS = 256,      // the Linux console loads 256 glyphs,
    CONSOLE_MOST = 512,        // or 512
};

// What an input is, by its content: a font the tool at hand may not read,
// so that it can say which tool does. A file of rows (every byte below
// 64) is a glyph-row font, unless it is nothing but cells and line ends.
enum InputKind {
    INPUT_UNKNOWN, INPUT_ROW_FONT, INPUT_DRAWING, INPUT_BDF, INPUT_PSF, INPUT_PNG, INPUT_GZIP, INPUT_PCF,
};
InputKind input_kind(const unsigned char *bytes, DWORD n);

// A font in memory: `rows` row bytes (cell 1 in bit 5), `height` to a glyph,
// glyph i having the code first + i. A partial last glyph is drawn (in a
// drawing or a sheet) with the rows it has; the other forms hold whole
// glyphs only. `descent` is the number of rows below the baseline. A font
// picked from another may carry its maker's notices, as BDF properties give
// them (quotes and all), and codes that are not Unicode's.
struct Font {
    const unsigned char *row_bytes;
    DWORD rows;
    DWORD height;
    DWORD first;
    DWORD descent;
    const char *copyright;  // or null
    const char *notice;     // or null
    const char *registry;   // codes of another registry, as they stand: "GOST19768.74-1"; null for Unicode's
    // A set: glyph i's code, ascending, gaps allowed; null for a range,
    // first + i. The forms without codes (a drawing, the font file, the
    // sheet) hold span_first to span_last, blank where the font has no glyph.
    const DWORD *codes;
    DWORD span_first, span_last;
};

// Glyph i's code.
DWORD code_of(const Font &font, DWORD glyph);
// A set's glyph for a code, null where it has none; the codes are asked in
// ascending order, the cursor (from 0) moving on with them.
const unsigned char *rows_of_code(const Font &font, DWORD code, DWORD *cursor);

enum Form {
    FORM_DRAWING,  // .txt, or no suffix
    FORM_SHEET,    // .png
    FORM_BDF,      // .bdf
    FORM_PSF,      // .psf
    FORM_C_HEADER, // .h
    FORM_C_SOURCE, // .c
    FORM_FONT_FILE, // .bin: the font file itself, one row byte a row
    FORM_GFX,      // .gfx.h: Adafruit GFX's GFXfont
    FORM_COLS_HEADER, // .cols.h: column bytes by pages of 8 rows, for SSD1306 and its kin
    FORM_COLS_SOURCE, // .cols.c
    FORM_LVGL,     // .lvgl.c: LVGL's lv_font_t
    FORM_UNKNOWN,  // any other suffix: a usage error
};

// Whether the form gives each glyph its code (BDF, PSF, C), so that it
// holds no glyph past U+10FFFF.
bool form_has_codes(Form form);

// The form an output name asks for, by its suffix in any case: a compound
// one (.gfx.h, .cols.h, .cols.c, .lvgl.c) first, then the last dot's (see
// base_name).
Form form_of(const char *name);
// False for a name of FORM_UNKNOWN, having said "output form not known:
// .ttf (the forms: ...)." on the stream; the usage line follows it. A tool
// of fewer forms names its own (" (the forms: .txt .png).\n").
bool form_known(Stream *to, const char *name);
void say_form_not_known(Stream *to, const char *name, const char *forms);

// Writes the whole font in the form; name is the output's (BDF and C take a
// name from it). False when a write failed.
bool write_form(Form form, Stream *out, const Font &font, const char *name);

// Each form's writer puts the font into the output's buffer, the name being
// the output's, which only BDF and C use. A failed write is the buffer's to
// remember.
void write_drawing(Out &out, const Font &font, const char *name);
void write_sheet(Out &out, const Font &font, const char *name);
void write_bdf(Out &out, const Font &font, const char *name);
void write_psf(Out &out, const Font &font, const char *name);
void write_c_header(Out &out, const Font &font, const char *name);
void write_c_source(Out &out, const Font &font, const char *name);
void write_font_file(Out &out, const Font &font, const char *name);
void write_gfx(Out &out, const Font &font, const char *name);
void write_cols_header(Out &out, const Font &font, const char *name);
void write_cols_source(Out &out, const Font &font, const char *name);
void write_lvgl(Out &out, const Font &font, const char *name);

// Where a compound suffix begins in the name, or null: the C name of
// "font.gfx.h" is "font".
const char *compound_suffix(const char *name);
// What a form can't hold of the font, said before anything is written
// (a GFX table's codes past U+FFFF, its bitmap past 64 KiB), or null.
const char *form_refusal(Form form, const Font &font);
// The C name of the output, as the C forms name their arrays and enums:
// `stem` without a keyword's "_" after it ("default_" and "default").
void put_c_name(Out &out, const char *name);
void put_c_stem(Out &out, const char *name);
// Whether a C form's codes are one run (NAME_first gives them); if not,
// "};" closing the rows, then NAME_codes's opening and items, ascending.
bool codes_one_run(const Font &font, DWORD glyphs);
void put_code_list(Out &out, const Font &font, const char *name, bool header, DWORD glyphs);
// A maker's notice as a C comment of its own line, nothing for none.
void put_c_notice(Out &out, const char *value);
// A C form's row comment: "    /* U+0041 A */".
void put_c_label(Out &out, DWORD code, bool foreign);

// A maker's notice without BDF's quoting (the quotes around it gone, a
// doubled one single), in `to` of NOTICE_SIZE bytes; returns its length.
enum : DWORD { NOTICE_SIZE = 1025 };
DWORD unquote(const char *value, char *to);

// The notes on what a form does with the font that are no fault (status
// 0), for the tool to say: a PSF that holds more glyphs than the console
// loads, a maker's notice that the form has no place for. Returns how many
// it put in notes, FORM_NOTES at most.
enum : DWORD { FORM_NOTES = 3 };
// GFX's: what it can't hold, or null; whether its table runs past 0xFF.
const char *gfx_refusal(const Font &font);
const char *lvgl_refusal(const Font &font);
bool gfx_past_bytes(const Font &font);
DWORD form_notes(Form form, const Font &font, Report *notes);

// Whether the font's PSF has the console's layout, of 256 or 512 positions;
// one whose glyphs don't fit it holds them in code order.
bool psf_laid_out(const Font &font);

// Whole glyphs, and of those the ones whose codes Unicode has (what BDF and
// PSF can hold: a first code near the top runs past it).
DWORD whole_glyphs(const Font &font);
DWORD coded_glyphs(const Font &font);

// The rows below the baseline, the most common lowest ink row of the
// digits and capitals the font holds (a tie goes to the lower row), or 0.
DWORD baseline_descent(const Font &font);

// "U+0041 A": the code in hex, at least four digits, and the character for
// codes 33 to 126; a code of another registry "0xC4" alone, which says
// nothing of what its character is; past U+10FFFF, "no code". No terminator; returns the end. At
// most LABEL_SIZE bytes.
enum : DWORD { LABEL_SIZE = 10 };
char *make_label(char *at, DWORD code, bool foreign);

// The output's name without its folder and its suffix: [*start, *end); the
// suffix, from *end on, is the base name's last dot and what follows it,
// unless that dot is the base name's first byte.
void base_name(const char *name, const char **start, const char **end);

// A text that holds the output's name: pieces, each ended by a zero byte
// and put as put_format puts a format, with the name, as put_name writes it,
// between each piece and the next (`names` times).
using NameWriter = void (*)(Out &out, const char *name);
void put_named(Out &out, const char *pieces, int names, const DWORD *values, NameWriter put_name,
               const char *name);

#endif
