# The family's PE32 console programs: glyphrow.exe, glyphdraw.exe and
# glyphcheck.exe and glyphpick.exe, each importing only from KERNEL32.dll, through the same
# declarations the POSIX layer implements.
enable_language(RC)
foreach(tool ${GLYPHROW_TOOLS})
  glyphrow_add_tool(${tool})
endforeach()

# A test tool, not the product: starts a program with a command line read
# verbatim from a file, so that nothing rewrites it on the way, and exits
# with the program's status. It may use the C runtime.
add_executable(launch ${CMAKE_CURRENT_LIST_DIR}/../tests/windows/launch.cpp)
target_link_options(launch PRIVATE -static)

# A test exe, not the product: made as the tools are, with one import
# beyond the eleven, which the emulated runner must refuse by name.
add_executable(stray_import ${CMAKE_CURRENT_LIST_DIR}/../tests/windows/stray_import.cpp)
target_compile_options(stray_import PRIVATE ${GLYPHROW_PRODUCT_FLAGS} ${GLYPHROW_EXE_CODE_FLAGS})
target_link_options(stray_import PRIVATE
  ${GLYPHROW_EXE_CODE_FLAGS} ${GLYPHROW_EXE_LINK_FLAGS} -Wl,--entry,_stray_start)
target_link_libraries(stray_import PRIVATE kernel32)
