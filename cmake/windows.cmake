# glyphrow.exe: a PE32 console program whose entry point is process_start
# itself. No C runtime, no libgcc, no start-up files: the only import is
# KERNEL32.dll, through the same declarations the POSIX layer implements.
# Size flags are given to the link too: with LTO the code is made there.
set(GLYPHROW_EXE_SIZE_FLAGS
  -Os -flto
  -mpreferred-stack-boundary=2        # the platform promises 4-byte alignment only
  -fomit-frame-pointer)
add_executable(glyphrow_exe ${GLYPHROW_PRODUCT_SOURCES})
set_target_properties(glyphrow_exe PROPERTIES OUTPUT_NAME glyphrow)
target_compile_options(glyphrow_exe PRIVATE
  ${GLYPHROW_PRODUCT_FLAGS}
  ${GLYPHROW_EXE_SIZE_FLAGS}
  -ffreestanding                      # no assumptions about a C library
  -fno-tree-loop-distribute-patterns  # no loops turned into memset/memcpy calls
  -fno-stack-protector
  -mno-stack-arg-probe                # no ___chkstk calls; frames are small
  -fno-asynchronous-unwind-tables
  -fno-ident)
target_link_options(glyphrow_exe PRIVATE
  ${GLYPHROW_EXE_SIZE_FLAGS}
  -nostdlib -nostartfiles
  -Wl,--entry,_process_start
  -Wl,--subsystem,console
  -Wl,--dynamicbase -Wl,--nxcompat
  -Wl,--no-insert-timestamp
  -Wl,--gc-sections
  -s)
target_link_libraries(glyphrow_exe PRIVATE kernel32)

# A test tool, not the product: starts a program with a command line read
# verbatim from a file, so that nothing rewrites it on the way, and exits
# with the program's status. It may use the C runtime.
add_executable(launch ${CMAKE_CURRENT_LIST_DIR}/../tests/windows/launch.cpp)
target_link_options(launch PRIVATE -static)
