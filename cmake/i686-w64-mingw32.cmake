# Cross-compiling for 32-bit x86 Windows with Debian's mingw-w64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The host's flags are for the host's compiler and linker (a packager's
# hardening flags, say): the cross linker knows no -z, and a host's -g or
# unwind tables would grow the exes. None of them reach this build.
foreach(variable CFLAGS CXXFLAGS CPPFLAGS LDFLAGS RCFLAGS)
  unset(ENV{${variable}})
endforeach()
