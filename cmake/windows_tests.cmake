# From the native build: cross-build the family's exes (and the test exes)
# with mingw-w64, and run the same black-box tests against them: under Wine
# where this host runs i386 programs, or on an emulated i386 CPU (pe_run,
# over unicorn) where it runs 64-bit user code only and Wine can't start.
include(ExternalProject)

find_program(GLYPHROW_MINGW_CXX i686-w64-mingw32-g++)
find_program(GLYPHROW_MINGW_OBJDUMP i686-w64-mingw32-objdump)
find_path(GLYPHROW_UNICORN_INCLUDE unicorn/unicorn.h)
find_library(GLYPHROW_UNICORN unicorn)
if(NOT (GLYPHROW_MINGW_CXX AND GLYPHROW_MINGW_OBJDUMP AND GLYPHROW_UNICORN AND GLYPHROW_UNICORN_INCLUDE))
  glyphrow_missing("mingw-w64 or unicorn not found: the Windows exes are not built or tested")
  return()
endif()

# Which way, found once: only "Exec format error" from an i386 program
# chooses the emulated CPU; a host that runs i386 programs runs the exes
# under Wine, and Wine's failures there are failures. tools/test-all may
# have chosen already (-DGLYPHROW_EXE_WAY=emulated where Wine can't be
# installed), with the reason in GLYPHROW_EMULATED_WHY.
set(GLYPHROW_EXE_WAY "" CACHE STRING "How the Windows exes run here: wine, emulated, or empty to probe")
set(GLYPHROW_EMULATED_WHY "this host runs no 32-bit code" CACHE STRING "Why the exes run on the emulated CPU")
if(NOT GLYPHROW_EXE_WAY MATCHES "^(wine|emulated)$")
  execute_process(COMMAND ${PROJECT_SOURCE_DIR}/tests/windows/host_runs_i386.sh
    OUTPUT_VARIABLE probed_way OUTPUT_STRIP_TRAILING_WHITESPACE
    ERROR_VARIABLE probe_error RESULT_VARIABLE probe_status)
  if(NOT probe_status EQUAL 0)
    message(FATAL_ERROR "can't tell how to run the Windows exes: ${probe_error}")
  endif()
  set(GLYPHROW_EXE_WAY ${probed_way})
endif()
set(GLYPHROW_EMULATED_SKIP_REASON
  "${GLYPHROW_EMULATED_WHY}, so Wine doesn't run: the 64-bit WoW64 prefix is not tested")
if(GLYPHROW_EXE_WAY STREQUAL "wine")
  message(STATUS "Windows exes run under Wine (this host runs i386 programs), in a 32-bit and a 64-bit prefix")
  find_program(GLYPHROW_WINE wine)
  find_program(GLYPHROW_WINESERVER wineserver)
  find_program(GLYPHROW_WINE64 wine64 PATHS /usr/lib/wine)  # WoW64 for the 64-bit prefix
  if(NOT (GLYPHROW_WINE AND GLYPHROW_WINESERVER AND GLYPHROW_WINE64))
    glyphrow_missing("wine, wine32 or wine64 not found: the Windows exes are not tested")
    return()
  endif()
else()
  message(STATUS "Windows exes run on an emulated i386 CPU (pe_run): ${GLYPHROW_EMULATED_SKIP_REASON}")
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

# glyphrow.exe may grow by one file-alignment block for its manifest and
# two for telling another tool's input from its first block; each other exe
# within the size it has reached, rounded up to the next KiB, and never past
# 64 KiB: glyphdraw.exe, which writes every form (a PNG's compressor and
# the display libraries' among them), 30 KiB; glyphcheck.exe 10 KiB;
# glyphpick.exe, three readers, gzip's inflater, the 8-bit encodings'
# tables, sets of codes and every form, 48 KiB;
# glyphshow.exe, the same readers and a text's drawing, 33 KiB.
set(glyphrow_MAX_BYTES 5632)
set(glyphdraw_MAX_BYTES 30720)
set(glyphcheck_MAX_BYTES 10240)
set(glyphpick_MAX_BYTES 49152)
set(glyphshow_MAX_BYTES 33792)
foreach(tool ${GLYPHROW_TOOLS})
  add_test(NAME windows.${tool}_pe_header_and_imports
    COMMAND ${PROJECT_SOURCE_DIR}/tests/windows/check_pe.sh ${GLYPHROW_WINDOWS_DIR}/${tool}.exe
            ${GLYPHROW_MINGW_OBJDUMP} ${${tool}_MAX_BYTES})
endforeach()
add_test(NAME windows.host_flags_stay_out
  COMMAND ${PROJECT_SOURCE_DIR}/tests/windows/host_flags.sh ${PROJECT_SOURCE_DIR} ${GLYPHROW_MINGW_OBJDUMP})

