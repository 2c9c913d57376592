# The product: plain procedural C++ that must link without any C runtime, so
# it is compiled without the standard headers, exceptions or RTTI, and no
# function-local static may need a guard.
set(GLYPHROW_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

# What every tool of the family stands on.
set(GLYPHROW_SHARED_SOURCES
  platform/block.cpp
  stream/standard.cpp
  stream/open.cpp
  stream/close.cpp
  stream/read.cpp
  stream/getc.cpp
  stream/at_end.cpp
  stream/error.cpp
  stream/gets.cpp
  stream/rewind.cpp
  stream/seekable.cpp
  stream/write.cpp
  stream/write_whole.cpp
  stream/putc.cpp
  stream/puts.cpp
  stream/length.cpp
  stream/same.cpp
  stream/print_line.cpp
  stream/format.cpp
  stream/out.cpp
  rows/row.cpp
  rows/foreign.cpp
  startup/split_command_line.cpp
  startup/start_process.cpp
  startup/report.cpp
  startup/parse_number.cpp
  startup/arguments.cpp)
list(TRANSFORM GLYPHROW_SHARED_SOURCES PREPEND ${GLYPHROW_ROOT}/)

# What the family's other tools stand on besides: inputs read in blocks,
# "-" for a standard stream, and files that can't be opened named with
# their cause. They ask GetLastError, which glyphrow never imports.
set(GLYPHROW_FAMILY_SOURCES
  stream/read_block.cpp
  stream/source.cpp
  startup/open_argument.cpp
  startup/say_report.cpp)
list(TRANSFORM GLYPHROW_FAMILY_SOURCES PREPEND ${GLYPHROW_ROOT}/)

# The readers of other fonts, for the tools that read them.
set(GLYPHROW_READERS_SOURCES
  readers/input.cpp
  readers/picked.cpp
  readers/read_picked.cpp
  readers/bdf_reader.cpp
  readers/psf_reader.cpp
  readers/pcf_reader.cpp
  readers/code_pages.cpp
  readers/text_codes.cpp
  readers/read_font.cpp)

# The family's own deflate: its tables and checksums, the compressor (for
# the PNG writer) and the inflater with gzip's framing (for the readers).
set(GLYPHROW_DEFLATE_SOURCES deflate/tables.cpp deflate/checksum.cpp)
set(GLYPHROW_COMPRESS_SOURCES deflate/compress.cpp)
set(GLYPHROW_INFLATE_SOURCES deflate/inflate.cpp deflate/gzip.cpp)
foreach(list GLYPHROW_DEFLATE_SOURCES GLYPHROW_COMPRESS_SOURCES GLYPHROW_INFLATE_SOURCES)
  list(TRANSFORM ${list} PREPEND ${GLYPHROW_ROOT}/)
endforeach()

# The forms a font is written in, for the tools that write fonts.
set(GLYPHROW_FORMS_SOURCES
  forms/form.cpp
  forms/label.cpp
  forms/named.cpp
  forms/drawing.cpp
  forms/sheet.cpp
  forms/png.cpp
  forms/baseline.cpp
  forms/bdf.cpp
  forms/psf.cpp
  forms/c_source.cpp
  forms/font_file.cpp
  forms/gfx.cpp
  forms/ink_box.cpp
  forms/cols.cpp
  forms/lvgl.cpp
  forms/notice.cpp
  forms/input_kind.cpp)

# Each tool: its job's sources, its entry among them, and the entry's name.
set(GLYPHROW_TOOLS glyphrow glyphdraw glyphcheck glyphpick glyphshow)
set(glyphrow_JOB convert/convert_main.cpp convert/process_start.cpp)
set(glyphrow_ENTRY process_start)
set(glyphdraw_JOB draw/draw_main.cpp readers/read_font.cpp draw/glyphdraw_start.cpp)
set(glyphdraw_ENTRY glyphdraw_start)
set(glyphcheck_JOB check/check_main.cpp check/findings.cpp readers/read_font.cpp check/glyphcheck_start.cpp)
set(glyphcheck_ENTRY glyphcheck_start)
set(glyphpick_JOB pick/pick_main.cpp pick/code_set.cpp pick/glyphpick_start.cpp)
set(glyphpick_ENTRY glyphpick_start)
set(glyphshow_JOB show/show_main.cpp show/glyphshow_start.cpp)
set(glyphshow_ENTRY glyphshow_start)
foreach(tool ${GLYPHROW_TOOLS})
  list(TRANSFORM ${tool}_JOB PREPEND ${GLYPHROW_ROOT}/)
endforeach()
list(TRANSFORM GLYPHROW_FORMS_SOURCES PREPEND ${GLYPHROW_ROOT}/)
list(TRANSFORM GLYPHROW_READERS_SOURCES PREPEND ${GLYPHROW_ROOT}/)
foreach(tool glyphdraw glyphcheck glyphpick glyphshow)
  list(APPEND ${tool}_JOB ${GLYPHROW_FAMILY_SOURCES})
endforeach()
list(APPEND GLYPHROW_FORMS_SOURCES ${GLYPHROW_DEFLATE_SOURCES} ${GLYPHROW_COMPRESS_SOURCES})
list(APPEND GLYPHROW_READERS_SOURCES ${GLYPHROW_INFLATE_SOURCES})
list(APPEND glyphdraw_JOB ${GLYPHROW_FORMS_SOURCES})
list(APPEND glyphpick_JOB ${GLYPHROW_FORMS_SOURCES} ${GLYPHROW_READERS_SOURCES})
list(APPEND glyphshow_JOB ${GLYPHROW_FORMS_SOURCES} ${GLYPHROW_READERS_SOURCES})

set(GLYPHROW_PRODUCT_FLAGS
  -nostdinc -nostdinc++ -fno-exceptions -fno-rtti -fno-threadsafe-statics
  -Wall -Wextra)
# The one version, from CMakeLists.txt, for each tool's --version.
set(GLYPHROW_PRODUCT_DEFINITIONS GLYPHROW_VERSION="${PROJECT_VERSION}")
