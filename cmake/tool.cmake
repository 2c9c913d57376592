# One shape for every tool of the family, on either platform:
#   glyphrow_add_tool(NAME) makes the target NAME, the native tool over the
#   POSIX layer, or NAME_exe, the CRT-free PE32 NAME.exe on KERNEL32 alone.
# The tool is built from its own copy of the shared sources, so that each
# is optimised across files on its own.

# Native: every source byte passes through five layers of small functions,
# which only whole-program inlining folds together.
set(GLYPHROW_TOOL_OPTIMISATION -O3)

# Windows: no C runtime, no libgcc, no start-up files; the entry point is the
# tool's own, and the family's manifest is the one resource.
set(GLYPHROW_EXE_CODE_FLAGS
  -Os -flto
  -mpreferred-stack-boundary=2        # the platform promises 4-byte alignment only
  -fomit-frame-pointer
  -ffreestanding                      # no assumptions about a C library
  -fno-tree-loop-distribute-patterns  # no loops turned into memset/memcpy calls
  -fno-stack-protector
  -mno-stack-arg-probe                # no ___chkstk calls; frames are small
  -fno-asynchronous-unwind-tables
  -fno-ident)
# glyphpick holds two readers besides every writer: it is optimised for size
# before speed (-Oz, after -Os, wins), its data is packed to the alignment
# the ABI asks (not 32 bytes an array), a function called once stays out of
# line, and invariants are neither hoisted out of loops nor out of branches
# (each hoisted value takes a register or a stack slot for the whole loop).
set(glyphpick_EXE_FLAGS -Oz -malign-data=abi -fno-inline-functions-called-once
  -fno-tree-loop-im -fno-code-hoisting)
set(glyphshow_EXE_FLAGS ${glyphpick_EXE_FLAGS})  # the same readers, and a text's drawing
set(GLYPHROW_EXE_LINK_FLAGS
  -nostdlib -nostartfiles
  -Wl,--subsystem,console
  -Wl,--dynamicbase -Wl,--nxcompat
  -Wl,--no-insert-timestamp
  -Wl,--gc-sections
  -s)

function(glyphrow_add_tool tool)
  set(sources ${GLYPHROW_SHARED_SOURCES} ${${tool}_JOB})
  set(entry ${${tool}_ENTRY})
  if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
    add_executable(${tool}_exe ${sources} ${GLYPHROW_ROOT}/platform/windows/text_mode.cpp
      ${GLYPHROW_ROOT}/platform/windows/manifest.rc)
    set_target_properties(${tool}_exe PROPERTIES OUTPUT_NAME ${tool})
    # windres finds the manifest the resource script names through this.
    target_include_directories(${tool}_exe PRIVATE ${GLYPHROW_ROOT}/platform/windows)
    set(code_flags ${GLYPHROW_EXE_CODE_FLAGS} ${${tool}_EXE_FLAGS})
    target_compile_options(${tool}_exe PRIVATE
      $<$<COMPILE_LANGUAGE:CXX>:${GLYPHROW_PRODUCT_FLAGS} ${code_flags}>)
    target_compile_definitions(${tool}_exe PRIVATE ${GLYPHROW_PRODUCT_DEFINITIONS})
    # With LTO the code is made at the link: every code flag goes there too.
    target_link_options(${tool}_exe PRIVATE
      ${code_flags} ${GLYPHROW_EXE_LINK_FLAGS} -Wl,--entry,_${entry})
    target_link_libraries(${tool}_exe PRIVATE kernel32)
    return()
  endif()
  add_library(${tool}_objects OBJECT ${sources})
  target_compile_options(${tool}_objects PRIVATE ${GLYPHROW_PRODUCT_FLAGS} ${GLYPHROW_TOOL_OPTIMISATION})
  target_compile_definitions(${tool}_objects PRIVATE ${GLYPHROW_PRODUCT_DEFINITIONS})
  add_executable(${tool}
    ${GLYPHROW_ROOT}/platform/posix/main.cpp
    ${GLYPHROW_ROOT}/platform/posix/prepare.cpp
    ${GLYPHROW_ROOT}/platform/posix/kernel32_posix.cpp
    ${GLYPHROW_ROOT}/platform/posix/command_line.cpp
    $<TARGET_OBJECTS:${tool}_objects>)
  target_compile_definitions(${tool} PRIVATE TOOL_ENTRY=${entry})
  target_compile_options(${tool} PRIVATE -Wall -Wextra ${GLYPHROW_TOOL_OPTIMISATION})
  # The tool needs nothing of the C++ runtime; keep it out of the executable.
  target_link_options(${tool} PRIVATE ${GLYPHROW_TOOL_OPTIMISATION} -Wl,--as-needed)
  set_property(TARGET ${tool} ${tool}_objects PROPERTY INTERPROCEDURAL_OPTIMIZATION ${GLYPHROW_IPO})
endfunction()