# The emulated CPU, on every host: the sample through glyphrow.exe, at its
# preferred base and moved elsewhere (its relocations applied), and an exe
# with an import beyond the twelve, refused by name.
add_executable(pe_run windows/pe_run.cpp)
target_include_directories(pe_run PRIVATE ${GLYPHROW_UNICORN_INCLUDE})
target_link_libraries(pe_run PRIVATE glyphrow_posix ${GLYPHROW_UNICORN})
add_dependencies(pe_run windows_build)
set(GLYPHROW_PE_RUN $<TARGET_FILE:pe_run>)
set(emulated_sample ${CMAKE_CURRENT_BINARY_DIR}/emulated-sample)
foreach(base "" 0x10000000)
  set(name preferred_base)
  if(base)
    set(name base_${base})
  endif()
  add_test(NAME emulated.sample_through_glyphrow_at_${name}
    COMMAND sh -c "mkdir -p \"$2\" && cp \"$3/sample-font.txt\" \"$2/$4.txt\" && \"$0\" \${5:+--base $5} \"$1\" \"$2/$4.txt\" \"$2/$4.bin\" && cmp \"$2/$4.bin\" \"$3/sample-font.bin\""
            ${GLYPHROW_PE_RUN} ${GLYPHROW_EXE} ${emulated_sample} ${PROJECT_SOURCE_DIR}/examples ${name} "${base}")
endforeach()
add_test(NAME emulated.stray_import_is_named
  COMMAND sh -c "\"$0\" \"$1\" 2>&1; echo \"status $?\"" ${GLYPHROW_PE_RUN} ${GLYPHROW_WINDOWS_DIR}/stray_import.exe)
set_tests_properties(emulated.stray_import_is_named PROPERTIES
  PASS_REGULAR_EXPRESSION "imports GetTickCount, not one of the KERNEL32 functions.*status 255")

# The black-box cases, for each way the exes run here: a name prefix, the
# word that runs an exe, and the launcher that hands a command line over
# verbatim (a second Windows process under Wine; the runner itself when
# emulated).
add_executable(blackbox_windows ${GLYPHROW_BLACKBOX_TESTS} blackbox_windows_test.cpp draw_windows_test.cpp)
target_link_libraries(blackbox_windows PRIVATE run_tool GTest::gtest_main)
if(GLYPHROW_EXE_WAY STREQUAL "wine")
  set(runner "${GLYPHROW_WINE}")
  set(launcher "${GLYPHROW_WINE}\",\"${GLYPHROW_WINDOWS_DIR}/launch.exe")
else()
  set(runner "${GLYPHROW_PE_RUN}")
  set(launcher "${GLYPHROW_PE_RUN}\",\"--verbatim")
endif()
target_compile_definitions(blackbox_windows PRIVATE
  TOOL_COMMAND="${runner}","${GLYPHROW_EXE}"
  DRAW_COMMAND="${runner}","${GLYPHROW_WINDOWS_DIR}/glyphdraw.exe"
  CHECK_COMMAND="${runner}","${GLYPHROW_WINDOWS_DIR}/glyphcheck.exe"
  PICK_COMMAND="${runner}","${GLYPHROW_WINDOWS_DIR}/glyphpick.exe"
  SHOW_COMMAND="${runner}","${GLYPHROW_WINDOWS_DIR}/glyphshow.exe"
  NATIVE_PICK_COMMAND="$<TARGET_FILE:glyphpick>"
  NATIVE_DRAW_COMMAND="$<TARGET_FILE:glyphdraw>"
  LAUNCH_COMMAND="${launcher}"
  TOOL_EXE="${GLYPHROW_EXE}"
  EXE_LINE_ENDS
  X11_FONTS="${GLYPHROW_X11_FONTS}"
  CONSOLE_FONTS="${GLYPHROW_CONSOLE_FONTS}"
  SAMPLE_DIR="${PROJECT_SOURCE_DIR}/examples")
add_dependencies(blackbox_windows windows_build glyphdraw glyphpick pe_run)

set(zip_test ${PROJECT_SOURCE_DIR}/tests/package_zip.sh ${GLYPHROW_WINDOWS_DIR} ${PROJECT_SOURCE_DIR})
if(NOT GLYPHROW_EXE_WAY STREQUAL "wine")
  gtest_discover_tests(blackbox_windows TEST_PREFIX "emulated." TEST_LIST blackbox_windows_emulated)
  add_test(NAME emulated.zip COMMAND ${zip_test} ${GLYPHROW_PE_RUN})
  # What only Wine can show, said and skipped; a skip doesn't fail the run.
  add_test(NAME win64.wow64_prefix COMMAND sh -c "echo \"skipped: $0\"; exit 77" "${GLYPHROW_EMULATED_SKIP_REASON}")
  set_tests_properties(win64.wow64_prefix PROPERTIES SKIP_RETURN_CODE 77)
  return()
endif()

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
add_test(NAME win32.zip COMMAND ${zip_test} ${GLYPHROW_WINE})
set_tests_properties(win32.zip PROPERTIES FIXTURES_REQUIRED wine_win32
  ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix-win32;WINEARCH=win32;WINEDEBUG=-all" RUN_SERIAL ON)
