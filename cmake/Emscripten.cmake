# Toolchain of the browser edition: Debian's Emscripten, and node to run what it builds.
#   cmake -S . -B build-web -DCMAKE_TOOLCHAIN_FILE=cmake/Emscripten.cmake ...
# Emscripten's linker runs its JavaScript optimiser under node, which finds its parser (acorn)
# only in Debian's node module folder; every link and every configure-time test gets that folder.
set(KORZENIK_NODE_PATH /usr/share/nodejs)
set(ENV{NODE_PATH} ${KORZENIK_NODE_PATH})
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=${KORZENIK_NODE_PATH})

# Programs built here run under node as they are (see web/CMakeLists.txt for their link options).
find_program(KORZENIK_NODE NAMES node nodejs REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${KORZENIK_NODE})

include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
