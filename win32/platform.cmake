# The Windows edition's platform pieces, chosen before the shared libraries are defined (the
# top-level CMakeLists.txt includes this file first when building for Windows):
# - the sine and cosine of the C runtime DLL (see core/trigonometry.h);
# - stb_image_write for korzenik-script's pictures (Debian has no libpng built for mingw);
# - a replaceFile() over the Win32 calls;
# - what korzenik-script says in a console of its own (a double-click).
set(KORZENIK_TRIGONOMETRY ${CMAKE_CURRENT_LIST_DIR}/crt_trigonometry.cpp
    CACHE FILEPATH "Source of the sine and cosine of the function catalogue")
set(KORZENIK_PNG_ENCODER stb CACHE STRING "PNG encoder of korzenik-script: libpng or stb")
set(KORZENIK_FILE_REPLACE ${CMAKE_CURRENT_LIST_DIR}/file_replace.cpp
    CACHE FILEPATH "Source of replaceFile() for this platform")
set(KORZENIK_LONE_CONSOLE ${CMAKE_CURRENT_LIST_DIR}/lone_console.cpp
    CACHE FILEPATH "Source of explainToLoneConsole() for this platform")
