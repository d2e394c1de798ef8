# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix).
# The programs run here under Wine: CTest starts them through tests/win32/wine_run.sh, in a Wine
# prefix of the build tree's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${_mingw}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One executable with nothing to ship beside it: without -static the C++ runtime and
# libwinpthread-1.dll would have to travel with it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# The emulator is one program with no arguments (GoogleTest's test discovery takes no more), so
# a two-line script in the build tree names the prefix.
get_filename_component(_wine_run ${CMAKE_CURRENT_LIST_DIR}/../tests/win32/wine_run.sh ABSOLUTE)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/wine_run CONTENT
    "#!/bin/sh\nexec '${_wine_run}' '${CMAKE_BINARY_DIR}/wine' \"$@\"\n")
file(CHMOD ${CMAKE_BINARY_DIR}/wine_run FILE_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine_run)
