# From the native build: cross-build the family's exes (and the test launcher)
# with mingw-w64, and run the same black-box tests against them under Wine.
include(ExternalProject)

find_program(GLYPHROW_MINGW_CXX i686-w64-mingw32-g++)
find_program(GLYPHROW_MINGW_OBJDUMP i686-w64-mingw32-objdump)
find_program(GLYPHROW_WINE wine)
find_program(GLYPHROW_WINESERVER wineserver)
find_program(GLYPHROW_WINE64 wine64 PATHS /usr/lib/wine)  # WoW64 for the 64-bit prefix

if(NOT (GLYPHROW_MINGW_CXX AND GLYPHROW_MINGW_OBJDUMP AND GLYPHROW_WINE AND GLYPHROW_WINESERVER AND GLYPHROW_WINE64))
  glyphrow_missing("mingw-w64, wine, wine32 or wine64 not found: the Windows exes are not built or tested")
  return()
endif()

set(GLYPHROW_WINDOWS_DIR ${CMAKE_BINARY_DIR}/windows)
ExternalProject_Add(windows_build
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${GLYPHROW_WINDOWS_DIR}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/i686-w64-mingw32.cmake
    -DCMAKE_BUILD_TYPE=MinSizeRel
  BUILD_ALWAYS ON
  INSTALL_COMMAND "")
set(GLYPHROW_EXE ${GLYPHROW_WINDOWS_DIR}/glyphrow.exe)
set(GLYPHROW_LAUNCH ${GLYPHROW_WINDOWS_DIR}/launch.exe)

# glyphrow.exe may grow by one file-alignment block for its manifest; the
# others are to stay within 8 KiB.
set(glyphrow_MAX_BYTES 4608)
set(glyphdraw_MAX_BYTES 8192)
set(glyphcheck_MAX_BYTES 8192)
foreach(tool ${GLYPHROW_TOOLS})
  add_test(NAME windows.${tool}_pe_header_and_imports
    COMMAND ${PROJECT_SOURCE_DIR}/tests/windows/check_pe.sh ${GLYPHROW_WINDOWS_DIR}/${tool}.exe
            ${GLYPHROW_MINGW_OBJDUMP} ${${tool}_MAX_BYTES})
endforeach()
add_test(NAME windows.host_flags_stay_out
  COMMAND ${PROJECT_SOURCE_DIR}/tests/windows/host_flags.sh ${PROJECT_SOURCE_DIR} ${GLYPHROW_MINGW_OBJDUMP})

add_executable(blackbox_windows ${GLYPHROW_BLACKBOX_TESTS} blackbox_windows_test.cpp draw_windows_test.cpp)
target_link_libraries(blackbox_windows PRIVATE run_tool GTest::gtest_main)
target_compile_definitions(blackbox_windows PRIVATE
  TOOL_COMMAND="${GLYPHROW_WINE}","${GLYPHROW_EXE}"
  DRAW_COMMAND="${GLYPHROW_WINE}","${GLYPHROW_WINDOWS_DIR}/glyphdraw.exe"
  CHECK_COMMAND="${GLYPHROW_WINE}","${GLYPHROW_WINDOWS_DIR}/glyphcheck.exe"
  NATIVE_DRAW_COMMAND="$<TARGET_FILE:glyphdraw>"
  LAUNCH_COMMAND="${GLYPHROW_WINE}","${GLYPHROW_LAUNCH}"
  TOOL_EXE="${GLYPHROW_EXE}"
  SAMPLE_DIR="${PROJECT_SOURCE_DIR}/examples")
add_dependencies(blackbox_windows windows_build glyphdraw)
# The same tests in two Wine prefixes of our own in the build tree: a 32-bit
# Windows, and a 64-bit one that runs the exes through WoW64, as most users
# do. Each prefix's wineserver is started here with no pipe of the tests
# attached (one started by a test would hold that test's captured output
# open), and stopped when the tests end. The 64-bit prefix must really be
# one: 32-bit system files in syswow64.
set(wow64_check_win32 "true")
set(wow64_check_win64 "test -f \"$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll\"")
foreach(arch win32 win64)
  set(env WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix-${arch} WINEARCH=${arch} WINEDEBUG=-all)
  add_test(NAME ${arch}.wine_start
    COMMAND sh -c "mkdir -p \"$WINEPREFIX\" && \"$0\" -p </dev/null >/dev/null 2>&1 && \"$1\" wineboot -i </dev/null >/dev/null 2>&1 && ${wow64_check_${arch}}"
            ${GLYPHROW_WINESERVER} ${GLYPHROW_WINE})
  add_test(NAME ${arch}.wine_stop
    COMMAND sh -c "\"$0\" -k </dev/null >/dev/null 2>&1; \"$0\" -w </dev/null >/dev/null 2>&1; true"
            ${GLYPHROW_WINESERVER})
  set_tests_properties(${arch}.wine_start PROPERTIES FIXTURES_SETUP wine_${arch} ENVIRONMENT "${env}")
  set_tests_properties(${arch}.wine_stop PROPERTIES FIXTURES_CLEANUP wine_${arch} ENVIRONMENT "${env}")
  gtest_discover_tests(blackbox_windows TEST_PREFIX "${arch}." TEST_LIST blackbox_windows_${arch}
    PROPERTIES FIXTURES_REQUIRED wine_${arch} ENVIRONMENT "${env}" RUN_SERIAL ON)
endforeach()

# The Windows zip, unpacked and run.
add_test(NAME win32.zip COMMAND ${PROJECT_SOURCE_DIR}/tests/package_zip.sh ${GLYPHROW_WINDOWS_DIR}
  ${PROJECT_SOURCE_DIR} ${GLYPHROW_WINE})
set_tests_properties(win32.zip PROPERTIES FIXTURES_REQUIRED wine_win32
  ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix-win32;WINEARCH=win32;WINEDEBUG=-all" RUN_SERIAL ON)
